// The scanner's text, as the serial port delivers it, through the code parser.

#include "CScanerSettings.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    return 0;
}

namespace {

// A key text is one line's value: upper case, no line break, no second "=".
bool isKeyText(const QString& text)
{
    return text == text.toUpper() && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('='));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLoraDeviceInfo info = CScanerSettings::parseCode(FuzzSupport::bytes(data, size));
    for (const QString* text : {&info.devEui, &info.appEui, &info.appKey, &info.appsKey, &info.nwksKey}) {
        if (!isKeyText(*text))
            __builtin_trap();
    }
    // DevAddr keeps values up to 7FFFFFFF and is 0 otherwise.
    if (info.devAddress < 0)
        __builtin_trap();
    return 0;
}
