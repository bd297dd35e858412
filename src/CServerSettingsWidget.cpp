#include "CServerSettingsWidget.h"

#include "CMessageParser.h"
#include "CServerClient.h"
#include "CSettings.h"
#include "Diagnostics.h"
#include "WidgetLayouts.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

// What the field lets the operator type: four dotted numbers, a colon, a port.
const QString addressPattern = QStringLiteral("([0-9]([0-9]{0,2}[.])){3}[0-9]{0,3}[:][0-9]{0,5}");
// What Connect needs: the last number must be there, the port may be empty.
const QString addressCheckPattern = QStringLiteral("([0-9]([0-9]{0,2}[.])){3}[0-9]{1,3}[:][0-9]{0,4}");
const QString userPattern = QStringLiteral("[A-Za-z\\d]*");

const QString badCredentials = QStringLiteral("invalid_login_or_password");
const QString errorStyle = QStringLiteral("color: rgb(255,0,0)");
const QString normalStyle = QStringLiteral("color: rgb(0,0,0)");

const QString iconOffline = QStringLiteral(":/icons/Zarvo_server_staus_offline.png");
const QString iconDisconnected = QStringLiteral(":/icons/Zarvo_server_staus_disconnected.png");
const QString iconOnline = QStringLiteral(":/icons/Zarvo_server_staus_online.png");

} // namespace

CServerSettingsWidget::CServerSettingsWidget(QWidget* parent)
    : QWidget(parent)
{
    auto* mainLayout = new QVBoxLayout(this);
    mainLayout->setContentsMargins(3, 3, 3, 3);
    mainLayout->setSpacing(2);

    QHBoxLayout* statusRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_statusCaption = new QLabel(tr("Статус :"), this);
    m_statusCaption->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    m_statusText = new QLabel(QStringLiteral("Null:"), this);
    m_statusText->setObjectName(QStringLiteral("statusText"));
    m_statusIcon = new QLabel(this);
    m_statusIcon->setObjectName(QStringLiteral("statusIcon"));
    m_statusIcon->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Minimum);
    setStatusIcon(iconOffline);
    statusRow->addWidget(m_statusCaption, 1);
    statusRow->addWidget(m_statusText, 1, Qt::AlignRight);
    statusRow->addWidget(m_statusIcon, 2);

    QHBoxLayout* errorRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("errorLabel"));
    m_errorLabel->setTextFormat(Qt::PlainText);  // the text comes from the server
    m_errorLabel->hide();
    errorRow->addWidget(m_errorLabel);

    QHBoxLayout* addressRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_addressCaption = new QLabel(tr("IP:"), this);
    m_addressEdit = new QLineEdit(CSettings::readValue(CSettings::serverIpPort, QString()).toString(), this);
    m_addressEdit->setObjectName(QStringLiteral("addressEdit"));
    m_addressEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(addressPattern), m_addressEdit));
    m_addressEdit->setPlaceholderText(tr("example input -> 127.0.0.1:XXXXX"));
    addressRow->addWidget(m_addressCaption);
    addressRow->addWidget(m_addressEdit);

    QHBoxLayout* userRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_userCaption = new QLabel(tr("Пользователь:"), this);
    m_userCaption->setObjectName(QStringLiteral("userCaption"));
    m_userEdit = new QLineEdit(CSettings::readValue(CSettings::serverLogin, QString()).toString(), this);
    m_userEdit->setObjectName(QStringLiteral("userEdit"));
    m_userEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(userPattern), m_userEdit));
    userRow->addWidget(m_userCaption);
    userRow->addWidget(m_userEdit);

    QHBoxLayout* passwordRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_passwordCaption = new QLabel(tr("Пароль:"), this);
    m_passwordCaption->setObjectName(QStringLiteral("passwordCaption"));
    m_passwordEdit = new QLineEdit(CSettings::readValue(CSettings::serverPassword, QString()).toString(), this);
    m_passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    passwordRow->addWidget(m_passwordCaption);
    passwordRow->addWidget(m_passwordEdit);

    QHBoxLayout* rememberRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_rememberCheck = new QCheckBox(tr("Запомнить логин и пароль"), this);
    m_rememberCheck->setObjectName(QStringLiteral("remembermeCheck"));
    m_rememberCheck->setChecked(CSettings::readValue(CSettings::rememberme, false).toBool());
    rememberRow->addWidget(m_rememberCheck);

    QHBoxLayout* buttonRow = WIDGET::prepareInnerHLayout(mainLayout);
    m_disconnectButton = new QPushButton(tr("&Отключиться"), this);
    m_disconnectButton->setObjectName(QStringLiteral("disconnectButton"));
    m_disconnectButton->setFixedWidth(100);
    m_disconnectButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    m_connectButton = new QPushButton(tr("&Подключиться"), this);
    m_connectButton->setObjectName(QStringLiteral("connectButton"));
    buttonRow->addWidget(m_disconnectButton);
    buttonRow->addWidget(m_connectButton);

    connect(m_connectButton, &QPushButton::clicked, this, &CServerSettingsWidget::login);
    connect(m_disconnectButton, &QPushButton::clicked, this, &CServerSettingsWidget::logout);
    connect(CMessageParser::instance(), &CMessageParser::authMsgResp,
            this, &CServerSettingsWidget::changeStatusCon);
    connect(CServerClient::instance(), &CServerClient::hostError,
            this, &CServerSettingsWidget::changeStatusCon);
}

