// The Wine suites' one Windows program: each command looks at the saver from
// outside, or runs the saver's own code, which is linked in. WINDOW is saver,
// glchild, dialog, #ID (a control of the dialog) or a title; a number may be
// #ID, for that control's handle.
//   launch FILE SAVER    runs each line as an exact command line ("%SCR%" is SAVER)
//   send WINDOW MESSAGE [WPARAM [LPARAM]] | send WINDOW settext TEXT
//   box TITLE | running | cursor | leave | dialog | spot ID PART | spot dialog closebox
//   windows              two 320x240 popups, "Quelmar test owner" in front
//   size WINDOW W H      resizes it
//   resources SAVER DIR  the resources, then any texture that differs from DIR's asset
//   leak ROUNDS
//   save 0|1|loop        saves the defaults or a second set, or both in turn until killed
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/platform.h"
#include "common/resources.h"
#include "host/host.h"
#include "host/win32/win32_host.h"
#include "settings/settings.h"
#include "textures/textures.h"

namespace {

bool is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

HWND windowOf(const char* name)
{
    const HWND saver = FindWindowA(SaverClassName, FullScreenTitle);
    const HWND dialog = FindWindowA("#32770", "Dellmora: Quelmar 3D Screen Saver Settings");
    if (is(name, "saver") || is(name, "glchild"))
        return saver && is(name, "glchild") ? FindWindowExA(saver, nullptr, "OpenGL Window", nullptr) : saver;
    if (is(name, "dialog") || name[0] == '#')
        return name[0] == '#' ? GetDlgItem(dialog, std::atoi(name + 1)) : dialog;
    return FindWindowA(nullptr, name);
}

long long number(const char* text)
{
    return text[0] == '#' ? reinterpret_cast<intptr_t>(windowOf(text)) : std::strtoll(text, nullptr, 0);
}

int launch(const char* file, const std::string& saver)
{
    std::ifstream lines(file, std::ios::binary);
    for (std::string line; std::getline(lines, line);) {
        for (size_t at; (at = line.find("%SCR%")) != std::string::npos;)
            line.replace(at, 5, saver);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        DWORD code = static_cast<DWORD>(-1000);
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            WaitForSingleObject(process.hProcess, INFINITE), GetExitCodeProcess(process.hProcess, &code);
        std::printf("exit %d\n", static_cast<int>(code));
        std::fflush(stdout);
    }
    return 0;
}

int send(int argc, char** argv)
{
    const HWND window = windowOf(argv[2]);
    if (!window)
        return std::printf("FAIL no window %s\n", argv[2]), 1;
    const bool text = is(argv[3], "settext");
    const WPARAM wParam = static_cast<WPARAM>(argc > 4 && !text ? number(argv[4]) : 0);
    const LPARAM lParam = text ? reinterpret_cast<LPARAM>(argv[4]) : static_cast<LPARAM>(argc > 5 ? number(argv[5]) : 0);
    const LRESULT result = SendMessageA(window, text ? WM_SETTEXT : static_cast<UINT>(number(argv[3])), wParam, lParam);
    char title[64] = {};
    GetWindowTextA(FindWindowA(SaverClassName, nullptr), title, sizeof title);
    std::printf("result %lld title %s\n", static_cast<long long>(result), title);
    return 0;
}

int readBox(const char* title)
{
    const HWND box = FindWindowA("#32770", title);
    if (!box)
        return std::printf("FAIL no box titled %s\n", title), 1;
    char text[256] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    const bool icon = SendDlgItemMessageA(box, 0x0440, STM_GETICON, 0, 0) != 0;
    std::printf("text %s|icon %s|owner %s|\n", text, icon ? "yes" : "no", GetWindow(box, GW_OWNER) ? "yes" : "none");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_CONTEXTMENU)
        return DefWindowProcA(window, message, wParam, lParam);
    char title[64] = {};
    GetWindowTextA(reinterpret_cast<HWND>(wParam), title, sizeof title);
    std::printf("contextmenu %s\n", title);
    std::fflush(stdout);
    return 0;
}

