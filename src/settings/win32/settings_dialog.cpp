#include "settings/win32/settings_dialog.h"

#include <cstdio>

#include "common/resources.h"
#include "common/win32/profile_win32.h"
#include "settings/settings.h"

namespace {

constexpr int ScrollBarCount = 4;
constexpr int32_t LineStep = 10;
constexpr int32_t PageStep = 50;

struct DetailButton {
    int id;
    int32_t textureDetail;
};
constexpr DetailButton detailButtons[] = {{IDC_DETAIL_HIGH, HighTextureDetail}, {IDC_DETAIL_LOW, LowTextureDetail},
                                        {IDC_DETAIL_NONE, NoTextureDetail}};

// The four ranged settings in table order, each with its bar while the
// dialog is open.
struct SettingsDialogState {
    const SettingDescription* rows[ScrollBarCount] = {};
    HWND scrollBars[ScrollBarCount] = {};
    int barCount = 0;
};
SettingsDialogState dialogState;

void fetchScrollBars(HWND dialog)
{
    dialogState.barCount = 0;
    for (const SettingDescription& setting : settingsTable) {
        if (setting.dialogControl == 0 || dialogState.barCount == ScrollBarCount)
            continue;
        dialogState.rows[dialogState.barCount] = &setting;
        dialogState.scrollBars[dialogState.barCount] = GetDlgItem(dialog, setting.dialogControl);
        ++dialogState.barCount;
    }
}

BOOL initialise(HWND dialog)
{
    fetchScrollBars(dialog);
    readSettingsRaw();  // unclamped: an out-of-range value goes back as it came
    for (int bar = 0; bar < dialogState.barCount; ++bar) {
        const SettingDescription& setting = *dialogState.rows[bar];
        SetScrollRange(dialogState.scrollBars[bar], SB_CTL, setting.minimum, setting.maximum, FALSE);
        SetScrollPos(dialogState.scrollBars[bar], SB_CTL, settings.*setting.field, TRUE);
    }
    for (const DetailButton& button : detailButtons)
        if (settings.textureDetail == button.textureDetail)
            CheckDlgButton(dialog, button.id, BST_CHECKED);
    return TRUE;  // the platform sets the default focus
}

BOOL scroll(WPARAM wParam, LPARAM lParam)
{
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    for (int bar = 0; bar < dialogState.barCount; ++bar) {
        const SettingDescription& setting = *dialogState.rows[bar];
        if (setting.dialogControl == id)
            return adjustScrollSetting(settings.*setting.field, setting.minimum, setting.maximum, LOWORD(wParam),
                                       HIWORD(wParam), dialogState.scrollBars[bar]);
    }
    return FALSE;
}

void reportSaveFailure(HWND dialog)
{
    char failure[MAX_PATH + 160];
    describeProfileFailure(failure, sizeof failure);
    char text[sizeof failure + 48];
    std::snprintf(text, sizeof text, "The settings could not be saved to %s", failure);
    MessageBoxA(dialog, text, "Error", MB_ICONERROR);
}

void command(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
        if (saveSettings())
            EndDialog(dialog, 1);
        else
            reportSaveFailure(dialog);  // the dialog stays: Cancel, or OK again once fixed
        return;
    case IDCANCEL:  // also Escape and the caption's close box
        EndDialog(dialog, 1);
        return;
    default:
        break;
    }
    for (const DetailButton& button : detailButtons)
        if (id == button.id)
            settings.textureDetail = button.textureDetail;
}

} // namespace

bool adjustScrollSetting(int32_t& value, int32_t minimum, int32_t maximum, int request, int thumbPosition,
                         HWND bar)
{
    // Wide arithmetic: the dialog reads unclamped, so the value may sit at
    // either end of 32 bits, where a step would wrap to the other end.
    int64_t adjusted = value;
    switch (request) {
    case SB_LINELEFT:
        adjusted -= LineStep;
        break;
    case SB_LINERIGHT:
        adjusted += LineStep;
        break;
    case SB_PAGELEFT:
        adjusted -= PageStep;
        break;
    case SB_PAGERIGHT:
        adjusted += PageStep;
        break;
    case SB_THUMBPOSITION:
        adjusted = thumbPosition;
        break;
    case SB_LEFT:
        adjusted = minimum;
        break;
    case SB_RIGHT:
        adjusted = maximum;
        break;
    case SB_THUMBTRACK:
    case SB_ENDSCROLL:
        return true;
    default:
        break;
    }
    if (adjusted <= minimum)
        adjusted = minimum;
    if (adjusted >= maximum)
        adjusted = maximum;
    value = static_cast<int32_t>(adjusted);
    SetScrollPos(bar, SB_CTL, value, TRUE);
    return false;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return initialise(dialog);
    case WM_HSCROLL:
        return scroll(wParam, lParam);
    case WM_COMMAND:
        command(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}
