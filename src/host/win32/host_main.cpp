#include "common/platform.h"
#include "common/resources.h"
#include "host/host.h"
#include "host/win32/win32_host.h"
#include "settings/win32/settings_dialog.h"

SaverHost saverHost;

namespace {

int dispatch(const char* argumentText)
{
    const HostCommand command = parseHostCommand(argumentText, saverHost.Win9xPlatform);
    switch (command.mode) {
    case RunMode::SettingsDialog:
        return ShowSettingsDialog(nullptr);
    case RunMode::SettingsDialogOwned:
        return ShowSettingsDialog(GetForegroundWindow());
    case RunMode::Saver:
        return RunSaver(nullptr);
    case RunMode::Preview:
        return RunPreview(command.rest);
    case RunMode::ChangePassword:
        return RunPasswordChange(command.rest);
    case RunMode::Invalid:
        break;
    }
    return InvalidCommandExitCode;
}

} // namespace

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
    const int exitCode = dispatch(argumentText);
    SetUnhandledExceptionFilter(previous);
    return exitCode;
}

int RunPreview(const char* text)
{
    const uint32_t value = ParseWindowHandle(text);
    const HWND parent = windowFromHandleValue(value);
    if (value == 0 || !IsWindow(parent))
        return InvalidCommandExitCode;
    return RunSaver(parent);
}

bool DialogClassHook(HINSTANCE) { return true; }

int ShowSettingsDialog(HWND owner)
{
    if (!DialogClassHook(saverHost.module))
        return 0;
    return static_cast<int>(DialogBoxParamA(saverHost.module, MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                                            SettingsDialogProc, 0));
}