int showTestWindows()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "QuelmarTestWindow";
    RegisterClassA(&windowClass);
    HWND windows[2];
    for (int i = 0; i < 2; ++i)
        windows[i] = CreateWindowExA(0, windowClass.lpszClassName, i ? "Quelmar test owner" : "Quelmar test other",
                                     WS_POPUP | WS_VISIBLE, 40 + 360 * i, 40, 320, 240, nullptr, nullptr, nullptr,
                                     nullptr);
    SetForegroundWindow(windows[1]);
    std::printf("owner %lu other %lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(windows[1])),
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(windows[0])));
    std::fflush(stdout);
    for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;)
        DispatchMessageA(&message);
    return 0;
}

// ---- The settings dialog ----------------------------------------------------

// Wine carries SBM_GETSCROLLINFO across processes, not SBM_GETSCROLLBARINFO.
SCROLLINFO scrollInfo(HWND bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    SendMessageA(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

int printDialogState()
{
    const HWND dialog = windowOf("dialog");
    char title[128] = "none";
    if (const HWND owner = GetWindow(dialog, GW_OWNER))
        GetWindowTextA(owner, title, sizeof title);
    std::printf("owner %s bars", dialog ? title : "(no dialog)");
    for (int id : {1000, 1004, 1006, 1007})
        std::printf(" %d", scrollInfo(GetDlgItem(dialog, id)).nPos);
    std::printf(" checks %u %u %u\n", IsDlgButtonChecked(dialog, 1013), IsDlgButtonChecked(dialog, 1014),
                IsDlgButtonChecked(dialog, 1015));
    return dialog ? 0 : 1;
}

// The close box is where the frame answers HTCLOSE: scan the caption row.
int printCloseBox(HWND dialog, const RECT& r)
{
    const auto closeAt = [&](int x, int y) { return SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE; };
    for (int y = r.top; y < r.top + 40; ++y)
        for (int x = r.right - 1; x > r.right - 80; --x)
            if (closeAt(x, y)) {
                int left = x;
                while (closeAt(left - 1, y))
                    --left;
                return std::printf("%d %d\n", (left + x) / 2, y + 3), 0;
            }
    return 1;
}

// A horizontal bar without a page size: an arrow of SM_CXHSCROLL at each
// end, a thumb of SM_CXHTHUMB placed along the rest by position.
int printSpot(HWND control, const char* part)
{
    RECT r{};
    if (!GetWindowRect(control, &r))
        return 1;
    if (is(part, "closebox"))
        return printCloseBox(control, r);
    const SCROLLINFO info = scrollInfo(control);
    const int width = r.right - r.left, arrow = GetSystemMetrics(SM_CXHSCROLL), thumb = GetSystemMetrics(SM_CXHTHUMB);
    const int left = info.nMax > info.nMin
                         ? arrow + MulDiv(width - 2 * arrow - thumb, info.nPos - info.nMin, info.nMax - info.nMin)
                         : 0;
    const struct {
        const char* name;
        int x;
    } parts[] = {{"centre", width / 2},          {"lineleft", arrow / 2},
                 {"lineright", width - arrow / 2 - 1}, {"pageleft", (arrow + left) / 2},
                 {"pageright", (left + thumb + width - arrow) / 2}, {"thumb", left + thumb / 2}};
    for (const auto& p : parts)
        if (is(part, p.name))
            return std::printf("%ld %ld\n", r.left + p.x, (r.top + r.bottom) / 2), 0;
    return 1;
}

// ---- Resources and textures ----------------------------------------------------

// Prints a DLGTEMPLATEEX's fields in file order, as `fields` names them: "LABEL:KIND"
// with KIND x (WORD, hex), X (DWORD, hex), n (WORD), i (DWORD, signed), r (four
// signed WORDs) or t (text or ordinal). Returns where it stopped.
const BYTE* printFields(const BYTE* p, const char* fields, unsigned* count)
{
    const auto word = [&p] { return p += 2, static_cast<unsigned>(p[-2] | p[-1] << 8); };
    const auto text = [&] {
        std::string s;
        if (p[0] == 0xFF && p[1] == 0xFF)
            return word(), s.append("#").append(std::to_string(word()));
        for (unsigned c = word(); c; c = word())
            s += static_cast<char>(c);
        return s;
    };
    char label[32], kind;
    for (int used; std::sscanf(fields, " %31[^:]:%c%n", label, &kind, &used) == 2; fields += used) {
        std::printf(" %s", label);
        if (kind == 'x' || kind == 'n') {
            const unsigned value = word();
            kind == 'x' ? std::printf(" %X", value) : std::printf(" %u", *count = value);
        } else if (kind == 'X' || kind == 'i') {
            const unsigned long low = word(), value = low | static_cast<unsigned long>(word()) << 16;
            kind == 'X' ? std::printf(" %lX", value) : std::printf(" %d", static_cast<int>(value));
        } else if (kind == 'r') {
            for (int i = 0; i < 4; ++i)
                std::printf(" %d", static_cast<short>(word()));
        } else {
            std::printf(" \"%s\"", text().c_str());
        }
    }
    return p;
}

void printDialogTemplate(HMODULE module)
{
    const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_SETTINGS), MAKEINTRESOURCEA(5));
    const BYTE* base = resource ? static_cast<const BYTE*>(LockResource(LoadResource(module, resource))) : nullptr;
    if (!base)
        return void(std::printf("no dialog %d\n", IDD_SETTINGS));
    unsigned count = 0, unused = 0;
    std::printf("dialog %X", base[0] | base[1] << 8);
    const BYTE* p = printFields(base + 2, "signature:x help:X exstyle:X style:X items:n at:r menu:t class:t caption:t "
                                          "font:x weight:x italic-charset:x face:t", &count);
    for (unsigned i = 0; i < count; ++i) {
        std::printf("\nitem");
        p = printFields(p + (4 - (p - base) % 4) % 4, "help:X exstyle:X style:X at:r id:i class:t text:t", &unused);
        const unsigned extra = p[0] | p[1] << 8;
        std::printf(" data %u", extra);
        p += 2 + extra;
    }
    std::printf("\n");
}

