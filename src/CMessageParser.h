#pragma once

#include "LoraRecords.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QSet>

// Validates every text message of the server, dispatches it by "cmd" and turns
// the answers into records and signals; builds the outgoing requests.
class CMessageParser : public QObject
{
    Q_OBJECT

public:
    static CMessageParser* instance(QObject* parent = nullptr);

    // Request builders: compact JSON text, ready for CServerClient.
    static QString authReq(const QString& login, const QString& password);
    static QString srvInfoReq();
    static QString closeAuthReq(const QString& token);
    static QString devEuiReq(const QString& devEui);           // one-device "get_devices_req"
    static QString allDevicesReq();                            // whole-list "get_devices_req"
    static QString deleteDevicesReq(const QStringList& devEuis);
    static QString manageDevicesReq(const CLoraDeviceInfo& regDevInfo);

    // A sheet import asks for the counts once at its end instead of a lookup
    // and the counts after every device: the first "added" or "updated" for
    // a device named here sends no follow-up requests. DevEUIs match without
    // regard to case.
    void skipFollowUps(const QString& devEui);
    void clearSkippedFollowUps();

signals:
    void authMsgResp(CloraAuthResp);
    void infoDevicesResp(CLoraDeviceInfo);
    void serverInfoResp(CloraInfoResp);
    void mngDevRespSignal(QString);
    void devicesList(QJsonDocument);
    void deviceMbRemoved(QString);
    // Each status of "manage_devices_resp" with the DevEUI of its entry, right
    // after mngDevRespSignal: what an import matches its rows by.
    void deviceStatusResp(QString devEui, QString status);

public slots:
    void authResp(const QString& msg);
    void getDevReq(CLoraDeviceInfo lastInfo);
    void mngDevResp(const QString& msg);
    void mngDevReq(const CLoraDeviceInfo& regDevInfo);
    void getDevResp(const QString& msg);
    void srvInfoResp(const QString& msg);
    void closeAuthResp(const QString& msg);
    void processReceivedMessage(QString msg);
    void deleteDeviceResp(const QString& msg);

private:
    explicit CMessageParser(QObject* parent);
    void rxNotice(const QJsonObject& notice);

    CloraAuthResp m_lastAuth;
    CloraInfoResp m_lastInfo;
    QSet<QString> m_skippedFollowUps;   // upper-case DevEUIs
};
