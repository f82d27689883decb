// Two top-level windows for the owner checks of the c and a modes: "Quelmar
// test owner", brought to the foreground, and "Quelmar test other", shown
// behind it. Prints "owner HANDLE other HANDLE" (decimal 32-bit values) and
// runs until it is ended.
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

unsigned long handleValue(HWND window)
{
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window) & 0xFFFFFFFFu);
}

HWND makeWindow(const char* title, int x)
{
    return CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 20, 200, 120, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

} // namespace

int main()
{
    const HWND other = makeWindow("Quelmar test other", 20);
    const HWND owner = makeWindow("Quelmar test owner", 240);
    if (!owner || !other)
        return 1;
    SetForegroundWindow(owner);
    std::printf("owner %lu other %lu\n", handleValue(owner), handleValue(other));
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
