// The command lines on arbitrary bytes. Windows: taking the argument text,
// the dispatch and the window handle parser must stay inside the text and
// agree with each other. Linux: the bytes split at NULs are argv; the parser
// must accept or refuse with one line, and what it accepts must be sound.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "host/host.h"

namespace {

void linuxOptions(const uint8_t* data, size_t size)
{
    std::vector<std::string> words{"quelmar"};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    for (std::string word; std::getline(in, word, '\0');)
        words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& w : words)
        argv.push_back(w.c_str());
    SaverOptions options;
    std::string error;
    const bool ok = parseSaverOptions(static_cast<int>(argv.size()), argv.data(), options, error);
    if (ok != error.empty() || error.find('\n') != std::string::npos)
        __builtin_trap();
    if (!ok)
        return;
    uint32_t id = 0;
    if ((options.place == SaverPlace::HostWindow) != (options.windowId != nullptr) ||
        (options.windowId && !parseWindowId(options.windowId, id)) ||
        options.delayMicroseconds > MaxDelayMicroseconds)
        __builtin_trap();
    for (int s = 0; s < SettingCount; ++s)
        if (options.given[s] && clampSetting(settingsTable[s], options.value[s]) != options.value[s])
            __builtin_trap();
}

} // namespace

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
    linuxOptions(data, size);
    return 0;
}
