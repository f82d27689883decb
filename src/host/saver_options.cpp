// The Linux command line, in the conventions of XScreenSaver's hacks: the
// place to draw, the five settings from the settings table, frame pacing.
#include <cstring>

#include "common/shown_value.h"
#include "host/host.h"

namespace {

enum class Flag { Root, Window, NoVsync, Fps, Help };

struct FlagOption {
    const char* name;
    Flag flag;
};
constexpr FlagOption flagOptions[] = {{"root", Flag::Root},       {"window", Flag::Window},
                                      {"no-vsync", Flag::NoVsync}, {"fps", Flag::Fps},
                                      {"help", Flag::Help},        {"h", Flag::Help}};

constexpr const char* WindowIdOption = "window-id";
constexpr const char* DelayOption = "delay";

constexpr size_t UsageColumn = 25;  // where the descriptions begin

// Beyond this a number only saturates: it is clamped to its range anyway.
constexpr int64_t NumberLimit = int64_t{1} << 40;

// Optional sign and decimal digits, nothing else.
bool parseNumber(const char* text, int64_t& out)
{
    const char* p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (!*p)
        return false;
    int64_t value = 0;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        if (value < NumberLimit)
            value = value * 10 + (*p - '0');
    }
    out = negative ? -value : value;
    return true;
}

int32_t toInt32(int64_t value)
{
    return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : value);
}

bool setSetting(int index, const char* text, SaverOptions& options)
{
    const SettingDescription& setting = settingsTable[index];
    int64_t number = 0;
    if (setting.choices) {
        bool found = false;
        for (int32_t v = setting.minimum; v <= setting.maximum && !found; ++v)
            if (std::strcmp(text, setting.choices[v]) == 0) {
                number = v;
                found = true;
            }
        if (!found)
            return false;
    } else if (!parseNumber(text, number)) {
        return false;
    }
    options.given[index] = true;
    options.value[index] = clampSetting(setting, toInt32(number));
    return true;
}

std::string badValue(const std::string& option, const char* value, const char* expected)
{
    return "bad value '" + shownValue(value) + "' for " + shownValue(option) + ": " + expected;
}

std::string unknownOption(const char* arg)
{
    return "unknown option '" + shownValue(arg) + "' (quelmar --help lists them)";
}

// A Windows argument: /s, /c and /p ID, in either case.
bool windowsArgument(const char* arg, char& letter)
{
    if (arg[0] != '/' || !arg[1] || arg[2])
        return false;
    letter = static_cast<char>(arg[1] | 0x20);
    return letter == 's' || letter == 'c' || letter == 'p';
}

} // namespace

