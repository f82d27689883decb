// The saver window's class procedure and the dismissal rules shared with the
// GL child.
#include "host/win32/win32_host.h"

InputMethod inputMethod;
Dismissal dismissal{0, 0, true};

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
    inputMethod.imeLibrary = GetModuleHandleA("IMM32.DLL");
    if (!inputMethod.imeLibrary)
        return;
    inputMethod.immAssociateContext = reinterpret_cast<ImmAssociateContextFunction>(
        reinterpret_cast<void*>(GetProcAddress(inputMethod.imeLibrary, "ImmAssociateContext")));
    if (inputMethod.immAssociateContext)
        inputMethod.previousInputContext = inputMethod.immAssociateContext(window, nullptr);
}

void restoreInputMethod(HWND window)
{
    if (inputMethod.imeLibrary && inputMethod.immAssociateContext && inputMethod.previousInputContext)
        inputMethod.immAssociateContext(window, inputMethod.previousInputContext);
}

void resetMouseReference()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    dismissal.referenceX = cursor.x;
    dismissal.referenceY = cursor.y;
}

// The input that the dismissal rules judge; false for any other message.
bool saverInputOf(UINT message, WPARAM wParam, SaverInput& input)
{
    switch (message) {
    case WM_ACTIVATEAPP:
        input.kind = wParam ? SaverInput::FocusGained : SaverInput::FocusLost;
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        input.kind = SaverInput::KeyPressed;
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        input.kind = SaverInput::ButtonPressed;
        return true;
    case WM_MOUSEMOVE: {
        POINT cursor{};
        GetCursorPos(&cursor);  // the message's own coordinates are client-relative
        input = {SaverInput::PointerMoved, cursor.x, cursor.y};
        return true;
    }
    default:
        return false;
    }
}

LRESULT dismissalRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        hideCursor();
        return TRUE;
    }
    if (message == WM_SHOWWINDOW && wParam)
        hideCursor();
    SaverInput input{SaverInput::KeyPressed};
    if (saverInputOf(message, wParam, input) && dismissalEnds(dismissal, input))
        postClose(window);
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
        resetMouseReference();
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
        resetMouseReference();
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
