// Sends one message to the running full-screen saver's window or to its GL
// child, from outside, and prints the result and the window's title after.
//
//   send_message saver|glchild MESSAGE [WPARAM [LPARAM]]
//   send_message saver settext TEXT
//
// Numbers may be decimal or 0x hexadecimal.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: send_message saver|glchild MESSAGE [WPARAM [LPARAM]] | saver settext TEXT\n");
        return 2;
    }
    HWND window = FindWindowA("WindowsScreenSaverClass", "Screen Saver");
    if (window && std::strcmp(argv[1], "glchild") == 0)
        window = FindWindowExA(window, nullptr, "OpenGL Window", nullptr);
    if (!window) {
        std::printf("FAIL no %s window\n", argv[1]);
        return 1;
    }
    LRESULT result;
    if (std::strcmp(argv[2], "settext") == 0 && argc == 4) {
        result = SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3]));
    } else {
        const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
        const WPARAM wParam = argc > 3 ? static_cast<WPARAM>(std::strtoull(argv[3], nullptr, 0)) : 0;
        const LPARAM lParam = argc > 4 ? static_cast<LPARAM>(std::strtoll(argv[4], nullptr, 0)) : 0;
        result = SendMessageA(window, message, wParam, lParam);
    }
    char title[64] = {};
    GetWindowTextA(FindWindowA("WindowsScreenSaverClass", nullptr), title, sizeof title);
    std::printf("result %lld title %s\n", static_cast<long long>(result), title);
    return 0;
}
