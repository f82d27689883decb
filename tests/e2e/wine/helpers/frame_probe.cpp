// Start-up and frame-rate figures of the real saver code, measured from
// inside: the process runs HostMain("/s") with a message hook that watches
// the GL child's paint messages, then ends the run itself.
//
//   frame_probe [SECONDS]    prints the figures, exits 0 when frames were drawn
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "common/platform.h"
#include "host/win32/win32_host.h"
#include "textures/textures.h"

namespace {

struct Probe {
    double seconds = 10;
    LARGE_INTEGER frequency{};
    LARGE_INTEGER firstPaint{};
    LARGE_INTEGER lastPaint{};
    ULONGLONG firstPaintWall = 0;  // FILETIME units (100 ns)
    long frames = 0;
    bool closing = false;
};
Probe probe;

double secondsBetween(const LARGE_INTEGER& a, const LARGE_INTEGER& b)
{
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(probe.frequency.QuadPart);
}

ULONGLONG wallNow()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool isGlChild(HWND window)
{
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "OpenGL Window") == 0;
}

LRESULT CALLBACK watchMessages(int code, WPARAM removal, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_PAINT && isGlChild(message->hwnd)) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (probe.frames++ == 0) {
            probe.firstPaint = now;
            probe.firstPaintWall = wallNow();
        }
        probe.lastPaint = now;
        if (!probe.closing && secondsBetween(probe.firstPaint, now) >= probe.seconds) {
            probe.closing = true;
            PostMessageA(saverHost.saverWindow, WM_CLOSE, 0, 0);
        }
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

// The seven conversions of the start-up, again, on their own.
double textureConversionSeconds()
{
    static unsigned char buffer[256 * 256 * 4];
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (const TextureSpec& texture : textureSet)
        platformReadBitmap(programModule, texture.resourceId, texture.width, texture.height, texture.colourKey,
                           buffer);
    QueryPerformanceCounter(&end);
    return secondsBetween(start, end);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        probe.seconds = std::atof(argv[1]);
    QueryPerformanceFrequency(&probe.frequency);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const ULONGLONG start = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;

    SetWindowsHookExA(WH_GETMESSAGE, watchMessages, nullptr, GetCurrentThreadId());
    const int exitCode = HostMain(GetModuleHandleA(nullptr), "/s");

    const double conversion = textureConversionSeconds();
    const double span = probe.frames > 1 ? secondsBetween(probe.firstPaint, probe.lastPaint) : 0;
    std::printf("saver exit code          %d\n", exitCode);
    std::printf("screen                   %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (probe.frames)
        std::printf("process start to frame 1 %.0f ms\n",
                    static_cast<double>(probe.firstPaintWall - start) / 10000.0);
    std::printf("texture conversion       %.0f ms (116736 GetPixel calls)\n", conversion * 1000.0);
    std::printf("frames                   %ld in %.2f s\n", probe.frames, span);
    if (span > 0)
        std::printf("frames per second        %.1f\n", static_cast<double>(probe.frames - 1) / span);
    return probe.frames > 1 && exitCode == 0 ? 0 : 1;
}