// Each texture by LoadBitmapA and GetPixel against the portable decoder's
// reading of the asset it was built from; prints the ones that differ.
int compareTextures(HMODULE saver, const std::string& folder)
{
    programModule = saver;
    const struct {
        int id;
        const char* file;
    } assets[] = {{IDB_CUBE, "cube"},         {IDB_SHIPNAME, "shipname"},       {IDB_WINDOWS, "windows"},
                  {IDB_MAKERMARK, "makermark"}, {IDB_ARROWSTRIPE, "arrowstripe"}, {IDB_CAPTION, "caption"},
                  {IDB_ENERGYPANEL, "energypanel"}};
    int failures = 0;
    for (const TextureSpec& texture : textureSet)
        for (const auto& asset : assets) {
            if (asset.id != texture.resourceId)
                continue;
            std::ifstream in(folder + "\\" + asset.file + ".bmp", std::ios::binary);
            const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), {}};
            const size_t size = static_cast<size_t>(texture.width) * texture.height * 4;
            std::vector<unsigned char> windows(size, 0xCD), portable(size, 0xAB);
            const bool read = programModule && platformReadBitmap(programModule, texture.resourceId, texture.width,
                                                                  texture.height, texture.colourKey, windows.data());
            const BitmapStatus status = decodeBitmap(file.data(), file.size(), texture.width, texture.height,
                                                     texture.colourKey, portable.data());
            if (!read || status != BitmapStatus::Ok || windows != portable)
                ++failures, std::printf("%s.bmp: %s\n", asset.file, read ? bitmapStatusText(status) : "not read");
        }
    if (std::size(textureSet) != std::size(assets))
        return std::printf("%zu textures, %zu assets\n", std::size(textureSet), std::size(assets)), 1;
    return failures ? 1 : 0;
}

