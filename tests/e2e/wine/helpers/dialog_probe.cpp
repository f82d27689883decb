// Reads and drives the running settings dialog from outside, for the Wine
// tests: its controls, where to click on them, and scroll requests sent as a
// bar would send them.
//
//   dialog_probe controls          "dialog owner TITLE|none", then one line per
//                                  control in template order:
//                                  "ID CLASS "TEXT" [range MIN MAX pos P page N]
//                                  [check C]"; a picture's text is its size
//   dialog_probe spot ID PART      screen "X Y" of a part of scroll bar ID:
//                                  lineleft, lineright, pageleft, pageright,
//                                  thumb; or of button ID: centre
//   dialog_probe closebox          screen "X Y" of the caption's close box
//   dialog_probe scroll ID CODE [POS]
//                                  sends WM_HSCROLL (CODE, POS) from bar ID to
//                                  the dialog and prints "pos P track T" after
//   dialog_probe pos ID            prints "pos P track T" of scroll bar ID:
//                                  its position and its thumb's while dragged
//
// Exits with 1 when there is no dialog.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* Caption = "Dellmora: Quelmar 3D Screen Saver Settings";

int usage()
{
    std::fprintf(stderr, "usage: dialog_probe controls | spot ID PART | closebox | scroll ID CODE [POS] | pos ID\n");
    return 2;
}

// The bar's range, position and tracking position (SBM_GETSCROLLINFO is
// carried across processes, SBM_GETSCROLLBARINFO is not).
SCROLLINFO scrollInfo(HWND bar)
{
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    SendMessageA(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
    return info;
}

void printPosition(HWND bar)
{
    const SCROLLINFO info = scrollInfo(bar);
    std::printf("pos %d track %d\n", info.nPos, info.nTrackPos);
}

void printControls(HWND dialog)
{
    const HWND owner = GetWindow(dialog, GW_OWNER);
    char title[128] = "none";
    if (owner)
        GetWindowTextA(owner, title, sizeof title);
    std::printf("dialog owner %s\n", title);
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char className[64] = {}, text[128] = {};
        GetClassNameA(control, className, sizeof className);
        const LONG style = GetWindowLongA(control, GWL_STYLE);
        if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) {
            RECT r{};
            GetWindowRect(control, &r);  // the control takes the picture's size
            std::snprintf(text, sizeof text, "bitmap %ldx%ld", r.right - r.left, r.bottom - r.top);
        } else {
            GetWindowTextA(control, text, sizeof text);
        }
        std::printf("%d %s \"%s\"", GetDlgCtrlID(control), className, text);
        if (lstrcmpiA(className, "ScrollBar") == 0) {
            const SCROLLINFO info = scrollInfo(control);
            std::printf(" range %d %d pos %d page %u", info.nMin, info.nMax, info.nPos, info.nPage);
        }
        if (lstrcmpiA(className, "Button") == 0 && (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
            std::printf(" check %ld", static_cast<long>(SendMessageA(control, BM_GETCHECK, 0, 0)));
        std::printf("\n");
    }
}

bool printSpot(HWND dialog, int id, const char* part)
{
    const HWND control = GetDlgItem(dialog, id);
    if (!control)
        return false;
    RECT r{};
    GetWindowRect(control, &r);
    const int midY = (r.top + r.bottom) / 2;
    if (std::strcmp(part, "centre") == 0) {
        std::printf("%ld %d\n", (r.left + r.right) / 2, midY);
        return true;
    }
    // The platform's layout of a horizontal bar without a page size: an arrow
    // of SM_CXHSCROLL at each end, a thumb of SM_CXHTHUMB placed along the
    // rest by position.
    const SCROLLINFO info = scrollInfo(control);
    const int width = r.right - r.left;
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const int thumb = GetSystemMetrics(SM_CXHTHUMB);
    const int track = width - 2 * arrow - thumb;
    if (track <= 0 || info.nMax <= info.nMin)
        return false;
    const int thumbLeft = arrow + MulDiv(track, info.nPos - info.nMin, info.nMax - info.nMin);
    const int thumbRight = thumbLeft + thumb;
    int x;
    if (std::strcmp(part, "lineleft") == 0)
        x = arrow / 2;
    else if (std::strcmp(part, "lineright") == 0)
        x = width - arrow / 2 - 1;
    else if (std::strcmp(part, "pageleft") == 0)
        x = (arrow + thumbLeft) / 2;
    else if (std::strcmp(part, "pageright") == 0)
        x = (thumbRight + width - arrow) / 2;
    else if (std::strcmp(part, "thumb") == 0)
        x = (thumbLeft + thumbRight) / 2;
    else
        return false;
    std::printf("%ld %d\n", r.left + x, midY);
    return true;
}

// The close box is where the frame answers HTCLOSE: scan the caption row.
bool printCloseBox(HWND dialog)
{
    RECT r{};
    GetWindowRect(dialog, &r);
    for (int y = r.top; y < r.top + 40; ++y) {
        for (int x = r.right - 1; x > r.right - 80; --x) {
            if (SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE)
                continue;
            int left = x;
            while (SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y)) == HTCLOSE)
                --left;
            std::printf("%d %d\n", (left + x) / 2, y + 3);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const HWND dialog = FindWindowA(MAKEINTATOM(32770), Caption);
    if (!dialog) {
        std::printf("no dialog\n");
        return 1;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "controls") == 0 && argc == 2) {
        printControls(dialog);
        return 0;
    }
    if (std::strcmp(command, "closebox") == 0 && argc == 2)
        return printCloseBox(dialog) ? 0 : 1;
    if (argc < 3)
        return usage();
    const int id = std::atoi(argv[2]);
    const HWND bar = GetDlgItem(dialog, id);
    if (std::strcmp(command, "spot") == 0 && argc == 4)
        return printSpot(dialog, id, argv[3]) ? 0 : 1;
    if (std::strcmp(command, "pos") == 0 && argc == 3 && bar) {
        printPosition(bar);
        return 0;
    }
    if (std::strcmp(command, "scroll") == 0 && argc >= 4 && bar) {
        const int code = std::atoi(argv[3]);
        const int position = argc > 4 ? std::atoi(argv[4]) : 0;
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
        printPosition(bar);
        return 0;
    }
    return usage();
}
