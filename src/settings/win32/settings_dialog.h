// The settings dialog: resource 2003's procedure over SaverSettings, with four
// scroll bars for the ranged settings and three radio buttons for the detail.
#pragma once

#include <windows.h>

#include <cstdint>

// Run by the modal dialog of resource 2003 (ShowSettingsDialog); the dialog
// ends with 1 for OK and Cancel alike, and only OK writes the file.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Applies one WM_HSCROLL request (SB_* code, 16-bit thumb position) to a
// setting, clamps it to minimum..maximum and moves the bar there. Returns
// true for a mere notification (thumb tracking, end of scrolling), which
// changes nothing: a setting moves when the thumb is released.
bool adjustScrollSetting(int32_t& value, int32_t minimum, int32_t maximum, int request, int thumbPosition,
                         HWND bar);
