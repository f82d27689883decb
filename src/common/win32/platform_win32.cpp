// platform.h on Windows: string resources, message boxes and the thread's
// quit message (the profile pair is in profile_win32.cpp).
#include <windows.h>

#include "common/platform.h"

ModuleHandle programModule = nullptr;

int platformLoadString(unsigned id, char* buffer, int size)
{
    return LoadStringA(static_cast<HINSTANCE>(programModule), id, buffer, size);
}

void platformShowError(const char* caption, const char* text)
{
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

void platformPostQuit(int exitCode) { PostQuitMessage(exitCode); }
