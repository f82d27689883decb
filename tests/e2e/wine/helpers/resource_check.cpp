// Checks the resources compiled into the saver: the string table, the icon,
// the bitmaps' sizes and formats, and dialog 2003 item by item as windres
// wrote it (the short rc statements add styles of their own), and the
// version information.
//
//   resource_check SAVER-PATH        exit 0 when everything matches
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "common/resources.h"

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAIL %s\n", what.c_str());
        ++failures;
    }
}

void checkStrings(HMODULE module)
{
    const struct {
        unsigned id;
        const char* text;
    } strings[] = {{IDS_DESCRIPTION, "Quelmar 3D Screen Saver"},
                   {IDS_INIFILE, "Quelmar.ini"},
                   {IDS_SECTION, "Quelmar 3D ScreenSaver"}};
    for (const auto& s : strings) {
        char buffer[64] = {};
        LoadStringA(module, s.id, buffer, sizeof buffer);
        check(std::strcmp(buffer, s.text) == 0, "string " + std::to_string(s.id) + " is '" + buffer + "'");
    }
}

void checkBitmaps(HMODULE module)
{
    const struct {
        int id;
        int width;
        int height;
        DWORD compression;
    } bitmaps[] = {
        {IDB_TITLE, 221, 186, BI_RGB},        {IDB_SHIPNAME, 256, 64, BI_RGB},
        {IDB_WINDOWS, 64, 64, BI_RGB},        {IDB_CUBE, 256, 256, BI_RLE8},
        {IDB_MAKERMARK, 128, 64, BI_RGB},     {IDB_ARROWSTRIPE, 64, 32, BI_RGB},
        {IDB_CAPTION, 256, 16, BI_RLE8},      {IDB_ENERGYPANEL, 64, 256, BI_RGB},
    };
    for (const auto& b : bitmaps) {
        const std::string name = "bitmap " + std::to_string(b.id);
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(b.id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        const auto* header = resource ? static_cast<const BITMAPINFOHEADER*>(
                                            LockResource(LoadResource(module, resource)))
                                      : nullptr;
        check(header != nullptr, name + " is missing");
        if (!header)
            continue;
        check(header->biWidth == b.width && header->biHeight == b.height,
              name + " is " + std::to_string(header->biWidth) + " x " + std::to_string(header->biHeight));
        check(header->biBitCount == 8, name + " has " + std::to_string(header->biBitCount) + " bits per pixel");
        check(header->biCompression == b.compression,
              name + " has compression " + std::to_string(header->biCompression));
        check(header->biClrUsed == 0 || header->biClrUsed == 256,
              name + " has " + std::to_string(header->biClrUsed) + " colours");
    }
}

// ---- Dialog template (DLGTEMPLATEEX) ----------------------------------------

struct Reader {
    const BYTE* p;
    WORD word()
    {
        WORD v;
        std::memcpy(&v, p, 2);
        p += 2;
        return v;
    }
    DWORD dword()
    {
        DWORD v;
        std::memcpy(&v, p, 4);
        p += 4;
        return v;
    }
    short shortValue() { return static_cast<short>(word()); }
    // A string or, after 0xFFFF, an ordinal written as "#n".
    std::string nameOrOrdinal()
    {
        if (reinterpret_cast<const WORD*>(p)[0] == 0xFFFF) {
            word();
            std::string ordinal = "#";
            ordinal += std::to_string(word());
            return ordinal;
        }
        return text();
    }
    std::string text()
    {
        std::string s;
        for (WORD c = word(); c; c = word())
            s += static_cast<char>(c);
        return s;
    }
    void alignDword(const BYTE* base)
    {
        while ((p - base) % 4)
            ++p;
    }
};

struct ItemSpec {
    int id;
    const char* windowClass;  // "#128" button, "#130" static, "#132" scroll bar
    DWORD style;
    const char* text;
    short x, y, w, h;
};

constexpr DWORD Child = WS_CHILD | WS_VISIBLE;
const ItemSpec dialogItems[] = {
    {IDOK, "#128", Child | BS_DEFPUSHBUTTON | WS_TABSTOP, "OK", 71, 194, 50, 14},
    {IDCANCEL, "#128", Child | BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 125, 194, 50, 14},
    {1004, "#132", Child | SBS_HORZ, "", 148, 145, 90, 8},
    {1000, "#132", Child | SBS_HORZ, "", 148, 132, 90, 8},
    {1006, "#132", Child | SBS_HORZ, "", 148, 167, 90, 8},
    {1007, "#132", Child | SBS_HORZ, "", 148, 180, 90, 8},
    {-1, "#130", Child | SS_BITMAP, "#102", 49, 7, 147, 114},
    {-1, "#130", Child | WS_GROUP, "No. of background stars:", 66, 132, 79, 8},
    {-1, "#130", Child | WS_GROUP, "No. of warp lines:", 66, 145, 79, 8},
    {-1, "#130", Child | WS_GROUP, "Camera change pause:", 66, 167, 79, 8},
    {-1, "#130", Child | WS_GROUP, "Warp pause:", 66, 180, 79, 8},
    {-1, "#130", Child | WS_GROUP, "Less", 148, 124, 16, 8},
    {-1, "#130", Child | WS_GROUP, "More", 221, 124, 17, 8},
    {-1, "#130", Child | WS_GROUP, "Short", 148, 159, 18, 8},
    {-1, "#130", Child | WS_GROUP, "Long", 221, 159, 17, 8},
    {-1, "#128", Child | BS_GROUPBOX, "Texture Detail", 7, 127, 57, 49},
    {1013, "#128", Child | BS_AUTORADIOBUTTON, "High", 13, 138, 31, 10},
    {1014, "#128", Child | BS_AUTORADIOBUTTON, "Low", 13, 149, 29, 10},
    {1015, "#128", Child | BS_AUTORADIOBUTTON, "None", 13, 160, 33, 10},
};

void checkDialog(HMODULE module)
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(IDD_SETTINGS), MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    check(resource != nullptr, "dialog 2003 is missing");
    if (!resource)
        return;
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(module, resource)));
    Reader r{base};
    check(r.word() == 1 && r.word() == 0xFFFF, "dialog 2003 is not an extended template of version 1");
    r.dword();  // help id
    check(r.dword() == 0, "dialog extended style");
    const DWORD style = r.dword();
    check(style == (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT),
          "dialog style " + std::to_string(style));
    const WORD count = r.word();
    check(count == sizeof dialogItems / sizeof dialogItems[0], "dialog has " + std::to_string(count) + " items");
    const short x = r.shortValue(), y = r.shortValue(), w = r.shortValue(), h = r.shortValue();
    check(x == 0 && y == 0 && w == 245 && h == 225, "dialog rectangle");
    check(r.nameOrOrdinal().empty(), "dialog menu");
    check(r.nameOrOrdinal().empty(), "dialog class");
    check(r.text() == "Dellmora: Quelmar 3D Screen Saver Settings", "dialog caption");
    check(r.word() == 8, "dialog font size");
    r.word();  // weight
    r.word();  // italic and charset bytes
    check(r.text() == "MS Sans Serif", "dialog font");

    for (int i = 0; i < count && i < static_cast<int>(sizeof dialogItems / sizeof dialogItems[0]); ++i) {
        const ItemSpec& want = dialogItems[i];
        const std::string name = "item " + std::to_string(i) + " (" + want.text + ")";
        r.alignDword(base);
        r.dword();  // help id
        check(r.dword() == 0, name + " extended style");
        const DWORD itemStyle = r.dword();
        check(itemStyle == want.style, name + " style " + std::to_string(itemStyle) + ", want " +
                                           std::to_string(want.style));
        const short ix = r.shortValue(), iy = r.shortValue(), iw = r.shortValue(), ih = r.shortValue();
        check(ix == want.x && iy == want.y && iw == want.w && ih == want.h, name + " rectangle");
        check(static_cast<int>(r.dword()) == want.id, name + " id");
        const std::string itemClass = r.nameOrOrdinal();
        check(itemClass == want.windowClass, name + " class " + itemClass);
        check(r.nameOrOrdinal() == want.text, name + " text");
        r.p += r.word();  // creation data
    }
}

