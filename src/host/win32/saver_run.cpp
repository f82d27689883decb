// RunSaver: the saver window class, the window for each mode, the
// single-instance rule and the thread's message loop.
#include "common/resources.h"
#include "host/win32/win32_host.h"

namespace {

struct WindowPlan {
    DWORD extendedStyle;
    DWORD style;
    const char* title;
    int width;
    int height;
};

WNDCLASSA saverClass()
{
    WNDCLASSA saverClass{};
    saverClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
    saverClass.lpfnWndProc = SaverWindowProc;
    saverClass.cbClsExtra = 0;
    saverClass.cbWndExtra = 0;
    saverClass.hInstance = saverHost.module;
    saverClass.hIcon = LoadIconA(saverHost.module, MAKEINTRESOURCEA(IDI_QUELMAR));
    saverClass.hCursor = nullptr;  // the procedures hide or set the cursor themselves
    saverClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    saverClass.lpszMenuName = nullptr;
    saverClass.lpszClassName = SaverClassName;
    return saverClass;
}

WindowPlan previewPlan(HWND parent)
{
    RECT client{};
    GetClientRect(parent, &client);
    return {0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, PreviewTitle, client.right, client.bottom};
}

WindowPlan fullScreenPlan()
{
    return {WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, FullScreenTitle,
            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int runMessageLoop()
{
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

} // namespace

int RunSaver(WindowHandle parentWindow)
{
    const HWND parent = static_cast<HWND>(parentWindow);
    const WNDCLASSA windowClass = saverClass();
    WindowPlan plan;
    if (parent) {
        plan = previewPlan(parent);
        saverHost.PreviewMode = true;
    } else {
        plan = fullScreenPlan();
        const HWND running = FindWindowA(SaverClassName, FullScreenTitle);
        if (running && IsWindow(running)) {
            SetForegroundWindow(running);
            return 0;
        }
        LoadPasswordVerifier();
    }

    if (RegisterClassA(&windowClass))
        saverHost.saverWindow = CreateWindowExA(plan.extendedStyle, SaverClassName, plan.title, plan.style, 0,
                                                0, plan.width, plan.height, parent, nullptr, saverHost.module,
                                                nullptr);
    int exitCode = NoSurfaceExitCode;
    if (saverHost.saverWindow) {
        if (!saverHost.PreviewMode)
            SetForegroundWindow(saverHost.saverWindow);
        exitCode = runMessageLoop();
    } else if (parent && !IsWindow(parent)) {
        // The host closed the preview while it was starting (the scene loads
        // inside WM_CREATE): the preview ended with its parent, as it should.
        exitCode = 0;
    }
    UnloadPasswordVerifier();
    return exitCode;
}

void ExitSaverProcess(UINT exitCode)
{
    UnloadPasswordVerifier();
    ExitProcess(exitCode);
}
