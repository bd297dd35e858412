#include "CMessageParser.h"
#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "CSettings.h"
#include "MessageCapture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QValidator>
#include <QtTest>

namespace {

const QString errorStyle = QStringLiteral("color: rgb(255,0,0)");
const QString normalStyle = QStringLiteral("color: rgb(0,0,0)");

template <typename T>
T* part(const QWidget& widget, const char* name)
{
    T* child = widget.findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("the widget has no %s", name);
    return child;
}

CloraAuthResp result(bool status, const QString& token, const QString& error)
{
    return CloraAuthResp{status, token, QString(), error};
}

// What a widget shows of the credentials: user, password, remember-me.
QStringList credentialsShown(const CServerSettingsWidget& widget)
{
    return {part<QLineEdit>(widget, "userEdit")->text(), part<QLineEdit>(widget, "passwordEdit")->text(),
            part<QCheckBox>(widget, "remembermeCheck")->isChecked() ? "ticked" : "clear"};
}

void connectWith(const QString& user, const QString& password, bool remember)
{
    CServerSettingsWidget widget;
    // Nothing listens there: the attempt fails quietly on this machine.
    part<QLineEdit>(widget, "addressEdit")->setText(QStringLiteral("127.0.0.1:9"));
    part<QLineEdit>(widget, "userEdit")->setText(user);
    part<QLineEdit>(widget, "passwordEdit")->setText(password);
    part<QCheckBox>(widget, "remembermeCheck")->setChecked(remember);
    widget.login();
}

// Closes the next modal box from inside its own event loop; *said gets its title and text.
void closeNextBox(QStringList* said, int attempts = 200)
{
    QTimer::singleShot(10, [said, attempts] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            *said = QStringList{box->windowTitle(), box->text()};
            box->close();
        } else if (attempts > 0) {
            closeNextBox(said, attempts - 1);
        }
    });
}

QVariant storedValue(const QString& key)
{
    return QSettings(QStringLiteral("settings.cfg"), QSettings::IniFormat).value(key);
}

} // namespace

class TestServerSettingsWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void disconnect_sendsOnlyWithLoginAndToken();
    void addressRules_data();
    void addressRules();
    void credentialFieldsValidation();
    void refusedAddress_warnsAndStoresNothing();
    void rememberMe_storedAndShownByNextWidget();
    void looks_followResults();
};

void TestServerSettingsWidget::initTestCase()
{
    qRegisterMetaType<CloraAuthResp>();
    QFile::remove(QStringLiteral("settings.cfg"));
    QVERIFY(CSettings::instance(qApp));
    CServerClient::instance(QStringLiteral("ws://"), qApp);
    CMessageParser::instance(qApp);
}

void TestServerSettingsWidget::disconnect_sendsOnlyWithLoginAndToken()
{
    CServerClient* client = CServerClient::instance();
    QCOMPARE(client->clientState(), CServerClient::unknown);
    QSignalSpy states(client, &CServerClient::clientStateChanged);
    CServerSettingsWidget widget;
    auto* disconnectButton = part<QPushButton>(widget, "disconnectButton");

    widget.changeStatusCon(result(false, QStringLiteral("secret-token"), QString()));
    disconnectButton->click();
    widget.changeStatusCon(result(true, QString(), QString()));
    disconnectButton->click();
    QCOMPARE(states.count(), 0);
    QCOMPARE(client->clientState(), CServerClient::unknown);

    // Logged in with a token: the logout request goes to the client, which
    // cannot send it on a closed socket.
    MessageCapture log;
    widget.changeStatusCon(result(true, QStringLiteral("secret-token"), QString()));
    disconnectButton->click();
    QCOMPARE(client->clientState(), CServerClient::disconnectedFailed);
    QVERIFY(log.contains(QStringLiteral("lastAuthInfo.status: ")));
    QVERIFY(log.contains(QStringLiteral("lastAuthInfo.token: ")));
    QVERIFY(!log.contains(QStringLiteral("secret-token")));
}

void TestServerSettingsWidget::addressRules_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("fieldState");
    QTest::addColumn<bool>("connectAccepts");

    QTest::newRow("address and port") << "192.168.0.10:8002" << int(QValidator::Acceptable) << true;
    QTest::newRow("five-digit port") << "1.2.3.4:65535" << int(QValidator::Acceptable) << true;
    QTest::newRow("empty port") << "10.0.0.1:" << int(QValidator::Acceptable) << true;
    QTest::newRow("last number missing") << "1.2.3.:8002" << int(QValidator::Acceptable) << false;
    QTest::newRow("no colon") << "192.168.0.10" << int(QValidator::Intermediate) << false;
    QTest::newRow("host name") << "localhost:8002" << int(QValidator::Invalid) << false;
    QTest::newRow("empty") << "" << int(QValidator::Intermediate) << false;
}

void TestServerSettingsWidget::addressRules()
{
    QFETCH(QString, address);
    CServerSettingsWidget widget;
    const QValidator* validator = part<QLineEdit>(widget, "addressEdit")->validator();
    QVERIFY(validator);
    int position = 0;
    QTEST(int(validator->validate(address, position)), "fieldState");
    QTEST(CServerSettingsWidget::addressAcceptable(address), "connectAccepts");
}

