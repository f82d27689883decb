// Prints "cursor hidden" when the foreground thread's cursor is none (as
// SetCursor(NULL) leaves it), else "cursor shown".
#include <windows.h>

#include <cstdio>

int main()
{
    CURSORINFO info{};
    info.cbSize = sizeof info;
    if (!GetCursorInfo(&info)) {
        std::printf("FAIL GetCursorInfo\n");
        return 1;
    }
    std::printf("cursor %s\n", info.hCursor ? "shown" : "hidden");
    return 0;
}
