#include "CLeftPanel.h"
#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ProgramSettingsWidget.h"
#include "ProtocolKeys.h"
#include "ScannedDevices.h"
#include "senddatadialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace PK = ProtocolKeys;

// The file-name dialog and the send-data dialog, as the left panel opens them.
class TestDialogs : public QObject
{
    Q_OBJECT

private:
    // Runs `act` on the next modal dialog once it is up.
    static void onNextModal(std::function<void(QDialog*)> act)
    {
        auto* timer = new QTimer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->deleteLater();
            act(dialog);
        });
        timer->start();
    }

    static QLineEdit* edit(QWidget* parent, const char* name)
    {
        return parent->findChild<QLineEdit*>(QString::fromLatin1(name));
    }

    static void press(QDialog* dialog, QDialogButtonBox::StandardButton which)
    {
        dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    }

private slots:
    void initTestCase()
    {
        QFile::remove(QStringLiteral("settings.cfg"));
        CSettings::instance(qApp);
        ScannedDevices::instance(qApp);
        CServerClient::instance(QStringLiteral("ws://"), qApp);
        CMessageParser::instance(qApp);
        CSettings::ensureDefaults();
    }

    void settingsDialogShowsNamesInUse()
    {
        CLeftPanel panel;
        // Edited by hand after the names were loaded: the dialog shows the names in use.
        CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Edited.txt"));
        ProgramSettingsWidget dialog(&panel);
        QCOMPARE(edit(&dialog, "devicesEdit")->text(), QStringLiteral("Devices.txt"));
        QCOMPARE(edit(&dialog, "requestsEdit")->text(), QStringLiteral("Zapros.txt"));
        QCOMPARE(edit(&dialog, "responsesEdit")->text(), QStringLiteral("Otvet.txt"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Настройки программы"));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    }

    void settingsDialogOkStoresAsTyped()
    {
        CLeftPanel panel;
        onNextModal([](QDialog* dialog) {
            edit(dialog, "devicesEdit")->setText(QStringLiteral("shift2/Devices.txt"));
            edit(dialog, "requestsEdit")->clear();
            press(dialog, QDialogButtonBox::Ok);
        });
        panel.changeProgramSettings();

        QCOMPARE(CSettings::readValue(CSettings::requestsFileName, QVariant()), QVariant(QString()));
        QCOMPARE(currentRequestsFileName, QString());
        QCOMPARE(currentDevicesFileName, QStringLiteral("shift2/Devices.txt"));
        QCOMPARE(currentResponsesFileName, QStringLiteral("Otvet.txt"));
        // The dialog is gone once the slot returns.
        QVERIFY(!panel.findChild<ProgramSettingsWidget*>());
    }

    void settingsDialogCancelStoresNothing()
    {
        CLeftPanel panel;
        const QString before = currentDevicesFileName;
        onNextModal([](QDialog* dialog) {
            edit(dialog, "devicesEdit")->setText(QStringLiteral("never.txt"));
            press(dialog, QDialogButtonBox::Cancel);
        });
        panel.changeProgramSettings();
        QCOMPARE(currentDevicesFileName, before);
        QCOMPARE(CSettings::readValue(CSettings::devicesFileName, QVariant()).toString(), before);
    }

    void sendButtonKeepsOneDialog()
    {
        currentLastSendEui = QStringLiteral("0011223344556677");
        CLeftPanel panel;
        auto* button = panel.findChild<QPushButton*>(QStringLiteral("sendButton"));
        button->click();
        SendDataDialog* first = panel.sendDataDialog();
        QVERIFY(first);
        QCOMPARE(edit(first, "devEuiEdit")->text(), currentLastSendEui);
        QCOMPARE(edit(first, "portEdit")->text(), QStringLiteral("02"));
        edit(first, "dataEdit")->setText(QStringLiteral("A1B2"));
        first->hide();
        button->click();
        QCOMPARE(panel.sendDataDialog(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(edit(first, "dataEdit")->text(), QStringLiteral("A1B2"));
    }

    // Not logged in: nothing goes out, but the EUI typed is remembered.
    void sendDataStoresLastEui()
    {
        QVERIFY(!CServerClient::instance()->isReady());
        currentLastSendEui.clear();
        SendDataDialog dialog;
        dialog.show();
        edit(&dialog, "devEuiEdit")->setText(QStringLiteral("8899AABBCCDDEEFF"));
        dialog.sendData();
        QCOMPARE(CSettings::readValue(CSettings::lastSendEui, QVariant()).toString(),
                 QStringLiteral("8899AABBCCDDEEFF"));
        QCOMPARE(currentLastSendEui, QStringLiteral("8899AABBCCDDEEFF"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    }

    void okSendsTheRequest()
    {
        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        SendDataDialog dialog;
        edit(&dialog, "devEuiEdit")->setText(QStringLiteral("0011223344556677"));
        edit(&dialog, "dataEdit")->setText(QStringLiteral("0102"));
        edit(&dialog, "portEdit")->setText(QStringLiteral("10"));
        dialog.findChild<QCheckBox*>(QStringLiteral("ackCheck"))->setChecked(true);
        press(&dialog, QDialogButtonBox::Ok);

        const QJsonObject request = server.waitForMessage(PK::sendDataReq);
        const QJsonObject item = request.value(PK::dataList).toArray().first().toObject();
        QCOMPARE(item.value(PK::devEui).toString(), QStringLiteral("0011223344556677"));
        QCOMPARE(item.value(PK::data).toString(), QStringLiteral("0102"));
        QCOMPARE(item.value(PK::port).toInt(), 10);
        QCOMPARE(item.value(PK::ack).toBool(), true);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
