// Shared by the stand-in libraries of the password tests: each records what
// happens to it, one line at a time, in calls.log beside its own file, under
// the name it was loaded by ("PASSWORD.CPL attach").
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace test_library {

inline HMODULE self = nullptr;

// The folder of this library's file, with a trailing backslash, and its name.
inline void ownPath(char* folder, size_t folderSize, char* name, size_t nameSize)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, sizeof path);
    const char* slash = std::strrchr(path, '\\');
    const size_t split = slash ? static_cast<size_t>(slash - path) + 1 : 0;
    std::snprintf(folder, folderSize, "%.*s", static_cast<int>(split), path);
    std::snprintf(name, nameSize, "%s", path + split);
}

inline void record(const char* format, ...)
{
    char folder[MAX_PATH], name[MAX_PATH], log[MAX_PATH + 16];
    ownPath(folder, sizeof folder, name, sizeof name);
    std::snprintf(log, sizeof log, "%scalls.log", folder);
    FILE* file = std::fopen(log, "ab");
    if (!file)
        return;
    std::fprintf(file, "%s ", name);
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputs("\n", file);
    std::fclose(file);
}

// DllMain's work: attach and detach are recorded; "free" when FreeLibrary
// unloaded it, "exit" when the process ended with it loaded.
inline void onDllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        record("attach");
    } else if (reason == DLL_PROCESS_DETACH) {
        record("detach %s", reserved ? "exit" : "free");
    }
}

} // namespace test_library
