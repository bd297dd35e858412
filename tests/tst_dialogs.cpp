// The file-name dialog and the send-data dialog, as the left panel opens them.

#include "CLeftPanel.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ProgramSettingsWidget.h"
#include "TestHelpers.h"
#include "senddatadialog.h"

#include <QtWidgets>

namespace {
QLineEdit* edit(QWidget* parent, const char* name) { return TestHelpers::child<QLineEdit>(parent, name); }

// Types into the next modal dialog once it is up, then presses the button.
void answerNextDialog(const QString& devices, QDialogButtonBox::StandardButton button)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            edit(dialog, "devicesEdit")->setText(devices);
            edit(dialog, "requestsEdit")->clear();
            dialog->findChild<QDialogButtonBox*>()->button(button)->click();
        }
    });
    timer->start(10);
}
} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    void settingsDialog()
    {
        CLeftPanel panel;
        // Edited by hand after the names were loaded: the dialog shows the names in use.
        CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Edited.txt"));
        answerNextDialog(QStringLiteral("never.txt"), QDialogButtonBox::Cancel);
        panel.changeProgramSettings();
        QCOMPARE(currentDevicesFileName, QStringLiteral("Devices.txt"));
        QCOMPARE(CSettings::readValue(CSettings::requestsFileName, QVariant()).toString(), QStringLiteral("Zapros.txt"));
        {
            ProgramSettingsWidget dialog(&panel);
            QCOMPARE(edit(&dialog, "devicesEdit")->text(), QStringLiteral("Devices.txt"));
        }

        answerNextDialog(QStringLiteral("shift2/Devices.txt"), QDialogButtonBox::Ok);
        panel.changeProgramSettings();
        QCOMPARE(CSettings::readValue(CSettings::requestsFileName, QVariant()), QVariant(QString()));
        QCOMPARE(currentDevicesFileName, QStringLiteral("shift2/Devices.txt"));
        QCOMPARE(currentRequestsFileName, QString());
        QCOMPARE(currentResponsesFileName, QStringLiteral("Otvet.txt"));
        QVERIFY(!panel.findChild<ProgramSettingsWidget*>());   // gone once the slot returns
    }

    void sendDataStoresEuiAndSends()
    {
        SendDataDialog dialog;
        dialog.show();
        edit(&dialog, "devEuiEdit")->setText(QStringLiteral("8899AABBCCDDEEFF"));
        dialog.sendData();   // not logged in: nothing goes out, the EUI is remembered
        QCOMPARE(CSettings::readValue(CSettings::lastSendEui, QVariant()).toString(), QStringLiteral("8899AABBCCDDEEFF"));
        QCOMPARE(currentLastSendEui, QStringLiteral("8899AABBCCDDEEFF"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());

        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        edit(&dialog, "dataEdit")->setText(QStringLiteral("0102"));
        edit(&dialog, "portEdit")->setText(QStringLiteral("10"));
        dialog.findChild<QCheckBox*>(QStringLiteral("ackCheck"))->setChecked(true);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        const QJsonObject item = server.waitForMessage(PK::sendDataReq).value(PK::dataList)[0].toObject();
        QCOMPARE(TestHelpers::compact(item),
                 TestHelpers::compact({{PK::devEui, "8899AABBCCDDEEFF"}, {PK::data, "0102"}, {PK::port, 10}, {PK::ack, true}}));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
