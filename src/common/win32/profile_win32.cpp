// The settings file on Windows. The private-profile functions put a bare file
// name into the Windows folder, which a standard user cannot write on Vista
// and later: there the system's file virtualisation sends the 32-bit saver's
// writes to the user's VirtualStore, and the 64-bit saver's simply fail. So
// both builds use that VirtualStore copy themselves: they read it first when
// it exists and write there when the Windows folder refuses, which gives them
// one shared file, and a save that fails anyway is reported.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "common/platform.h"
#include "common/resources.h"
#include "common/win32/profile_win32.h"

namespace {

constexpr int FileNameSize = 13;  // as the settings store loads it

struct ProfilePaths {
    char windows[MAX_PATH] = {};       // the bare name when the folder is unknown
    char virtualStore[MAX_PATH] = {};  // empty where the user has no local folder (before Vista)
};

struct ProfileFailure {
    char path[MAX_PATH] = {};
    DWORD error = 0;
};
ProfileFailure lastFailure;

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool fits(int written) { return written > 0 && written < MAX_PATH; }

// WINDOWS\NAME, and LOCALAPPDATA\VirtualStore\WINDOWS-WITHOUT-DRIVE\NAME, the
// place where the system's virtualisation keeps a user's copy of it.
ProfilePaths profilePaths(const char* file)
{
    ProfilePaths paths;
    std::snprintf(paths.windows, MAX_PATH, "%s", file);
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return paths;
    if (windows[length - 1] == '\\')
        windows[length - 1] = '\0';  // a folder at the root of a drive
    if (!fits(std::snprintf(paths.windows, MAX_PATH, "%s\\%s", windows, file)))
        std::snprintf(paths.windows, MAX_PATH, "%s", file);

    char local[MAX_PATH] = {};
    const DWORD localLength = GetEnvironmentVariableA("LOCALAPPDATA", local, MAX_PATH);
    const char* withoutDrive = windows[0] && windows[1] == ':' ? windows + 2 : windows;
    if (localLength == 0 || localLength >= MAX_PATH ||
        !fits(std::snprintf(paths.virtualStore, MAX_PATH, "%s\\VirtualStore%s\\%s", local, withoutDrive, file)))
        paths.virtualStore[0] = '\0';
    return paths;
}

const char* pathInUse(const ProfilePaths& paths)
{
    return paths.virtualStore[0] && exists(paths.virtualStore) ? paths.virtualStore : paths.windows;
}

// Makes every folder above the file that is missing.
void createFoldersAbove(const char* file)
{
    char folder[MAX_PATH];
    std::snprintf(folder, MAX_PATH, "%s", file);
    for (char* separator = std::strchr(folder + 3, '\\'); separator; separator = std::strchr(separator + 1, '\\')) {
        *separator = '\0';
        CreateDirectoryA(folder, nullptr);
        *separator = '\\';
    }
}

bool failed(const char* path)
{
    lastFailure.error = GetLastError();
    std::snprintf(lastFailure.path, MAX_PATH, "%s", path);
    return false;
}

// A process that has ended, or none of that id.
bool hasEnded(DWORD pid)
{
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return GetLastError() != ERROR_ACCESS_DENIED;
    const bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

// Removes the temporary files, PATH.PID.tmp, that a save killed midway left:
// those of processes that have ended, and our own.
void removeStaleTemporaries(const char* path)
{
    char pattern[MAX_PATH];
    if (!fits(std::snprintf(pattern, MAX_PATH, "%s.*.tmp", path)))
        return;
    const char* separator = std::strrchr(path, '\\');
    const int folderLength = separator ? static_cast<int>(separator - path) + 1 : 0;
    const size_t nameLength = std::strlen(path + folderLength);
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const char* digits = found.cFileName + nameLength + 1;
        char* end = nullptr;
        const unsigned long pid = std::strtoul(digits, &end, 10);
        char stale[MAX_PATH];
        if (end != digits && std::strcmp(end, ".tmp") == 0 && (pid == GetCurrentProcessId() || hasEnded(pid)) &&
            fits(std::snprintf(stale, MAX_PATH, "%.*s%s", folderLength, path, found.cFileName)))
            DeleteFileA(stale);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The temporary file begins as a copy of source, or empty.
bool startCopy(const char* source, const char* temp)
{
    if (exists(source))
        return CopyFileA(source, temp, FALSE);
    const HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

// The keys written by the platform's own profile functions into a copy of
// `source` beside `target`, flushed, which then replaces `target` in one
// step: `target` is always either the old file or the new one, in the
// platform's own format.
bool saveSection(const char* source, const char* target, const char* section, const ProfileEntry* entries, int count)
{
    removeStaleTemporaries(target);
    char temp[MAX_PATH];
    if (!fits(std::snprintf(temp, MAX_PATH, "%s.%lu.tmp", target, GetCurrentProcessId())))
        return failed(target);
    if (!startCopy(source, temp))
        return failed(target);
    bool ok = SetFileAttributesA(temp, FILE_ATTRIBUTE_NORMAL);  // a copy of a read-only file is the user's to write
    for (int i = 0; ok && i < count; ++i)
        ok = WritePrivateProfileStringA(section, entries[i].key, entries[i].value, temp);
    const HANDLE written = ok ? CreateFileA(temp, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr)
                              : INVALID_HANDLE_VALUE;
    ok = written != INVALID_HANDLE_VALUE && FlushFileBuffers(written);
    if (written != INVALID_HANDLE_VALUE)
        CloseHandle(written);
    ok = ok && MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (ok)
        return true;
    failed(target);
    DeleteFileA(temp);
    return false;
}

// The settings path with its file name replaced by name.
HANDLE createNextTo(const char* settingsPath, const char* name)
{
    char path[MAX_PATH];
    const char* separator = std::strrchr(settingsPath, '\\');
    const int folderLength = separator ? static_cast<int>(separator - settingsPath) + 1 : 0;
    if (!fits(std::snprintf(path, MAX_PATH, "%.*s%s", folderLength, settingsPath, name)))
        return INVALID_HANDLE_VALUE;
    return CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

int platformGetProfileInt(const char* section, const char* key, int defaultValue, const char* file)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, pathInUse(profilePaths(file))));
}

bool platformWriteProfileSection(const char* section, const ProfileEntry* entries, int count, const char* file)
{
    const ProfilePaths paths = profilePaths(file);
    const char* target = pathInUse(paths);
    if (saveSection(target, target, section, entries, count))
        return true;
    if (target != paths.windows || !paths.virtualStore[0])
        return false;
    // As the system's virtualisation does, the user's copy starts as the
    // shared file, so that nothing else in it is lost.
    createFoldersAbove(paths.virtualStore);
    return saveSection(paths.windows, paths.virtualStore, section, entries, count);
}

void describeProfileFailure(char* text, int size)
{
    char reason[256] = "the file could not be written";
    if (lastFailure.error &&
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, lastFailure.error, 0,
                       reason, sizeof reason, nullptr) == 0)
        std::snprintf(reason, sizeof reason, "error %lu", lastFailure.error);
    reason[std::strcspn(reason, "\r\n")] = '\0';  // the system's texts end with a line break
    std::snprintf(text, size, "%s: %s", lastFailure.path, reason);
}

HANDLE createBesideSettings(const char* name)
{
    char settingsFile[FileNameSize] = {};
    platformLoadString(IDS_INIFILE, settingsFile, FileNameSize);
    const ProfilePaths paths = profilePaths(settingsFile);
    const char* first = pathInUse(paths);
    HANDLE file = createNextTo(first, name);
    if (file == INVALID_HANDLE_VALUE && first == paths.windows && paths.virtualStore[0]) {
        createFoldersAbove(paths.virtualStore);
        file = createNextTo(paths.virtualStore, name);
    }
    return file;
}