void TestServerSettingsWidget::credentialFieldsValidation()
{
    CServerSettingsWidget widget;
    const QValidator* user = part<QLineEdit>(widget, "userEdit")->validator();
    int position = 0;
    QString text = QStringLiteral("Operator42");
    QCOMPARE(user->validate(text, position), QValidator::Acceptable);
    for (QString bad : {"op erator", "op_1", "оператор", "user@host"})
        QCOMPARE(user->validate(bad, position), QValidator::Invalid);
    QVERIFY(!part<QLineEdit>(widget, "passwordEdit")->validator());
}

void TestServerSettingsWidget::refusedAddress_warnsAndStoresNothing()
{
    CServerSettingsWidget widget;
    part<QCheckBox>(widget, "remembermeCheck")->setChecked(true);
    part<QLineEdit>(widget, "userEdit")->setText(QStringLiteral("refused"));

    for (const QString& address : {QStringLiteral("1.2.3.:8002"), QStringLiteral("localhost:8002")}) {
        part<QLineEdit>(widget, "addressEdit")->setText(address);
        MessageCapture log;
        QStringList said;
        closeNextBox(&said);
        widget.login();
        QCOMPARE(said, (QStringList{"Неверный IP адрес", "Указан неверный IP адрес"}));
        QVERIFY(log.contains(QStringLiteral("Missing IP")));
        QVERIFY(!storedValue(QStringLiteral("serverLogin")).isValid());
        QVERIFY(!storedValue(QStringLiteral("rememberme")).isValid());
    }
}

void TestServerSettingsWidget::rememberMe_storedAndShownByNextWidget()
{
    const QString password = QStringLiteral("pass word=Ж!");
    connectWith(QStringLiteral("operator1"), password, true);
    QCOMPARE(storedValue(QStringLiteral("serverLogin")).toString(), QStringLiteral("operator1"));
    QCOMPARE(storedValue(QStringLiteral("serverPassword")).toString(), password);
    QCOMPARE(storedValue(QStringLiteral("rememberme")).toBool(), true);
    QCOMPARE(credentialsShown(CServerSettingsWidget()), (QStringList{"operator1", password, "ticked"}));

    // Unticked: the next login forgets the credentials.
    connectWith(QStringLiteral("operator1"), password, false);
    QCOMPARE(storedValue(QStringLiteral("serverLogin")).toString(), QString());
    QCOMPARE(storedValue(QStringLiteral("serverPassword")).toString(), QString());
    QCOMPARE(storedValue(QStringLiteral("rememberme")).toBool(), false);
    QCOMPARE(credentialsShown(CServerSettingsWidget()), (QStringList{"", "", "clear"}));
}

void TestServerSettingsWidget::looks_followResults()
{
    CServerSettingsWidget widget;
    auto* status = part<QLabel>(widget, "statusText");
    auto* error = part<QLabel>(widget, "errorLabel");
    auto* connectButton = part<QPushButton>(widget, "connectButton");
    auto* userCaption = part<QLabel>(widget, "userCaption");
    auto* passwordCaption = part<QLabel>(widget, "passwordCaption");
    auto* user = part<QLineEdit>(widget, "userEdit");
    auto* password = part<QLineEdit>(widget, "passwordEdit");
    const QList<QWidget*> credentials = {userCaption, passwordCaption, user, password};

    QCOMPARE(status->text(), QStringLiteral("Null:"));
    QCOMPARE(widget.statusIconPath(), QStringLiteral(":/icons/Zarvo_server_staus_offline.png"));
    QVERIFY(connectButton->isEnabled() && error->isHidden());

    // Logged in, reported through the parser.
    user->setText(QStringLiteral("operator1"));
    emit CMessageParser::instance()->authMsgResp(result(true, QStringLiteral("t1"), QString()));
    QCOMPARE(status->text(), QStringLiteral("Online:"));
    QCOMPARE(widget.statusIconPath(), QStringLiteral(":/icons/Zarvo_server_staus_online.png"));
    QVERIFY(!connectButton->isEnabled() && error->isHidden() && user->text().isEmpty());
    for (QWidget* w : credentials)
        QVERIFY(w->isHidden());

    // Refused credentials: red notice and red captions, fields back and empty.
    user->setText(QStringLiteral("operator1"));
    widget.changeStatusCon(result(false, QString(), QStringLiteral("invalid_login_or_password")));
    QCOMPARE(status->text(), QStringLiteral("Offline:"));
    QCOMPARE(widget.statusIconPath(), QStringLiteral(":/icons/Zarvo_server_staus_disconnected.png"));
    QVERIFY(connectButton->isEnabled() && !error->isHidden() && user->text().isEmpty());
    for (QWidget* w : credentials)
        QVERIFY(!w->isHidden());
    QCOMPARE(error->text(), QStringLiteral("invalid_login_or_password"));
    for (QWidget* w : QList<QWidget*>{error, userCaption, passwordCaption})
        QCOMPARE(w->styleSheet(), errorStyle);

    // Connection lost, reported by the client: the notice is red, the captions are not.
    emit CServerClient::instance()->hostError(result(false, QString(), QStringLiteral("Remote Host Closed Error")));
    QCOMPARE(error->text(), QStringLiteral("Remote Host Closed Error"));
    QVERIFY(!error->isHidden());
    QCOMPARE(error->styleSheet(), errorStyle);
    QCOMPARE(userCaption->styleSheet(), normalStyle);

    // Not logged in and no error text: no notice at all.
    widget.changeStatusCon(result(false, QString(), QString()));
    QCOMPARE(status->text(), QStringLiteral("Offline:"));
    QVERIFY(error->isHidden() && connectButton->isEnabled());
}

QTEST_MAIN(TestServerSettingsWidget)
#include "tst_serversettingswidget.moc"
