// platform.h on Windows: string resources, the private-profile functions,
// message boxes and the thread's quit message.
#include <windows.h>

#include "common/platform.h"

ModuleHandle programModule = nullptr;

int platformLoadString(unsigned id, char* buffer, int size)
{
    return LoadStringA(static_cast<HINSTANCE>(programModule), id, buffer, size);
}

int platformGetProfileInt(const char* section, const char* key, int defaultValue, const char* file)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, file));
}

bool platformWriteProfileString(const char* section, const char* key, const char* value,
                                const char* file)
{
    return WritePrivateProfileStringA(section, key, value, file) != FALSE;
}

void platformShowError(const char* caption, const char* text)
{
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
}

void platformPostQuit(int exitCode) { PostQuitMessage(exitCode); }