bool CServerSettingsWidget::addressAcceptable(const QString& address)
{
    static const QRegularExpression check(addressCheckPattern);
    return check.match(address).hasMatch();
}

void CServerSettingsWidget::login()
{
    if (!addressAcceptable(m_addressEdit->text())) {
        DIAG() << "Missing IP";
        QMessageBox box(QMessageBox::Warning, tr("Неверный IP адрес"), tr("Указан неверный IP адрес"),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("badAddressBox"));
        box.exec();
        return;
    }

    m_authReq.address = m_addressEdit->text();
    m_authReq.login = m_userEdit->text();
    m_authReq.password = m_passwordEdit->text();

    const bool remember = m_rememberCheck->isChecked();
    CSettings::writeValue(CSettings::serverLogin, remember ? m_authReq.login : QString());
    CSettings::writeValue(CSettings::serverPassword, remember ? m_authReq.password : QString());
    CSettings::writeValue(CSettings::rememberme, remember);

    CServerClient::instance()->openWebSoket(m_authReq);
}

void CServerSettingsWidget::logout()
{
    // The token is the key to the session: only its length goes to the trace.
    qDebug() << "lastAuthInfo.status: " << lastAuthInfo.status;
    qDebug().noquote() << "lastAuthInfo.token: " << Diagnostics::masked(lastAuthInfo.token);

    if (lastAuthInfo.status && !lastAuthInfo.token.isEmpty())
        CServerClient::instance()->logOut(lastAuthInfo.token);
    else
        CServerClient::instance()->abandonLogin();
}

void CServerSettingsWidget::changeStatusCon(CloraAuthResp newInfo)
{
    lastAuthInfo = newInfo;

    if (!lastAuthInfo.status) {
        // Only a refused login asks for the credentials again; a connection
        // that failed says nothing against what the operator typed.
        const QString user = m_userEdit->text();
        const QString password = m_passwordEdit->text();
        statusClear();
        if (lastAuthInfo.errString != badCredentials) {
            m_userEdit->setText(user);
            m_passwordEdit->setText(password);
        }
        DIAG() << "сброс виджета";
        if (!lastAuthInfo.errString.isEmpty()) {
            m_errorLabel->setText(lastAuthInfo.errString);
            m_errorLabel->setStyleSheet(errorStyle);
            m_errorLabel->show();
            if (lastAuthInfo.errString == badCredentials) {
                m_userCaption->setStyleSheet(errorStyle);
                m_passwordCaption->setStyleSheet(errorStyle);
            }
        }
        m_statusText->setText(QStringLiteral("Offline:"));
        setStatusIcon(iconDisconnected);
        m_connectButton->setEnabled(true);
    } else {
        DIAG() << "true";
        m_statusText->setText(QStringLiteral("Online:"));
        setStatusIcon(iconOnline);
        m_connectButton->setEnabled(false);
        statusClear();
        m_userCaption->hide();
        m_userEdit->hide();
        m_passwordCaption->hide();
        m_passwordEdit->hide();
    }

    DIAG() << QStringLiteral("Нет ошибок? ->") + lastAuthInfo.errString;
}

void CServerSettingsWidget::statusClear()
{
    m_userEdit->clear();
    m_passwordEdit->clear();
    for (QWidget* widget : {static_cast<QWidget*>(m_userEdit), static_cast<QWidget*>(m_passwordEdit),
                            static_cast<QWidget*>(m_userCaption), static_cast<QWidget*>(m_passwordCaption)}) {
        widget->setStyleSheet(normalStyle);
        widget->show();
    }
    m_errorLabel->clear();
    m_errorLabel->hide();
    m_errorLabel->setStyleSheet(normalStyle);
}

void CServerSettingsWidget::setStatusIcon(const QString& path)
{
    m_iconPath = path;
    m_statusIcon->setPixmap(QPixmap(path));
}
