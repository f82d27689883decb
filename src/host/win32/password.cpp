// Password handling of the Windows 95 family: the desktop's own verifier
// ("PASSWORD.CPL") guards every close while a password is set, and the a mode
// hands over to the platform's change-password dialog ("MPR.DLL"). On every
// other platform these operations do nothing.
#include <cstdint>

#include "host/host.h"
#include "host/win32/win32_host.h"

PasswordState password;

namespace {

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* UsePasswordValue = "ScreenSaveUsePassword";
constexpr const char* VerifierLibraryName = "PASSWORD.CPL";
constexpr const char* VerifierFunctionName = "VerifyScreenSavePwd";
constexpr const char* ChangeLibraryName = "MPR.DLL";
constexpr const char* ChangeFunctionName = "PwdChangePasswordA";
constexpr const char* ChangeProvider = "SCRSAVE";
// A close this soon after the last dialog ended is refused without asking:
// the input that dismissed the dialog must not open it again.
constexpr DWORD RecheckDelayMs = 200;

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD, DWORD);

template <typename Function>
Function lookUp(HMODULE library, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// Read into 4 bytes without asking for the type: a longer value fails the
// read, and so means no password, like a missing one.
bool passwordRequired(HKEY desktop)
{
    uint32_t content = 0;
    DWORD size = sizeof content;
    return RegQueryValueExA(desktop, UsePasswordValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&content),
                            &size) == ERROR_SUCCESS &&
           content != 0;
}

void dropQueuedTicks(HWND window)
{
    MSG tick;
    PeekMessageA(&tick, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&tick, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
}

} // namespace

void SetSaverRunningFlag(bool on)
{
    if (!saverHost.Win9xPlatform)
        return;
    UINT previous = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? 1 : 0, &previous, 0);
}

void LoadPasswordVerifier()
{
    if (!saverHost.Win9xPlatform)
        return;
    if (password.verifierLibrary)
        UnloadPasswordVerifier();
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, DesktopKey, &desktop) != ERROR_SUCCESS)
        return;
    if (passwordRequired(desktop)) {
        password.verifierLibrary = LoadLibraryA(VerifierLibraryName);
        if (password.verifierLibrary) {
            password.PasswordVerifier =
                lookUp<VerifyScreenSavePwdFunction>(password.verifierLibrary, VerifierFunctionName);
            if (password.PasswordVerifier)
                SetSaverRunningFlag(true);
            else
                UnloadPasswordVerifier();
        }
    }
    RegCloseKey(desktop);
}

// The running state goes first: the desktop gets Ctrl+Alt+Del and Alt+Tab
// back even if the library's own clean-up goes wrong.
void UnloadPasswordVerifier()
{
    if (!saverHost.Win9xPlatform || !password.verifierLibrary)
        return;
    if (password.PasswordVerifier) {
        password.PasswordVerifier = nullptr;
        SetSaverRunningFlag(false);
    }
    FreeLibrary(password.verifierLibrary);
    password.verifierLibrary = nullptr;
}

bool CheckPasswordOnClose(HWND window)
{
    if (password.CheckingPassword || password.Closing)
        return false;
    if (!password.PasswordVerifier) {
        password.Closing = true;
        return true;
    }
    const DWORD now = GetTickCount();
    if (password.LastPasswordCheck != NoPasswordCheck && now - password.LastPasswordCheck < RecheckDelayMs)
        return password.Closing;

    password.CheckingPassword = true;
    dropQueuedTicks(window);
    password.Closing = SendMessageA(window, VerifyPasswordMessage, 0, 0) != 0;
    password.CheckingPassword = false;
    if (!password.Closing)
        SetCursor(nullptr);
    password.LastPasswordCheck = GetTickCount();
    return password.Closing;
}

int RunPasswordChange(const char* text)
{
    const uint32_t value = ParseWindowHandle(text);
    const HWND named = windowFromHandleValue(value);
    ChangeSaverPassword(value != 0 && IsWindow(named) ? named : GetForegroundWindow());
    return 0;
}

void ChangeSaverPassword(HWND owner)
{
    const HMODULE library = LoadLibraryA(ChangeLibraryName);
    if (!library)
        return;
    if (const auto change = lookUp<PwdChangePasswordFunction>(library, ChangeFunctionName))
        change(ChangeProvider, owner, 0, 0);
    FreeLibrary(library);
}
