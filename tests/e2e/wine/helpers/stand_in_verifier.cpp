// A stand-in for the desktop's password verifier, built as PASSWORD.CPL and
// put beside the saver: VerifyScreenSavePwd answers what verifier.txt (beside
// it) says for that call and records each call in calls.log.
//
// Line N of verifier.txt is the N-th call's script, the last line standing
// for later calls: "grant" or "refuse", then any of
//   close+MS   post WM_CLOSE to the owner MS milliseconds after returning
//   nested     post WM_CLOSE to the owner and dispatch it inside the call,
//              as a modal password dialog would
//   fault      write through a null pointer
// A call shows the arrow cursor, as the platform's dialog would.
// Recorded: "call N tick T depth D running R owner CLASS",
// "return N ANSWER tick T" (T the tick count) and "detach HOW running R".
#include <cstdlib>

#include "test_library.h"

namespace {

using test_library::record;

int calls = 0;
int depth = 0;

struct DelayedClose {
    HWND owner;
    DWORD at;  // tick count
};

DWORD WINAPI postLater(void* parameter)
{
    const DelayedClose close = *static_cast<DelayedClose*>(parameter);
    std::free(parameter);
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(close.at - now) > 0)
        Sleep(close.at - now);
    PostMessageA(close.owner, WM_CLOSE, 0, 0);
    FreeLibraryAndExitThread(test_library::self, 0);
}

// The call's line of verifier.txt, or the last line when there are fewer.
bool readScript(int call, char* line, size_t size)
{
    char folder[MAX_PATH], name[MAX_PATH], path[MAX_PATH + 16];
    test_library::ownPath(folder, sizeof folder, name, sizeof name);
    std::snprintf(path, sizeof path, "%sverifier.txt", folder);
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    bool found = false;
    char buffer[256];
    for (int n = 1; n <= call && std::fgets(buffer, sizeof buffer, file); ++n) {
        buffer[std::strcspn(buffer, "\r\n")] = '\0';
        std::snprintf(line, size, "%s", buffer);
        found = true;
    }
    std::fclose(file);
    return found;
}

void scheduleClose(HWND owner, DWORD delay)
{
    auto* close = static_cast<DelayedClose*>(std::malloc(sizeof(DelayedClose)));
    *close = {owner, GetTickCount() + delay};
    HMODULE held = nullptr;  // the thread keeps the library loaded until it ends
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&postLater), &held);
    if (HANDLE thread = CreateThread(nullptr, 0, postLater, close, 0, nullptr))
        CloseHandle(thread);
}

void closeInside(HWND owner)
{
    PostMessageA(owner, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, owner, WM_CLOSE, WM_CLOSE, PM_REMOVE))
        DispatchMessageA(&message);
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    const int call = ++calls;
    ++depth;
    char ownerClass[64] = {};
    GetClassNameA(owner, ownerClass, sizeof ownerClass);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    record("call %d tick %lu depth %d running %d owner %s", call, GetTickCount(), depth, running ? 1 : 0,
           ownerClass);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW

    char script[256] = "grant";
    readScript(call, script, sizeof script);
    const BOOL answer = std::strncmp(script, "grant", 5) == 0;
    for (char* word = std::strtok(script, " "); word; word = std::strtok(nullptr, " ")) {
        if (std::strncmp(word, "close+", 6) == 0)
            scheduleClose(owner, static_cast<DWORD>(std::atoi(word + 6)));
        else if (std::strcmp(word, "nested") == 0)
            closeInside(owner);
        else if (std::strcmp(word, "fault") == 0)
            *static_cast<volatile int*>(nullptr) = 1;
    }
    record("return %d %s tick %lu", call, answer ? "grant" : "refuse", GetTickCount());
    --depth;
    return answer;
}

// Detach also records the running state: the saver must clear it first.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    if (reason == DLL_PROCESS_DETACH)
        record("detach %s running %d", reserved ? "exit" : "free", running ? 1 : 0);
    else
        test_library::onDllMain(instance, reason, reserved);
    return TRUE;
}