int printResources(const char* path, const char* assets)
{
    const HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    std::printf("strings");
    for (unsigned id : {IDS_DESCRIPTION, IDS_INIFILE, IDS_SECTION}) {
        char text[64] = {};
        LoadStringA(module, id, text, sizeof text);
        std::printf(" %u \"%s\"", id, text);
    }
    const bool icon = FindResourceA(module, MAKEINTRESOURCEA(IDI_QUELMAR), MAKEINTRESOURCEA(14)) != nullptr;
    std::printf("\nicon %d %s\n", IDI_QUELMAR, icon ? "yes" : "no");
    printDialogTemplate(module);
    static char data[8192];
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    if (!size || size > sizeof data || !GetFileVersionInfoA(path, 0, size, data) ||
        !VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length))
        return std::printf("no VERSIONINFO\n"), 0;
    std::printf("version");
    char version[32];
    std::snprintf(version, sizeof version, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16,
                  fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    for (const char* key : {"CompanyName", "FileDescription", "FileVersion", "InternalName", "OriginalFilename",
                            "ProductName", "ProductVersion"}) {
        char* value = nullptr;
        const bool found = VerQueryValueA(data, (std::string("\\StringFileInfo\\040904B0\\") + key).c_str(),
                                          reinterpret_cast<void**>(&value), &length);
        std::printf(" %s \"%s\"", key, !found ? "(none)" : is(value, version) ? "(the file version)" : value);
    }
    std::printf("\n");
    return compareTextures(module, assets);
}

// ---- Leaks ------------------------------------------------------------------

// The dialog ends from its own activation: a scroll request, then this
// round's way out, posted so that the modal loop runs them.
UINT dialogEnd[2];
HHOOK activationHook = nullptr;

LRESULT CALLBACK onActivate(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND dialog = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && GetDlgItem(dialog, 1000)) {
        PostMessageA(dialog, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1000)));
        PostMessageA(dialog, dialogEnd[0], dialogEnd[1], 0);
    }
    return CallNextHookEx(activationHook, code, wParam, lParam);
}

BOOL CALLBACK countWindow(HWND, LPARAM count) { return ++*reinterpret_cast<int*>(count), TRUE; }
LRESULT CALLBACK saverLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultSaverProc(window, message, wParam, lParam);
}

// The thread's windows and the process's kernel handles (multiples of 4; a
// closed one has no information).
std::pair<int, int> counts()
{
    int windows = 0, handles = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windows));
    DWORD flags;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        handles += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return {windows, handles};
}

// 32-bit Wine keeps a handle for every load of a library from outside the
// system folder, whoever loads it: the handles that `rounds` bare loads of
// copies of both stand-ins leave are what the rounds may leave.
int handlesLeftByLoads(int rounds)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string folder(path, std::strrchr(path, '\\') + 1), copies[] = {folder + "BARE1.DLL", folder + "BARE2.DLL"};
    CopyFileA((folder + "PASSWORD.CPL").c_str(), copies[0].c_str(), FALSE);
    CopyFileA((folder + "MPR.DLL").c_str(), copies[1].c_str(), FALSE);
    const int before = counts().second;
    for (int n = 0; n < rounds; ++n)
        for (const std::string& copy : copies)
            FreeLibrary(LoadLibraryA(copy.c_str()));
    return counts().second - before;
}

