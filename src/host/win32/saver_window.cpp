// The saver window's class procedure and the dismissal rules shared with the
// GL child.
#include "host/win32/win32_host.h"
#include "surface/win32/gl_window.h"

Dismissal dismissal;

namespace {

constexpr WPARAM ScreenSaveCommand = 0xF140;  // SC_SCREENSAVE
constexpr WPARAM NextWindowCommand = 0xF040;  // SC_NEXTWINDOW
constexpr WPARAM PrevWindowCommand = 0xF050;  // SC_PREVWINDOW
constexpr WPARAM SystemCommandMask = 0xFFF0;  // the low four bits are the system's own

void hideCursor() { SetCursor(nullptr); }

// Close requests count once the saver window exists. While the surface is
// still being built only its error boxes run a message loop; closing the
// first one takes the activation away, and a close posted then would destroy
// the window inside its own creation and end the second box unseen.
void postClose(HWND window)
{
    if (saverHost.saverWindow)
        PostMessageA(window, WM_CLOSE, 0, 0);
}

// The input method is switched off for the window, but only through a
// library that is already loaded: it is never loaded for this.
void detachInputMethod(HWND window)
{
    dismissal.imeLibrary = GetModuleHandleA("IMM32.DLL");
    if (!dismissal.imeLibrary)
        return;
    dismissal.immAssociateContext = reinterpret_cast<ImmAssociateContextFunction>(
        reinterpret_cast<void*>(GetProcAddress(dismissal.imeLibrary, "ImmAssociateContext")));
    if (dismissal.immAssociateContext)
        dismissal.previousInputContext = dismissal.immAssociateContext(window, nullptr);
}

void restoreInputMethod(HWND window)
{
    if (dismissal.imeLibrary && dismissal.immAssociateContext && dismissal.previousInputContext)
        dismissal.immAssociateContext(window, dismissal.previousInputContext);
}

LRESULT dismissalRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam)
            hideCursor();
        break;
    case WM_ACTIVATEAPP:
        if (!wParam)
            postClose(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        postClose(window);
        break;
    case WM_SETCURSOR:
        hideCursor();
        return TRUE;
    case WM_MOUSEMOVE: {
        POINT cursor{};
        GetCursorPos(&cursor);  // the message's own coordinates are client-relative
        if (mouseDistance(dismissal.MouseReference.x, dismissal.MouseReference.y, cursor.x, cursor.y) >
            MouseThreshold) {
            postClose(window);
            dismissal.MouseReference = cursor;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT DefaultSaverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (saverHost.PreviewMode || password.Closing)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_CLOSE) {
        if (!saverHost.Win9xPlatform || CheckPasswordOnClose(window))
            return DefWindowProcA(window, message, wParam, lParam);
        GetCursorPos(&dismissal.MouseReference);
        return 0;
    }
    if (message == VerifyPasswordMessage) {
        if (!saverHost.Win9xPlatform)
            return DefWindowProcA(window, message, wParam, lParam);
        return password.PasswordVerifier ? password.PasswordVerifier(window) : 1;
    }
    if (password.CheckingPassword)
        return DefWindowProcA(window, message, wParam, lParam);
    return dismissalRules(window, message, wParam, lParam);
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        detachInputMethod(window);
        GetCursorPos(&dismissal.MouseReference);
        if (!saverHost.PreviewMode)
            hideCursor();
        break;
    case WM_DESTROY:
        restoreInputMethod(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;  // the title never changes
    case WM_PAINT:
        if (password.Closing)
            return DefWindowProcA(window, message, wParam, lParam);
        if (!saverHost.PreviewMode)
            hideCursor();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        if (saverHost.PreviewMode) {
            const HWND parent = GetParent(window);
            if (parent && IsWindow(parent))
                PostMessageA(parent, message, reinterpret_cast<WPARAM>(parent), lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (password.Closing)
            return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & SystemCommandMask;
        if (!saverHost.PreviewMode &&
            (command == ScreenSaveCommand || command == NextWindowCommand || command == PrevWindowCommand))
            return 0;
        break;
    }
    default:
        break;
    }
    return SceneSaverProc(window, message, wParam, lParam);
}
