// Screen-saver host: the portable half. The rules every platform's host
// shares, the one contract each host implements, and the one dispatch that
// runs a parsed command through it. The command lines themselves differ:
// Windows dispatches on the first mode letter, Linux takes the XScreenSaver
// hacks' options.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings.h"
#include "surface/surface.h"

// ---- Rules both hosts share ------------------------------------------------

inline constexpr const char* SaverClassName = "WindowsScreenSaverClass";
inline constexpr const char* FullScreenTitle = "Screen Saver";  // marks a running full-screen saver
inline constexpr const char* PreviewTitle = "Preview";

// A summed movement |dx| + |dy| above this, in pixels, ends the full-screen saver.
inline constexpr int64_t MouseThreshold = 4;

// |dx| + |dy| in 64 bits, so that no pair of 32-bit positions can wrap it.
inline int64_t mouseDistance(int32_t fromX, int32_t fromY, int32_t x, int32_t y)
{
    const int64_t dx = static_cast<int64_t>(x) - fromX;
    const int64_t dy = static_cast<int64_t>(y) - fromY;
    return (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
}

// What the full-screen saver's input means, whichever platform it came from.
struct SaverInput {
    enum Kind { KeyPressed, ButtonPressed, PointerMoved, FocusGained, FocusLost } kind;
    int32_t x = 0;  // PointerMoved: where it is now, screen pixels
    int32_t y = 0;
};

struct Dismissal {
    int32_t referenceX = 0;  // MouseReference: where the pointer was, screen pixels
    int32_t referenceY = 0;
    bool focused = false;    // the saver had the focus once: losing it counts
};

// True when `input` ends the saver: a key, a mouse button (the host passes
// only the three main ones), the pointer more than MouseThreshold from the
// reference (which then moves there), or the focus lost after it was had.
bool dismissalEnds(Dismissal& state, const SaverInput& input);

inline constexpr int BadCommandExitCode = -1;  // Windows: a bad command line, nothing created
inline constexpr int BadOptionExitCode = 1;    // Linux: an unknown option or a bad value
inline constexpr int FaultExitCode = 70;       // the fault guard caught a fault

// The rendering surface's error texts and exit code are in surface/surface.h.

// ---- Commands ----------------------------------------------------------------

enum class RunMode {
    SettingsDialog,       // no argument (Windows): the settings dialog without an owner
    SettingsDialogOwned,  // c: owned by the foreground window
    Saver,                // s: full screen
    Preview,              // p or l, and Linux's window options: inside the window `rest` names
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

// Windows: dispatches on the first character that is not a space, '-' or '/'.
HostCommand parseHostCommand(const char* argumentText, bool win9xPlatform);

// Windows: decimal digits from the first character, 32-bit wrap-around; 0 without digits.
uint32_t ParseWindowHandle(const char* text);

// Linux: a whole window id, hex ("0x1F") or decimal, 1 to 0xFFFFFFFF; false otherwise.
bool parseWindowId(const char* text, uint32_t& id);

// ---- Linux options -----------------------------------------------------------

// Where the Linux saver draws.
enum class SaverPlace {
    OwnWindow,   // --window, and no option: a resizable top-level window of our own
    FullScreen,  // /s
    HostWindow,  // --window-id ID, /p ID: into that window itself
    Root,        // --root: into $XSCREENSAVER_WINDOW, else the root window
    Settings,    // /c: there is no dialog on Linux; says where the settings are
};

struct SaverOptions {
    SaverPlace place = SaverPlace::OwnWindow;
    const char* windowId = nullptr;         // HostWindow: the text, already checked
    bool given[SettingCount] = {};          // a setting's option beats the INI file
    int32_t value[SettingCount] = {};       // clamped as on load
    uint32_t delayMicroseconds = 0;         // shortest start-to-start time of two frames
    bool vsync = true;                      // ask GLX for a swap interval of 1
    bool showFps = false;                   // the frame rate on stderr once a second
    bool help = false;
};

inline constexpr uint32_t MaxDelayMicroseconds = 10000000;

// Parses argv[1..argc-1]: one dash or two, a value after a space or '='.
// False on an unknown option or a bad value, with one line in `error`.
bool parseSaverOptions(int argc, const char* const* argv, SaverOptions& options, std::string& error);

// The usage text of --help, built from the settings table.
std::string saverUsage();

// Puts the settings given as options over those loadSettings read.
void applySettingOptions(const SaverOptions& options);

// ---- The host contract: each platform's host implements these once -------------

// The platform's window: an HWND on Windows, an X window id on X11; nullptr for none.
using WindowHandle = void*;

// The saver. No parent: full screen, ended by the dismissal rules. A parent:
// the preview, drawn inside it (Windows) or into it (X11), until it goes.
int RunSaver(WindowHandle parent);
// The window that `text` names, then RunSaver with it; else the bad-command
// exit code. X11 opens a window of its own for an empty text.
int RunPreview(const char* text);
// The settings, owned by `owner` or by no window.
int ShowSettingsDialog(WindowHandle owner);
// The Windows 95 family's change-password dialog; `text` may name the owner.
int RunPasswordChange(const char* text);
// The owner of a settings dialog opened with c.
WindowHandle ForegroundWindow();

// The one mode dispatch: runs `command` through the contract; returns the exit code.
int runHostCommand(const HostCommand& command);