// A round: the dialog ended four ways; for each ScreenSaveUsePassword (1, 0,
// missing, 5 bytes) the verifier loaded, asked twice (the second time within
// 200 ms) and unloaded; then the change-password call.
bool leakRound(HWND window)
{
    const UINT ends[][2] = {{WM_COMMAND, IDOK}, {WM_COMMAND, IDCANCEL}, {WM_KEYDOWN, VK_ESCAPE}, {WM_SYSCOMMAND, SC_CLOSE}};
    bool ok = true;
    for (const auto& end : ends) {
        std::memcpy(dialogEnd, end, sizeof dialogEnd);
        ok = ShowSettingsDialog(nullptr) == 1 && ok;
    }
    const BYTE values[][5] = {{1}, {0}, {}, {1, 0, 0, 0, 1}};
    for (int variant = 0; variant < 4; ++variant) {
        HKEY desktop = nullptr;
        RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop);
        RegDeleteValueA(desktop, "ScreenSaveUsePassword");
        if (variant != 2)
            RegSetValueExA(desktop, "ScreenSaveUsePassword", 0, variant == 3 ? REG_BINARY : REG_DWORD,
                           values[variant], variant == 3 ? 5 : 4);
        RegCloseKey(desktop);
        password = {};
        LoadPasswordVerifier();
        ok = (password.PasswordVerifier != nullptr) == (variant == 0) && ok;
        CheckPasswordOnClose(window);
        CheckPasswordOnClose(window);
        UnloadPasswordVerifier();
    }
    RunPasswordChange("");
    return ok;
}

// Rounds after the first must leave as many windows and kernel handles; the
// stand-ins' calls.log tells the suite how often each was loaded and freed.
int checkLeaks(int rounds)
{
    programModule = saverHost.module = GetModuleHandleA(nullptr);
    saverHost.Win9xPlatform = true;  // the password operations act only there
    activationHook = SetWindowsHookExA(WH_CBT, onActivate, nullptr, GetCurrentThreadId());
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = saverLikeProc;
    windowClass.lpszClassName = "LeakCheckSaver";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    bool ok = leakRound(window);  // the first round loads what stays loaded anyway
    const auto before = counts();
    for (int n = 0; n < rounds; ++n)
        ok = leakRound(window) && ok;
    const auto after = counts();
    const int platform = handlesLeftByLoads(rounds);
    ok = ok && after.first == before.first && after.second - before.second == platform && !GetModuleHandleA("PASSWORD.CPL");
    std::printf("%d windows, %d handles before, %d windows, %d handles after (the platform's own loads leave %d): %s\n",
                before.first, before.second, after.first, after.second, platform, ok ? "ok" : "FAIL");
    return ok ? 0 : 1;
}

int save(const char* what)
{
    programModule = GetModuleHandleA(nullptr);
    const SaverSettings sets[2] = {{}, {450, 460, 45, 46, 1}};
    const bool loop = is(what, "loop") && std::puts("saving") >= 0 && std::fflush(stdout) == 0;
    for (int n = loop ? 0 : std::atoi(what) & 1; loop; ++n)
        settings = sets[n % 2], saveSettings();
    return settings = sets[std::atoi(what) & 1], saveSettings() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const char* command = argc > 1 ? argv[1] : "";
    BOOL running = FALSE;
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    if (is(command, "launch") && argc == 4)
        return launch(argv[2], argv[3]);
    if (is(command, "send") && argc >= 4)
        return send(argc, argv);
    if (is(command, "box") && argc == 3)
        return readBox(argv[2]);
    if (is(command, "running") && SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0))
        return std::printf("running %d\n", running ? 1 : 0), 0;
    if (is(command, "cursor") && GetCursorInfo(&cursor))
        return std::printf("cursor %s\n", cursor.hCursor ? "shown" : "hidden"), 0;
    if (is(command, "leave"))
        return saverHost.Win9xPlatform = true, SetSaverRunningFlag(true), 0;
    if (is(command, "windows"))
        return showTestWindows();
    if (is(command, "dialog"))
        return printDialogState();
    if (is(command, "size") && argc == 5)
        return !SetWindowPos(windowOf(argv[2]), nullptr, 0, 0, std::atoi(argv[3]), std::atoi(argv[4]), SWP_NOMOVE);
    if (is(command, "spot") && argc == 4)
        return printSpot(windowOf(argv[2]), argv[3]);
    if (is(command, "resources") && argc == 4)
        return printResources(argv[2], argv[3]);
    if (is(command, "save") && argc == 3)
        return save(argv[2]);
    if (is(command, "leak") && argc == 3)
        return checkLeaks(std::atoi(argv[2]));
    std::fprintf(stderr, "probe: unknown command or arguments (see probe.cpp)\n");
    return 2;
}
