// Plays the display settings' preview: creates a top-level window, starts the
// saver with its handle, checks that the saver's window and its GL child fill
// the client area, and on request destroys the window and reports the
// saver's exit code.
//
//   preview_host SAVER-PATH ARGUMENT-FORMAT [STOP-FILE]
//
// ARGUMENT-FORMAT holds %u for the window handle ("/p %u"). Without a stop
// file the window is destroyed as soon as the preview is in place; with one,
// only once that file exists. Prints "parent X Y W H" (client area on the
// screen), "preview W H", "glchild W H", "ready", "contextmenu" for each
// context-menu request forwarded to the window, and "saver exit CODE".
// Exits with 0 when every check passed and the saver ended with 0.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

constexpr int ClientWidth = 320;
constexpr int ClientHeight = 240;
constexpr UINT_PTR PollTimer = 1;
constexpr UINT PollMs = 50;
constexpr DWORD PreviewTimeoutMs = 60000;
constexpr DWORD StopTimeoutMs = 300000;
constexpr DWORD ExitTimeoutMs = 30000;

enum class Phase { WaitPreview, WaitStop, Done };

struct Host {
    HWND window = nullptr;
    PROCESS_INFORMATION saver{};
    const char* stopFile = nullptr;
    Phase phase = Phase::WaitPreview;
    DWORD phaseStart = 0;
    bool failed = false;
};
Host host;

void say(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

void fail(const char* what)
{
    say("FAIL %s", what);
    host.failed = true;
    host.phase = Phase::Done;
    DestroyWindow(host.window);
}

bool saverRunning() { return WaitForSingleObject(host.saver.hProcess, 0) == WAIT_TIMEOUT; }

SIZE clientSize(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

HWND findChild(HWND parent, const char* className)
{
    return FindWindowExA(parent, nullptr, className, nullptr);
}

void checkPreview()
{
    const HWND preview = findChild(host.window, "WindowsScreenSaverClass");
    const HWND glChild = preview ? findChild(preview, "OpenGL Window") : nullptr;
    if (!glChild)
        return;  // not yet
    const SIZE previewSize = clientSize(preview);
    const SIZE glSize = clientSize(glChild);
    POINT origin{0, 0};
    MapWindowPoints(preview, host.window, &origin, 1);
    char title[32] = {};
    GetWindowTextA(preview, title, sizeof title);
    say("preview %ld %ld at %ld %ld titled %s", previewSize.cx, previewSize.cy, origin.x, origin.y, title);
    say("glchild %ld %ld", glSize.cx, glSize.cy);
    if (previewSize.cx != ClientWidth || previewSize.cy != ClientHeight || origin.x != 0 || origin.y != 0 ||
        glSize.cx != ClientWidth || glSize.cy != ClientHeight || std::string(title) != "Preview") {
        fail("the preview does not fill the client area");
        return;
    }
    say("ready");
    host.phase = Phase::WaitStop;
    host.phaseStart = GetTickCount();
}

void poll()
{
    const DWORD elapsed = GetTickCount() - host.phaseStart;
    switch (host.phase) {
    case Phase::WaitPreview:
        if (!saverRunning())
            return fail("the saver ended before its preview appeared");
        if (elapsed > PreviewTimeoutMs)
            return fail("no preview window in time");
        checkPreview();
        break;
    case Phase::WaitStop:
        if (!saverRunning())
            return fail("the saver ended while its parent still existed");
        if (host.stopFile && GetFileAttributesA(host.stopFile) == INVALID_FILE_ATTRIBUTES &&
            elapsed < StopTimeoutMs)
            break;
        host.phase = Phase::Done;
        DestroyWindow(host.window);
        break;
    case Phase::Done:
        break;
    }
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        poll();
        return 0;
    case WM_CONTEXTMENU:
        say(reinterpret_cast<HWND>(wParam) == window ? "contextmenu" : "contextmenu from another window");
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: preview_host SAVER-PATH ARGUMENT-FORMAT [STOP-FILE]\n");
        return 2;
    }
    host.stopFile = argc == 4 ? argv[3] : nullptr;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "QuelmarPreviewHost";
    RegisterClassA(&windowClass);
    host.window = CreateWindowExA(0, windowClass.lpszClassName, "Preview Host", WS_POPUP | WS_VISIBLE, 100, 100,
                                  ClientWidth, ClientHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!host.window) {
        say("FAIL no window");
        return 1;
    }
    UpdateWindow(host.window);
    SetForegroundWindow(host.window);
    POINT origin{0, 0};
    ClientToScreen(host.window, &origin);
    say("parent %ld %ld %d %d", origin.x, origin.y, ClientWidth, ClientHeight);

    char arguments[256];
    std::snprintf(arguments, sizeof arguments, argv[2],
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(host.window)));
    std::string commandLine = std::string("\"") + argv[1] + "\" " + arguments;
    say("starting %s", commandLine.c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &host.saver)) {
        say("FAIL cannot start the saver (%lu)", GetLastError());
        return 1;
    }
    host.phaseStart = GetTickCount();
    SetTimer(host.window, PollTimer, PollMs, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(host.saver.hProcess, ExitTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(host.saver.hProcess, &code);
    else
        TerminateProcess(host.saver.hProcess, 99);
    say(code == STILL_ACTIVE ? "saver exit none (still running)" : "saver exit %ld",
        static_cast<long>(static_cast<int>(code)));
    return host.failed || code != 0 ? 1 : 0;
}
