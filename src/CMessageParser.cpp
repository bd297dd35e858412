#include "CMessageParser.h"

#include "SingleInstance.h"

namespace {
SingleInstance<CMessageParser> parser;
}

CMessageParser::CMessageParser(QObject* parent)
    : QObject(parent)
{
}

CMessageParser* CMessageParser::instance(QObject* parent)
{
    return parser.get([parent] { return new CMessageParser(parent); });
}

QString CMessageParser::authReq(const QString&, const QString&) { return {}; }
QString CMessageParser::srvInfoReq() { return {}; }
QString CMessageParser::closeAuthReq(const QString&) { return {}; }
QString CMessageParser::devEuiReq(const QString&) { return {}; }
QString CMessageParser::allDevicesReq() { return {}; }
QString CMessageParser::deleteDevicesReq(const QStringList&) { return {}; }
QString CMessageParser::manageDevicesReq(const CLoraDeviceInfo&) { return {}; }

void CMessageParser::authResp(const QString&) {}
void CMessageParser::getDevReq(CLoraDeviceInfo) {}
void CMessageParser::mngDevResp(const QString&) {}
void CMessageParser::mngDevReq(const CLoraDeviceInfo&) {}
void CMessageParser::getDevResp(const QString&) {}
void CMessageParser::srvInfoResp(const QString&) {}
void CMessageParser::closeAuthResp(const QString&) {}
void CMessageParser::processReceivedMessage(QString) {}
void CMessageParser::deleteDeviceResp(const QString&) {}
