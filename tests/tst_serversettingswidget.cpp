#include "CServerClient.h"
#include "CServerSettingsWidget.h"
#include "MessageCapture.h"
#include "ModalAnswerer.h"
#include "TestHelpers.h"

#include <QtWidgets>

namespace {
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
        QVERIFY(log.contains(QStringLiteral("lastAuthInfo.token: ")));
        QCOMPARE(log.lines().filter(QStringLiteral("secret-token")).value(0), QString());
    }

    // An address Connect refuses: a warning, nothing stored.
    void refusedAddress()
    {
        ModalAnswerer boxes;
        boxes.answer(QMessageBox::Ok);
        connectWith(QStringLiteral("1.2.3.:8002"), QStringLiteral("refused"), QString(), true);
        QCOMPARE(boxes.titles(), QStringList{"Неверный IP адрес"});
        QCOMPARE(boxes.texts(), QStringList{"Указан неверный IP адрес"});
        QCOMPARE(stored(QStringLiteral("serverLogin")), QVariant());
        QCOMPARE(stored(QStringLiteral("rememberme")), QVariant());
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

    // Only a refused login empties the credentials; a connection that failed keeps them.
    void credentialsAfterAFailure_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("connection refused") << "Connection refused" << QStringList{"operator1", "secret"};
        QTest::newRow("login refused") << "invalid_login_or_password" << QStringList{"", ""};
    }

    void credentialsAfterAFailure()
    {
        QFETCH(QString, error);
        CServerSettingsWidget widget;
        part<QLineEdit>(widget, "userEdit")->setText(QStringLiteral("operator1"));
        part<QLineEdit>(widget, "passwordEdit")->setText(QStringLiteral("secret"));
        widget.changeStatusCon({false, QString(), QString(), error});
        QTEST(QStringList(credentialsShown(widget).mid(0, 2)), "shown");
    }

    // The server's error text is shown as it came, never interpreted as markup.
    void errorShownAsPlainText()
    {
        CServerSettingsWidget widget;
        auto* error = part<QLabel>(widget, "errorLabel");
        const QString text = QStringLiteral("<img src=x><b>refused</b>");
        widget.changeStatusCon({false, QString(), QString(), text});
        QVERIFY(!error->isHidden());
        QCOMPARE(error->text(), text);
        QCOMPARE(error->textFormat(), Qt::PlainText);
        widget.changeStatusCon({});
        QVERIFY(error->isHidden());
    }
};

QTEST_MAIN(TestServerSettingsWidget)
#include "tst_serversettingswidget.moc"
