// The file-name dialog and the send-data dialog of the left panel.

#include "CServerClient.h"
#include "CSettings.h"
#include "FakeServer.h"
#include "ProgramSettingsWidget.h"
#include "TestHelpers.h"
#include "senddatadialog.h"

#include <QtWidgets>

namespace {
QLineEdit* edit(QWidget* parent, const char* name) { return TestHelpers::child<QLineEdit>(parent, name); }

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // The file-name dialog shows the names in use, also when the file was
    // edited since they were loaded; accepted, it stores and uses the names.
    void fileNamesDialog()
    {
        CSettings::writeValue(CSettings::devicesFileName, QStringLiteral("Edited.txt"));
        ProgramSettingsWidget dialog;
        QCOMPARE(edit(&dialog, "devicesEdit")->text(), QStringLiteral("Devices.txt"));
        edit(&dialog, "devicesEdit")->setText(QStringLiteral("shift2/Devices.txt"));
        edit(&dialog, "requestsEdit")->clear();
        dialog.writeSettings();
        QCOMPARE(currentDevicesFileName, QStringLiteral("shift2/Devices.txt"));
        QCOMPARE(currentRequestsFileName, QString());
        QCOMPARE(currentResponsesFileName, QStringLiteral("Otvet.txt"));
    }

    // OK sends what was typed, as typed, and remembers the DevEUI for next time.
    void sendDataDialog()
    {
        FakeServer server;
        QVERIFY(server.loginClient(CServerClient::instance()));
        const QString devEui = QStringLiteral("8899AABBCCDDEEFF");
        SendDataDialog dialog;
        edit(&dialog, "devEuiEdit")->setText(devEui);
        edit(&dialog, "dataEdit")->setText(QStringLiteral("0102"));
        edit(&dialog, "portEdit")->setText(QStringLiteral("10"));
        dialog.findChild<QCheckBox*>(QStringLiteral("ackCheck"))->setChecked(true);
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        const QJsonObject item = server.waitForMessage(PK::sendDataReq).value(PK::dataList)[0].toObject();
        QCOMPARE(item.value(PK::devEui).toString(), devEui);
        QCOMPARE(item.value(PK::data).toString(), QStringLiteral("0102"));
        QCOMPARE(item.value(PK::port).toInt(), 10);
        QCOMPARE(item.value(PK::ack).toBool(), true);
        QCOMPARE(SendDataDialog().findChild<QLineEdit*>(QStringLiteral("devEuiEdit"))->text(), devEui);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
