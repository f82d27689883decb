// The Windows host: run modes, the saver window and its dismissal rules, and
// the password operations of the Windows 95 family.
#pragma once

#include <windows.h>

#include <cstdint>

#include "host/host.h"

struct SaverHost {
    HINSTANCE module = nullptr;   // every resource of the program comes from here
    bool Win9xPlatform = false;   // GetVersionExA reported VER_PLATFORM_WIN32_WINDOWS
    bool PreviewMode = false;     // RunSaver was given a parent window
    HWND saverWindow = nullptr;
    bool sceneRunning = false;    // from InitScene to ReleaseScene
    UINT_PTR frameTimer = 0;      // the GL child's; 0 when the platform refused it
};
extern SaverHost saverHost;

using ImmAssociateContextFunction = HANDLE(WINAPI*)(HWND, HANDLE);

struct InputMethod {
    HMODULE imeLibrary = nullptr;   // "IMM32.DLL", only when already loaded
    ImmAssociateContextFunction immAssociateContext = nullptr;
    HANDLE previousInputContext = nullptr;
};
extern InputMethod inputMethod;
// The dismissal rules' state. The saver window is created in the foreground,
// so losing the activation counts from the start; the reference is set when
// the window is created.
extern Dismissal dismissal;

inline constexpr UINT VerifyPasswordMessage = WM_APP;

using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);
inline constexpr DWORD NoPasswordCheck = 0xFFFFFFFF;  // LastPasswordCheck before the first dialog

struct PasswordState {
    HMODULE verifierLibrary = nullptr;  // "PASSWORD.CPL"
    VerifyScreenSavePwdFunction PasswordVerifier = nullptr;
    bool Closing = false;               // a close was granted; never reset
    bool CheckingPassword = false;      // the verifier's dialog is running
    DWORD LastPasswordCheck = NoPasswordCheck;  // tick count at the end of the last dialog
};
extern PasswordState password;

// Process entry's work: dispatches the argument text; returns the exit code.
int HostMain(HINSTANCE module, const char* argumentText);

// GetVersionExA with the 148-byte record: true only for the Windows 95 family.
bool detectWin9xPlatform();

// Sets the unhandled-fault filter, which clears the screen-saver-running
// state, writes the exception's code and address to the debugger output and
// to Quelmar-fault.txt beside the settings, frees the verifier, and ends the
// process with FaultExitCode. Returns the previous filter.
LPTOP_LEVEL_EXCEPTION_FILTER installFaultGuard();

// RunSaver, RunPreview (the decimal handle of an existing window, else -1),
// ShowSettingsDialog (the modal dialog of resource 2003) and RunPasswordChange
// are the host contract of host/host.h.
// Ends the process from inside a saver run (the surface cannot be built):
// the running state is cleared and the verifier freed first, as at the end
// of RunSaver.
[[noreturn]] void ExitSaverProcess(UINT exitCode);
// Registers the dialog's window classes: none are needed.
bool DialogClassHook(HINSTANCE module);

// The saver window's messages after the host's: builds the surface and
// starts the scene on WM_CREATE, keeps the child over the client area,
// releases the scene and then the surface on WM_DESTROY.
LRESULT SceneSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The GL child's class procedure: frame timer, size, painting, destruction.
LRESULT CALLBACK GlChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The saver window's class procedure; hands on to SceneSaverProc.
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The dismissal rules, for the saver window and the GL child alike.
LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Password handling of the Windows 95 family.
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
void SetSaverRunningFlag(bool on);
bool CheckPasswordOnClose(HWND window);
void ChangeSaverPassword(HWND owner);

// A decimal handle from the command line as the platform's window handle.
inline HWND windowFromHandleValue(uint32_t value)
{
    // User handles are 32-bit values, sign-extended on 64-bit Windows.
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(value)));
}
