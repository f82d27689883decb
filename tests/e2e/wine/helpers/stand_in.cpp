// Stand-ins for the desktop's PASSWORD.CPL (STAND_IN_VERIFIER) and MPR.DLL,
// put beside the saver. Each records its calls in calls.log beside its file,
// under the name it was loaded by. Line N of verifier.txt (the last one for
// later calls) scripts the N-th verification: "grant" or "refuse", then any of
// close+MS (post WM_CLOSE to the owner MS ms later), nested (post and dispatch
// one inside the call, as a modal dialog would), fault.
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HMODULE self = nullptr;

// This library's folder (with its backslash) and file name.
std::string ownPath(bool folder)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, sizeof path);
    const char* name = std::strrchr(path, '\\') + 1;
    return folder ? std::string(path, static_cast<size_t>(name - path)) : std::string(name);
}

void record(const char* format, ...)
{
    FILE* file = std::fopen((ownPath(true) + "calls.log").c_str(), "ab");
    if (!file)
        return;
    std::fprintf(file, "%s ", ownPath(false).c_str());
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputs("\n", file);
    std::fclose(file);
}

int runningState()
{
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running ? 1 : 0;
}

} // namespace

#ifdef STAND_IN_VERIFIER
namespace {

int calls = 0;
int depth = 0;

struct DelayedClose {
    HWND owner;
    DWORD at;  // tick count
};

// The thread holds its own reference to the library until it ends.
DWORD WINAPI postLater(void* parameter)
{
    const DelayedClose close = *static_cast<DelayedClose*>(parameter);
    std::free(parameter);
    if (static_cast<LONG>(close.at - GetTickCount()) > 0)
        Sleep(close.at - GetTickCount());
    PostMessageA(close.owner, WM_CLOSE, 0, 0);
    FreeLibraryAndExitThread(self, 0);
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner)
{
    const int call = ++calls;
    ++depth;
    char ownerClass[64] = {};
    GetClassNameA(owner, ownerClass, sizeof ownerClass);
    record("call %d tick %lu depth %d running %d owner %s", call, GetTickCount(), depth, runningState(), ownerClass);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // the platform's dialog shows the arrow

    char script[256] = "grant";
    if (FILE* file = std::fopen((ownPath(true) + "verifier.txt").c_str(), "rb")) {
        char line[256];
        for (int n = 1; n <= call && std::fgets(line, sizeof line, file); ++n)
            std::snprintf(script, sizeof script, "%.*s", static_cast<int>(std::strcspn(line, "\r\n")), line);
        std::fclose(file);
    }
    const BOOL answer = std::strncmp(script, "grant", 5) == 0;
    for (char* word = std::strtok(script, " "); word; word = std::strtok(nullptr, " ")) {
        if (std::strncmp(word, "close+", 6) == 0) {
            HMODULE held = nullptr;
            GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&postLater), &held);
            auto* close = static_cast<DelayedClose*>(std::malloc(sizeof(DelayedClose)));
            *close = {owner, GetTickCount() + static_cast<DWORD>(std::atoi(word + 6))};
            CloseHandle(CreateThread(nullptr, 0, postLater, close, 0, nullptr));
        } else if (std::strcmp(word, "nested") == 0) {
            PostMessageA(owner, WM_CLOSE, 0, 0);
            for (MSG message; PeekMessageA(&message, owner, WM_CLOSE, WM_CLOSE, PM_REMOVE);)
                DispatchMessageA(&message);
        } else if (std::strcmp(word, "fault") == 0) {
            *static_cast<volatile int*>(nullptr) = 1;
        }
    }
    record("return %d %s tick %lu", call, answer ? "grant" : "refuse", GetTickCount());
    --depth;
    return answer;
}
#else
extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD w, DWORD x)
{
    record("change %s owner %lu %lu %lu", provider ? provider : "(null)",
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(owner)), static_cast<unsigned long>(w),
           static_cast<unsigned long>(x));
    return 0;
}
#endif

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    self = instance;
    if (reason == DLL_PROCESS_ATTACH)
        record("attach");
    else if (reason == DLL_PROCESS_DETACH)
        record("detach %s running %d", reserved ? "exit" : "free", runningState());
    return TRUE;
}
