#include "StatusTexts.h"

#include "ProtocolKeys.h"

namespace StatusTexts {

QString operatorText(const QString& status)
{
    return all().value(status);
}

const QHash<QString, QString>& all()
{
    namespace S = ProtocolKeys::Status;
    static const QHash<QString, QString> texts = {
        {S::repetitionDevAddr, QStringLiteral("Device is already registered on server")},
        {S::invalidDevEui, QStringLiteral("Invalid size of device EUI")},
        {S::invalidAbpParamList,
         QStringLiteral("Invalid mandatory parameters list for “ABP” section")},
        {S::invalidDevAddrValue, QStringLiteral("Invalid “devAddress” value")},
        {S::invalidSessionKeyValue,
         QStringLiteral("Invaliud size of “appsKey” or/and “nwksKey”")},
        {S::invalidOtaaParamList,
         QStringLiteral("Invalid mandatory parameters list for “OTAA” section")},
        {S::invalidAppKeyValue, QStringLiteral("Invalid size of “appKey”")},
        {S::noRegisterKeys,
         QStringLiteral("Device is not exist yet and packet doesn’t contain registration information")},
        {S::abpReginfoAlreadyExist,
         QStringLiteral("ABP activation information for corresponding device is already existed on server")},
        {S::reginfoAlreadyExist,
         QStringLiteral("Registration information for corresponding device is already existed on server")},
        {S::maxDevCountReached, QStringLiteral("Maximum device count limitation has reached")},
        {S::added,
         QStringLiteral("Device is not existed on server before and is registered with corresponding registration information")},
        {S::updated, QStringLiteral("Some parameters are updated for corresponding device")},
        {S::nothingToUpdate, QStringLiteral("Changes from existing device parameters is not detected")},
        {S::updateViaMacBuffer,
         QStringLiteral("Received parameters should be updated via MAC commands and ones couldn’t be applied")},
        {S::emptyDataForUpdate, QStringLiteral("Не было описания ошибки emptyDataForUpdate")},
        {S::invalidPower, QStringLiteral("Invalid value for “preferPower” parameter")},
        {S::invalidChannelMaskParamList,
         QStringLiteral("Invalid mandatory parameters list in section “channelMask”")},
    };
    return texts;
}

} // namespace StatusTexts
