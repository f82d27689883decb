// Screen-saver host: the portable half. The argument text, the window handle
// parser and the dispatch on the first mode letter are shared by every
// platform's HostMain.
#pragma once

#include <cstdint>

enum class RunMode {
    SettingsDialog,       // no argument: the settings dialog without an owner
    SettingsDialogOwned,  // c: owned by the foreground window
    Saver,                // s: full screen
    Preview,              // p or l: inside the window named by `rest`
    ChangePassword,       // a, Windows 95 family only: `rest` may name the owner
    Invalid,              // exit code -1, nothing created
};

struct HostCommand {
    RunMode mode;
    const char* rest;  // text after the mode letter and its spaces (p, l, a)
};

// Steps one whole character forward; CharNextA on Windows.
using CharStep = const char* (*)(const char*);

// Takes the argument text out of a whole command line: skips the program
// name (quoted or not), then every character with a code from 1 to 32.
const char* skipProgramName(const char* commandLine, CharStep next = nullptr);

// Dispatches on the first character that is not a space, '-' or '/'.
HostCommand parseHostCommand(const char* argumentText, bool win9xPlatform);

// Decimal digits from the first character, 32-bit wrap-around; 0 without digits.
uint32_t ParseWindowHandle(const char* text);

inline constexpr int InvalidCommandExitCode = -1;