// VERSIONINFO as Explorer and the installer read it: its texts, with both
// version strings equal to the fixed file version.
void checkVersion(const char* path)
{
    static char data[8192];
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &unused);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!size || size > sizeof data || !GetFileVersionInfoA(path, 0, size, data) ||
        !VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &length))
        return check(false, "no VERSIONINFO");
    char version[32];
    std::snprintf(version, sizeof version, "%lu.%lu.%lu.%lu", fixed->dwFileVersionMS >> 16,
                  fixed->dwFileVersionMS & 0xFFFF, fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    check(fixed->dwFileVersionMS != 0, std::string("file version ") + version);
    for (const auto& [key, want] : {std::pair<const char*, const char*>{"ProductName", TEXT_DESCRIPTION},
                                    {"FileDescription", TEXT_DESCRIPTION}, {"FileVersion", version},
                                    {"ProductVersion", version}, {"OriginalFilename", "Quelmar.scr"}}) {
        char* value = nullptr;
        const bool found = VerQueryValueA(data, (std::string("\\StringFileInfo\\040904B0\\") + key).c_str(),
                                          reinterpret_cast<void**>(&value), &length);
        check(found && std::strcmp(value, want) == 0, std::string(key) + " is '" + (found ? value : "") + "'");
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: resource_check SAVER-PATH\n");
        return 2;
    }
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        std::printf("FAIL cannot open %s\n", argv[1]);
        return 1;
    }
    checkStrings(module);
    check(FindResourceA(module, MAKEINTRESOURCEA(IDI_QUELMAR), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */) != nullptr,
          "icon 100 is missing");
    checkBitmaps(module);
    checkDialog(module);
    checkVersion(argv[1]);
    std::printf("%s: %d failures\n", failures ? "FAIL" : "ok", failures);
    return failures ? 1 : 0;
}
