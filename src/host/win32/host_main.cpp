#include "common/platform.h"
#include "common/resources.h"
#include "host/host.h"
#include "host/win32/win32_host.h"
#include "settings/win32/settings_dialog.h"

SaverHost saverHost;

bool detectWin9xPlatform()
{
    constexpr DWORD VersionRecordSize = 148;
    static_assert(sizeof(OSVERSIONINFOA) == VersionRecordSize);
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = VersionRecordSize;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

int HostMain(HINSTANCE module, const char* argumentText)
{
    saverHost.module = module;
    programModule = module;
    saverHost.Win9xPlatform = detectWin9xPlatform();
    const LPTOP_LEVEL_EXCEPTION_FILTER previous = installFaultGuard();
    const int exitCode = runHostCommand(parseHostCommand(argumentText, saverHost.Win9xPlatform));
    SetUnhandledExceptionFilter(previous);
    return exitCode;
}

int RunPreview(const char* text)
{
    const uint32_t value = ParseWindowHandle(text);
    const HWND parent = windowFromHandleValue(value);
    if (value == 0 || !IsWindow(parent))
        return BadCommandExitCode;
    return RunSaver(parent);
}

bool DialogClassHook(HINSTANCE) { return true; }

int ShowSettingsDialog(WindowHandle owner)
{
    if (!DialogClassHook(saverHost.module))
        return 0;
    return static_cast<int>(DialogBoxParamA(saverHost.module, MAKEINTRESOURCEA(IDD_SETTINGS),
                                            static_cast<HWND>(owner), SettingsDialogProc, 0));
}

WindowHandle ForegroundWindow() { return GetForegroundWindow(); }
