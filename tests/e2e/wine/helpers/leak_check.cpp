// Runs the settings dialog and the password operations of the Windows 95
// family over and over in one process, on every path, and checks that
// nothing they open stays open: the thread's windows, the process's kernel
// handles (registry keys among them) and the stand-in libraries.
//
//   leak_check ROUNDS
//
// Run from a folder that holds the PASSWORD.CPL and MPR.DLL stand-ins (with
// mpr=n,b), whose verifier.txt says "refuse". Each round opens the dialog
// four times (OK, Cancel, Escape, close box, after a scroll request each),
// and for each "ScreenSaveUsePassword" setting (1, 0, missing, 5 bytes) loads
// the verifier, asks it twice (once within 200 ms) and unloads it; then the
// change-password call. Prints the counts before and after; exits 0 when they
// match and every library loaded was freed.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "common/platform.h"
#include "host/win32/win32_host.h"

namespace {

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* UsePasswordValue = "ScreenSaveUsePassword";
constexpr UINT_PTR EndDialogTimer = 1;

enum class DialogEnd { Ok, Cancel, Escape, CloseBox };
DialogEnd dialogEnd = DialogEnd::Ok;
HHOOK cbtHook = nullptr;

// The dialog is driven from its own activation: a scroll request, then the
// chosen way out, all posted so that the modal loop runs them.
LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        const HWND dialog = reinterpret_cast<HWND>(wParam);
        const HWND bar = GetDlgItem(dialog, 1000);
        if (bar) {
            PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(bar));
            switch (dialogEnd) {
            case DialogEnd::Ok:
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                break;
            case DialogEnd::Cancel:
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                break;
            case DialogEnd::Escape:
                PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            case DialogEnd::CloseBox:
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                break;
            }
        }
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int threadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Kernel handles are multiples of 4; a closed one has no information.
int openHandles()
{
    int count = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    }
    return count;
}

void setUsePassword(int variant)
{
    HKEY desktop = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &desktop, nullptr))
        return;
    const DWORD one = 1, zero = 0;
    const BYTE fiveBytes[5] = {1, 0, 0, 0, 1};
    switch (variant) {
    case 0:
        RegSetValueExA(desktop, UsePasswordValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4);
        break;
    case 1:
        RegSetValueExA(desktop, UsePasswordValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), 4);
        break;
    case 2:
        RegDeleteValueA(desktop, UsePasswordValue);
        break;
    default:
        RegSetValueExA(desktop, UsePasswordValue, 0, REG_BINARY, fiveBytes, sizeof fiveBytes);
        break;
    }
    RegCloseKey(desktop);
}

LRESULT CALLBACK saverLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultSaverProc(window, message, wParam, lParam);
}

bool runRound(HWND window)
{
    bool ok = true;
    for (DialogEnd end : {DialogEnd::Ok, DialogEnd::Cancel, DialogEnd::Escape, DialogEnd::CloseBox}) {
        dialogEnd = end;
        if (ShowSettingsDialog(nullptr) != 1) {
            std::printf("FAIL the dialog did not end with 1\n");
            ok = false;
        }
    }
    for (int variant = 0; variant < 4; ++variant) {
        setUsePassword(variant);
        password = {};
        LoadPasswordVerifier();
        if ((password.PasswordVerifier != nullptr) != (variant == 0)) {
            std::printf("FAIL setting %d: verifier %s\n", variant, password.PasswordVerifier ? "loaded" : "missing");
            ok = false;
        }
        CheckPasswordOnClose(window);
        CheckPasswordOnClose(window);  // within 200 ms: no second dialog
        UnloadPasswordVerifier();
    }
    RunPasswordChange("");
    return ok;
}

// Lines of the stand-ins' calls.log (beside this program) that hold needle.
int countLines(const char* needle)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\'))
        std::strcpy(slash + 1, "calls.log");
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return 0;
    int count = 0;
    char line[256];
    while (std::fgets(line, sizeof line, file))
        count += std::strstr(line, needle) != nullptr;
    std::fclose(file);
    return count;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 10;
    saverHost.module = GetModuleHandleA(nullptr);
    programModule = saverHost.module;
    saverHost.Win9xPlatform = true;  // the password operations act only there
    cbtHook = SetWindowsHookExA(WH_CBT, onActivate, nullptr, GetCurrentThreadId());

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = saverLikeProc;
    windowClass.hInstance = saverHost.module;
    windowClass.lpszClassName = "LeakCheckSaver";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, "LeakCheckSaver", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        saverHost.module, nullptr);

    bool ok = runRound(window);  // the first round loads what stays loaded anyway
    const int windowsBefore = threadWindows(), handlesBefore = openHandles();
    for (int n = 0; n < rounds; ++n)
        ok = runRound(window) && ok;
    const int windowsAfter = threadWindows(), handlesAfter = openHandles();

    std::printf("rounds %d\n", rounds + 1);
    std::printf("thread windows %d before, %d after\n", windowsBefore, windowsAfter);
    std::printf("kernel handles %d before, %d after\n", handlesBefore, handlesAfter);
    const int verifierLoads = countLines("PASSWORD.CPL attach"), verifierFrees = countLines("PASSWORD.CPL detach free");
    const int mprLoads = countLines("MPR.DLL attach"), mprFrees = countLines("MPR.DLL detach free");
    std::printf("PASSWORD.CPL loaded %d, freed %d, asked %d\n", verifierLoads, verifierFrees,
                countLines("PASSWORD.CPL call"));
    std::printf("MPR.DLL loaded %d, freed %d, called %d\n", mprLoads, mprFrees, countLines("MPR.DLL change"));
    ok = ok && windowsBefore == windowsAfter && handlesBefore == handlesAfter;
    ok = ok && verifierLoads == rounds + 1 && verifierFrees == verifierLoads;
    ok = ok && countLines("PASSWORD.CPL call") == rounds + 1;
    ok = ok && mprLoads == rounds + 1 && mprFrees == mprLoads;
    ok = ok && !GetModuleHandleA("PASSWORD.CPL");
    DestroyWindow(window);
    UnhookWindowsHookEx(cbtHook);
    std::printf("%s\n", ok ? "ok" : "FAIL");
    return ok ? 0 : 1;
}
