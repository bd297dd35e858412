#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "MessageCapture.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

#include <algorithm>

namespace {
const QString errorStyle = QStringLiteral("color: rgb(255,0,0)");

template <typename T>
T* part(const QWidget& widget, const char* name) { return TestHelpers::child<T>(&widget, name); }

// What a widget shows of the credentials: user, password, remember-me.
QStringList credentialsShown(const CServerSettingsWidget& widget)
{
    return {part<QLineEdit>(widget, "userEdit")->text(), part<QLineEdit>(widget, "passwordEdit")->text(),
            part<QCheckBox>(widget, "remembermeCheck")->isChecked() ? "ticked" : "clear"};
}

void connectWith(const QString& address, const QString& user, const QString& password, bool remember)
{
    CServerSettingsWidget widget;
    part<QLineEdit>(widget, "addressEdit")->setText(address);
    part<QLineEdit>(widget, "userEdit")->setText(user);
    part<QLineEdit>(widget, "passwordEdit")->setText(password);
    part<QCheckBox>(widget, "remembermeCheck")->setChecked(remember);
    widget.login();
}

QVariant stored(const QString& key) { return QSettings(QStringLiteral("settings.cfg"), QSettings::IniFormat).value(key); }
} // namespace

class TestServerSettingsWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    void disconnectSendsOnlyWithLoginAndToken()
    {
        CServerClient* client = CServerClient::instance();
        QSignalSpy states(client, &CServerClient::clientStateChanged);
        CServerSettingsWidget widget;
        auto* disconnectButton = part<QPushButton>(widget, "disconnectButton");
        widget.changeStatusCon({false, QStringLiteral("secret-token")});
        disconnectButton->click();
        widget.changeStatusCon({true, QString()});
        disconnectButton->click();
        QCOMPARE(states.count(), 0);

        // Logged in with a token: the logout goes to the client, which cannot send it on a closed socket.
        MessageCapture log;
        widget.changeStatusCon({true, QStringLiteral("secret-token")});
        disconnectButton->click();
        QCOMPARE(client->clientState(), CServerClient::disconnectedFailed);
        QVERIFY(log.contains(QStringLiteral("lastAuthInfo.token: ")) && !log.contains(QStringLiteral("secret-token")));
    }

    void addressRules_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("fieldState");
        QTest::addColumn<bool>("connectAccepts");
        QTest::newRow("address and port") << "192.168.0.10:8002" << int(QValidator::Acceptable) << true;
        QTest::newRow("empty port") << "10.0.0.1:" << int(QValidator::Acceptable) << true;
        QTest::newRow("last number missing") << "1.2.3.:8002" << int(QValidator::Acceptable) << false;
        QTest::newRow("no colon") << "192.168.0.10" << int(QValidator::Intermediate) << false;
        QTest::newRow("host name") << "localhost:8002" << int(QValidator::Invalid) << false;
    }

    void addressRules()
    {
        QFETCH(QString, address);
        CServerSettingsWidget widget;
        int position = 0;
        QTEST(int(part<QLineEdit>(widget, "addressEdit")->validator()->validate(address, position)), "fieldState");
        QTEST(CServerSettingsWidget::addressAcceptable(address), "connectAccepts");
    }

    void userValidatorAndRefusedAddress()
    {
        CServerSettingsWidget widget;
        const QValidator* user = part<QLineEdit>(widget, "userEdit")->validator();
        int position = 0;
        QString text = QStringLiteral("Operator42");
        QCOMPARE(user->validate(text, position), QValidator::Acceptable);
        for (QString bad : {"op erator", "op_1", "оператор", "user@host"})
            QCOMPARE(user->validate(bad, position), QValidator::Invalid);

        // An address Connect refuses: a warning, nothing stored.
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        connectWith(QStringLiteral("1.2.3.:8002"), QStringLiteral("refused"), QString(), true);
        QCOMPARE(boxes.titles() + boxes.texts(), (QStringList{"Неверный IP адрес", "Указан неверный IP адрес"}));
        QVERIFY(!stored(QStringLiteral("serverLogin")).isValid() && !stored(QStringLiteral("rememberme")).isValid());
    }

    void rememberMe()
    {
        // Nothing listens on port 9: the attempt fails quietly.
        const QString password = QStringLiteral("pass word=Ж!");
        connectWith(QStringLiteral("127.0.0.1:9"), QStringLiteral("operator1"), password, true);
        QCOMPARE(stored(QStringLiteral("serverPassword")).toString(), password);
        QCOMPARE(credentialsShown(CServerSettingsWidget()), (QStringList{"operator1", password, "ticked"}));
        // Unticked: the next login forgets the credentials.
        connectWith(QStringLiteral("127.0.0.1:9"), QStringLiteral("operator1"), password, false);
        QCOMPARE(stored(QStringLiteral("serverLogin")).toString(), QString());
        QCOMPARE(stored(QStringLiteral("rememberme")).toBool(), false);
        QCOMPARE(credentialsShown(CServerSettingsWidget()), (QStringList{"", "", "clear"}));
    }

    void looksFollowResults()
    {
        CServerSettingsWidget widget;
        auto* status = part<QLabel>(widget, "statusText");
        auto* error = part<QLabel>(widget, "errorLabel");
        auto* connectButton = part<QPushButton>(widget, "connectButton");
        auto* user = part<QLineEdit>(widget, "userEdit");
        const QList<QWidget*> credentials = {part<QLabel>(widget, "userCaption"), part<QLabel>(widget, "passwordCaption"),
                                             user, part<QLineEdit>(widget, "passwordEdit")};

        // Logged in, reported through the parser.
        user->setText(QStringLiteral("operator1"));
        emit CMessageParser::instance()->authMsgResp({true, QStringLiteral("t1")});
        QCOMPARE(status->text(), QStringLiteral("Online:"));
        QCOMPARE(widget.statusIconPath(), QStringLiteral(":/icons/Zarvo_server_staus_online.png"));
        QVERIFY(!connectButton->isEnabled() && error->isHidden() && user->text().isEmpty());
        QVERIFY(std::all_of(credentials.begin(), credentials.end(), [](QWidget* w) { return w->isHidden(); }));

        // Refused credentials: red notice and red captions, fields back and empty.
        user->setText(QStringLiteral("operator1"));
        widget.changeStatusCon({false, QString(), QString(), QStringLiteral("invalid_login_or_password")});
        QCOMPARE(status->text(), QStringLiteral("Offline:"));
        QCOMPARE(widget.statusIconPath(), QStringLiteral(":/icons/Zarvo_server_staus_disconnected.png"));
        QVERIFY(connectButton->isEnabled() && !error->isHidden() && user->text().isEmpty());
        QCOMPARE(error->text(), QStringLiteral("invalid_login_or_password"));
        QVERIFY(std::none_of(credentials.begin(), credentials.end(), [](QWidget* w) { return w->isHidden(); }));
        QCOMPARE(credentials.at(0)->styleSheet() + error->styleSheet(), errorStyle + errorStyle);

        // Connection lost, reported by the client: the notice is red, the captions are not.
        emit CServerClient::instance()->hostError({false, QString(), QString(), QStringLiteral("Remote Host Closed Error")});
        QCOMPARE(error->text() + ' ' + error->styleSheet(), "Remote Host Closed Error " + errorStyle);
        QCOMPARE(credentials.at(0)->styleSheet(), QStringLiteral("color: rgb(0,0,0)"));

        // Not logged in and no error text: no notice at all.
        widget.changeStatusCon({});
        QVERIFY(error->isHidden() && connectButton->isEnabled());
    }
};

QTEST_MAIN(TestServerSettingsWidget)
#include "tst_serversettingswidget.moc"
