// The scanner's text, as the serial port delivers it, through the code parser.

#include "CScanerSettings.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const CLoraDeviceInfo info = CScanerSettings::parseCode(FuzzSupport::bytes(data, size));
    // Whatever was read must be usable by the rest of the program.
    if (info.isValid() && (info.devEui.isEmpty() || info.appEui.isEmpty() || info.appKey.isEmpty()))
        __builtin_trap();
    return 0;
}
