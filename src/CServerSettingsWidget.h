#pragma once

#include "LoraRecords.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The login block of the left panel: server address, user and password,
// Connect/Disconnect, and the login status as the last result reported it.
// Its look changes only when a result arrives (authMsgResp or hostError).
class CServerSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CServerSettingsWidget(QWidget* parent = nullptr);

    // The check Connect applies to the address field's text; found anywhere in it.
    static bool addressAcceptable(const QString& address);

    QString statusIconPath() const { return m_iconPath; }

signals:
    // Relayed by the left panel; nothing emits it.
    void onlineState();

public slots:
    void login();
    void logout();
    void changeStatusCon(CloraAuthResp newInfo);
    void statusClear();

private:
    void setStatusIcon(const QString& path);

    CLoraAuthReq m_authReq;
    CloraAuthResp lastAuthInfo;
    QString m_iconPath;

    QLabel* m_statusCaption = nullptr;
    QLabel* m_statusText = nullptr;
    QLabel* m_statusIcon = nullptr;
    QLabel* m_errorLabel = nullptr;
    QLabel* m_addressCaption = nullptr;
    QLineEdit* m_addressEdit = nullptr;
    QLabel* m_userCaption = nullptr;
    QLineEdit* m_userEdit = nullptr;
    QLabel* m_passwordCaption = nullptr;
    QLineEdit* m_passwordEdit = nullptr;
    QCheckBox* m_rememberCheck = nullptr;
    QPushButton* m_disconnectButton = nullptr;
    QPushButton* m_connectButton = nullptr;
};
