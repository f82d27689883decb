// The command line on arbitrary bytes: taking the argument text, the dispatch
// and the window handle parser must stay inside the text and agree with each
// other.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);  // stops at a NUL
    const char* text = line.c_str();
    const char* end = text + std::char_traits<char>::length(text);
    const char* arguments = skipProgramName(text);
    if (arguments < text || arguments > end)
        __builtin_trap();
    for (bool win9x : {false, true}) {
        const HostCommand command = parseHostCommand(arguments, win9x);
        if (command.rest < arguments || command.rest > end)
            __builtin_trap();
        if (command.mode == RunMode::ChangePassword && !win9x)
            __builtin_trap();
        (void)ParseWindowHandle(command.rest);
    }
    return 0;
}