bool parseSaverOptions(int argc, const char* const* argv, SaverOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        char letter = 0;
        if (windowsArgument(arg, letter)) {
            if (letter == 's') {
                options.place = SaverPlace::FullScreen;
            } else if (letter == 'c') {
                options.place = SaverPlace::Settings;
            } else {
                uint32_t id = 0;
                if (i + 1 >= argc) {
                    error = "option " + shownValue(arg) + " needs a window id";
                    return false;
                }
                if (!parseWindowId(argv[++i], id)) {
                    error = badValue(arg, argv[i], "a window id, hex (0x...) or decimal");
                    return false;
                }
                options.windowId = argv[i];
            }
            continue;
        }
        if (arg[0] != '-' || !arg[1]) {
            error = unknownOption(arg);
            return false;
        }
        std::string name = arg + (arg[1] == '-' ? 2 : 1);
        std::string inlineValue;
        const size_t equals = name.find('=');
        const bool hasInlineValue = equals != std::string::npos;
        if (hasInlineValue) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        const std::string option = "--" + name;

        bool isFlag = false;
        for (const FlagOption& flag : flagOptions) {
            if (name != flag.name)
                continue;
            isFlag = true;
            if (hasInlineValue) {
                error = "option " + shownValue(option) + " takes no value";
                return false;
            }
            switch (flag.flag) {
            case Flag::Root:
                options.place = SaverPlace::Root;
                break;
            case Flag::Window:
                options.place = SaverPlace::OwnWindow;
                break;
            case Flag::NoVsync:
                options.vsync = false;
                break;
            case Flag::Fps:
                options.showFps = true;
                break;
            case Flag::Help:
                options.help = true;
                break;
            }
        }
        if (isFlag)
            continue;

        int setting = -1;
        for (int s = 0; s < SettingCount; ++s)
            if (name == settingsTable[s].option)
                setting = s;
        if (setting < 0 && name != WindowIdOption && name != DelayOption) {
            error = unknownOption(arg);
            return false;
        }
        if (!hasInlineValue && i + 1 >= argc) {
            error = "option " + shownValue(option) + " needs a value";
            return false;
        }
        const char* value = hasInlineValue ? inlineValue.c_str() : argv[++i];
        if (setting >= 0) {
            if (!setSetting(setting, value, options)) {
                error = badValue(option, value, settingsTable[setting].choices ? "none, low or high"
                                                                               : "a whole number");
                return false;
            }
        } else if (name == WindowIdOption) {
            uint32_t id = 0;
            if (!parseWindowId(value, id)) {
                error = badValue(option, value, "a window id, hex (0x...) or decimal");
                return false;
            }
            options.windowId = hasInlineValue ? std::strchr(argv[i], '=') + 1 : argv[i];
        } else {
            int64_t delay = 0;
            if (!parseNumber(value, delay) || delay < 0 || delay > MaxDelayMicroseconds) {
                error = badValue(option, value, "microseconds from 0 to 10000000");
                return false;
            }
            options.delayMicroseconds = static_cast<uint32_t>(delay);
        }
    }
    // A named window beats the rest: the settings app previews with --root --window-id ID.
    if (options.windowId)
        options.place = SaverPlace::HostWindow;
    return true;
}

void applySettingOptions(const SaverOptions& options)
{
    for (int s = 0; s < SettingCount; ++s)
        if (options.given[s])
            settings.*settingsTable[s].field = options.value[s];
    settings.activeStarCount = settings.starCount;
    settings.activeWarpLineCount = settings.warpLineCount;
}

std::string saverUsage()
{
    std::string text =
        "usage: quelmar [options]\n"
        "The Quelmar 3D screen saver for X11. Where it draws:\n"
        "  --window               a resizable window of its own (the default)\n"
        "  --root                 the window in $XSCREENSAVER_WINDOW (hex or decimal), else the root\n"
        "  --window-id ID         window ID itself (hex 0x... or decimal), following its size\n"
        "  /s                     full screen, until a key, a click, a mouse movement or a focus change\n"
        "  /p ID                  as --window-id ID\n"
        "Settings (an option beats the settings file; out-of-range numbers are clamped):\n";
    for (const SettingDescription& setting : settingsTable) {
        std::string left = "  --" + std::string(setting.option) + " " + setting.valueName;
        left = left.size() < UsageColumn ? left.append(UsageColumn - left.size(), ' ')
                                         : left + "\n" + std::string(UsageColumn, ' ');
        std::string label = setting.label;
        if (!label.empty() && label.back() == ':')
            label.pop_back();
        text += left + label;
        if (setting.choices)
            text += std::string(" (default ") + setting.choices[setting.defaultValue] + ")\n";
        else
            text += ", " + std::to_string(setting.minimum) + " to " + std::to_string(setting.maximum) +
                    " (default " + std::to_string(setting.defaultValue) + ")\n";
    }
    text += "Frames:\n"
            "  --delay MICROSECONDS   shortest time from one frame's start to the next (default 0)\n"
            "  --no-vsync             do not ask to follow the display's refresh rate\n"
            "  --fps                  print the frame rate on standard error once a second\n"
            "  --help                 this text\n"
            "Options take one dash or two, and a value after a space or '=' (--stars=450).\n"
            "The settings file: $XDG_CONFIG_HOME/quelmar/Quelmar.ini, else ~/.config/quelmar/Quelmar.ini.\n";
    return text;
}
