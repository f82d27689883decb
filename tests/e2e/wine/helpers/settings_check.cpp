// The settings store on the platform's private-profile functions: defaults
// without a file, clamping on load, the dialog's unclamped read, and the file
// that saving writes into the Windows directory.
//
//   settings_check SAVER-PATH       (its string table names file and section)
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/platform.h"
#include "settings/settings.h"

namespace {

int failures = 0;

void expect(long got, long want, const char* what)
{
    if (got != want) {
        std::printf("FAIL %s: %ld, want %ld\n", what, got, want);
        ++failures;
    }
}

std::string iniPath()
{
    char directory[MAX_PATH] = {};
    GetWindowsDirectoryA(directory, sizeof directory);
    return std::string(directory) + "\\Quelmar.ini";
}

std::string readFile(const std::string& path)
{
    std::string text;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[512];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            text.append(buffer, n);
        std::fclose(file);
    }
    return text;
}

void writeFile(const std::string& path, const char* text)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fputs(text, file);
    std::fclose(file);
}

void defaultsWithoutAFile(const std::string& path)
{
    DeleteFileA(path.c_str());
    settings = {};
    settings.starCount = settings.activeStarCount = 1;  // must be overwritten
    loadSettings();
    expect(settings.starCount, 300, "default BG Stars");
    expect(settings.warpLineCount, 200, "default Warp Lines");
    expect(settings.cameraPause, 120, "default Camera Pause");
    expect(settings.warpPause, 120, "default Warp Pause");
    expect(settings.textureDetail, 2, "default Texture Detail");
    expect(settings.activeStarCount, 300, "default active stars");
    expect(settings.activeWarpLineCount, 200, "default active warp lines");
}

void clampedOnLoadRawForTheDialog(const std::string& path)
{
    writeFile(path, "[Quelmar 3D ScreenSaver]\r\n"
                    "BG Stars=5000\r\n"
                    "Warp Lines=20\r\n"
                    "Camera Pause=abc\r\n"
                    "Warp Pause=5\r\n"
                    "Texture Detail=7\r\n");
    settings = {};
    loadSettings();
    expect(settings.starCount, 600, "BG Stars 5000 on load");
    expect(settings.warpLineCount, 100, "Warp Lines 20 on load");
    expect(settings.cameraPause, 30, "unreadable Camera Pause on load");
    expect(settings.warpPause, 30, "Warp Pause 5 on load");
    expect(settings.textureDetail, 7, "Texture Detail 7 on load");
    expect(settings.activeStarCount, 600, "active stars");
    expect(settings.activeWarpLineCount, 100, "active warp lines");

    readSettingsRaw();
    expect(settings.starCount, 5000, "BG Stars, raw");
    expect(settings.warpPause, 5, "Warp Pause, raw");
    expect(settings.activeStarCount, 600, "active stars after the raw read");
}

void savingWritesTheWholeSection(const std::string& path)
{
    DeleteFileA(path.c_str());
    settings = {};
    settings.starCount = 450;
    settings.warpPause = 5;  // the dialog writes out-of-range values back unchanged
    saveSettings();
    const std::string want = std::string("[Quelmar 3D ScreenSaver]\r\n"
                                         "BG Stars=450\r\n"
                                         "Warp Lines=200\r\n"
                                         "Camera Pause=120\r\n"
                                         "Warp Pause=5\r\n"
                                         "Texture Detail=2\r\n"
                                         "Visit the Website=") +
                             MakerWebAddress + "\r\n";
    const std::string got = readFile(path);
    if (got != want) {
        std::printf("FAIL the saved file reads:\n%s\nwant:\n%s\n", got.c_str(), want.c_str());
        ++failures;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_check SAVER-PATH\n");
        return 2;
    }
    programModule = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!programModule) {
        std::printf("FAIL cannot open %s\n", argv[1]);
        return 1;
    }
    const std::string path = iniPath();
    defaultsWithoutAFile(path);
    clampedOnLoadRawForTheDialog(path);
    savingWritesTheWholeSection(path);
    DeleteFileA(path.c_str());
    std::printf("%s: %d failures\n", failures ? "FAIL" : "ok", failures);
    return failures ? 1 : 0;
}
