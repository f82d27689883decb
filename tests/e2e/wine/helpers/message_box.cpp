// Reads a message box shown by another process and closes it with OK.
//
//   message_box TITLE     prints "text TEXT", "icon yes|no" and "owner yes|none"
#include <windows.h>

#include <cstdio>

namespace {
constexpr int MessageTextId = 0xFFFF;  // the box's text control
constexpr int MessageIconId = 0x0440;  // the box's icon control
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: message_box TITLE\n");
        return 2;
    }
    const HWND box = FindWindowA("#32770", argv[1]);
    if (!box) {
        std::printf("FAIL no message box titled %s\n", argv[1]);
        return 1;
    }
    char text[256] = {};
    GetDlgItemTextA(box, MessageTextId, text, sizeof text);
    const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, MessageIconId, STM_GETICON, 0, 0));
    std::printf("text %s\n", text);
    std::printf("icon %s\n", icon ? "yes" : "no");
    std::printf("owner %s\n", GetWindow(box, GW_OWNER) ? "yes" : "none");
    std::fflush(stdout);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}
