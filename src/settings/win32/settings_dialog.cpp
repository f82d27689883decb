// The settings dialog's behaviour (scroll bars, detail buttons, saving on OK)
// comes with its own change. Until then OK and Cancel only close the dialog,
// with its result 1, and nothing is written.
#include "settings/win32/settings_dialog.h"

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
