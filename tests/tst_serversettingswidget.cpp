#include "CServerSettingsWidget.h"
#include "MessageCapture.h"
#include "TestHelpers.h"

#include <QtWidgets>

namespace {
template <typename T>
T* part(const QWidget& widget, const char* name) { return TestHelpers::child<T>(&widget, name); }

void connectWith(const QString& address, const QString& user, const QString& password, bool remember)
{
    CServerSettingsWidget widget;
    part<QLineEdit>(widget, "addressEdit")->setText(address);
    part<QLineEdit>(widget, "userEdit")->setText(user);
    part<QLineEdit>(widget, "passwordEdit")->setText(password);
    part<QCheckBox>(widget, "remembermeCheck")->setChecked(remember);
    widget.login();
}

QVariant stored(const char* key) { return QSettings("settings.cfg", QSettings::IniFormat).value(key); }
} // namespace

class TestServerSettingsWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestHelpers::startProgramObjects(); }

    // Connect stores the credentials only to remember them; the next widget
    // shows what was stored, and the password read back never reaches the
    // debug stream. Nothing listens on port 9: the attempts fail quietly.
    void connectStoresCredentials()
    {
        const QString password = QStringLiteral("pass word=Ж!");
        connectWith(QStringLiteral("127.0.0.1:9"), QStringLiteral("operator1"), password, true);
        MessageCapture capture;
        const CServerSettingsWidget remembered;
        QCOMPARE(capture.lines().filter(QStringLiteral("pass word")).value(0), QString());
        QCOMPARE(part<QLineEdit>(remembered, "userEdit")->text(), QStringLiteral("operator1"));
        QCOMPARE(part<QLineEdit>(remembered, "passwordEdit")->text(), password);
        QCOMPARE(part<QCheckBox>(remembered, "remembermeCheck")->isChecked(), true);

        // Unticked: the next login forgets them.
        connectWith(QStringLiteral("127.0.0.1:9"), QStringLiteral("operator1"), password, false);
        QCOMPARE(stored("serverLogin").toString(), QString());
        QCOMPARE(stored("rememberme").toBool(), false);
    }

    // Only a refused login empties the credentials; a connection that failed
    // keeps them. The error is shown as it came, never interpreted as markup.
    void failureShown_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("user");   // shown afterwards
        QTest::addColumn<QString>("password");
        QTest::newRow("connection refused") << "<img src=x>Connection refused" << "operator1" << "secret";
        QTest::newRow("login refused") << "invalid_login_or_password" << "" << "";
    }

    void failureShown()
    {
        QFETCH(QString, error);
        CServerSettingsWidget widget;
        part<QLineEdit>(widget, "userEdit")->setText(QStringLiteral("operator1"));
        part<QLineEdit>(widget, "passwordEdit")->setText(QStringLiteral("secret"));
        widget.changeStatusCon({false, QString(), QString(), error});
        QTEST(part<QLineEdit>(widget, "userEdit")->text(), "user");
        QTEST(part<QLineEdit>(widget, "passwordEdit")->text(), "password");
        auto* label = part<QLabel>(widget, "errorLabel");
        QCOMPARE(label->isHidden(), false);
        QCOMPARE(label->text(), error);
        QCOMPARE(label->textFormat(), Qt::PlainText);
    }
};

QTEST_MAIN(TestServerSettingsWidget)
#include "tst_serversettingswidget.moc"
