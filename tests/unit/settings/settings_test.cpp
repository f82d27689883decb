#include <gtest/gtest.h>

#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <random>

#include "common/platform.h"
#include "common/posix/profile_file.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

TEST(ProfileText, IntegersFollowThePlatformFunctionsRules)
{
    const std::pair<const char*, int> cases[] = {
        {"450", 450}, {"  \t 450", 450}, {"+450", 450}, {"-450", -450}, {"450 stars", 450}, {"45.9", 45},
        {"abc", 0}, {"-", 0}, {"- 5", 0}, {"", -77},  // empty: the default
        // Bases as Windows reads them (checked against Wine): lower-case prefixes only.
        {"0x1F4", 500}, {"-0x10", -16}, {"0x1f4 stars", 500}, {"0X1F4", 0}, {"0x", 0}, {"0o17", 15}, {"0b101", 5},
        {"017", 17}, {"0xFFFFFFFF", -1}, {"\"0x10\"", 16}, {"'12'", 12}, {"\"12'", 0}, {"\"\"", -77},
        {"123456789012345678901234567890123", 1849262357},  // 29 characters are read
        // Beyond 32 bits the value wraps around.
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MIN}, {"4294967296", 0}, {"4294967897", 601},
        {"-4294967295", 1}, {"99999999999999999999999", static_cast<int>(4135583743u)}};
    for (const auto& [text, value] : cases)
        EXPECT_EQ(parseProfileInt(text, -77), value) << '"' << text << '"';
}

TEST(ProfileText, LookupIgnoresCaseBlanksAndCommentsAndTakesTheFirstMatch)
{
    const std::string text = "[A]\nkey=1\n[ Quelmar 3D ScreenSaver ]\r\n  BG STARS  =  450  \r\n;Warp Lines=9\n"
                             "not a key line\nbg stars=2\n[B]\nWarp Lines=3\nk=\n[B]\nk=4\nj=5\n";
    std::string v;
    EXPECT_TRUE(findProfileValue(text, "quelmar 3d screensaver", "bg stars", v) && v == "450") << v;
    EXPECT_TRUE(findProfileValue(text, "B", "warp lines", v) && v == "3") << v;
    EXPECT_TRUE(findProfileValue(text, "b", "K", v) && v.empty()) << v;
    EXPECT_FALSE(findProfileValue(text, "Quelmar 3D ScreenSaver", "Warp Lines", v));
    EXPECT_FALSE(findProfileValue(text, "Missing", "key", v));
    EXPECT_FALSE(findProfileValue(text, "B", "j", v)) << "only the first [B] counts";
}

TEST(ProfileText, EditReplacesInsertsAndAppendsKeepingLineEndsAndEncodings)
{
    const std::pair<const char*, const char*> cases[] = {  // k=5 set in section S
        {"", "[S]\nk=5\n"}, {"[s]\nK=1\nj=2\n", "[s]\nk=5\nj=2\n"}, {"[S]\nj=2\n\n[T]\n", "[S]\nj=2\nk=5\n\n[T]\n"},
        {"[T]\nx=1", "[T]\nx=1\n\n[S]\nk=5\n"}, {"[S]\r\nj=2\r\n", "[S]\r\nj=2\r\nk=5\r\n"}};
    for (const auto& [before, after] : cases)
        EXPECT_EQ(setProfileValue(before, "S", "k", "5"), after) << before;
    std::string wide("\xFF\xFE" "c\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 12), narrow = wide;
    EXPECT_TRUE(decodeProfileText(narrow) == TextEncoding::Utf16Little && narrow == "c\u00e9\u20ac\U0001F600" &&
                encodeProfileText(narrow, TextEncoding::Utf16Little) == wide);
}

// A settings file of its own for each test, and the settings at their start.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { settings = {}; setProfilePath(path); }
    void TearDown() override { setProfilePath(""); }
    static int read() { return platformGetProfileInt("S", "k", 300, "Quelmar.ini"); }
    static bool write(const char* value)
    {
        const ProfileEntry entry{"k", value};
        return platformWriteProfileSection("S", &entry, 1, "Quelmar.ini");
    }
    void keys(const std::string& text) { writeText(path, "[Quelmar 3D ScreenSaver]\n" + text); }
    TempDir dir;
    const std::string path = dir.path("Quelmar.ini");
};

// UTF-16 with its byte-order mark, from ASCII.
std::string utf16(const std::string& ascii, bool little)
{
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) out += little ? std::string{c, '\0'} : std::string{'\0', c};
    return out;
}

// Every kind of settings file: what it reads as; for one that cannot be used,
// one line naming it and why, however often it is read; and a save, which
// keeps a usable file's encoding and mode and leaves an unusable one alone.
TEST_F(SettingsFile, EachKindReadsAsWindowsReadsItOrIsNamedInOneLineAndLeftAlone)
{
    std::string huge = "[S]\nk=5\n";
    huge.resize(MaxProfileFileSize + 1, ' ');
    const bool root = getuid() == 0;  // reads a file of mode 000
    const struct { const char* kind; std::string text; int value; const char* why; } cases[] = {
        {"missing", "", 300, nullptr}, {"file", "[S]\nk=5\n", 5, nullptr},
        {"file", "\xEF\xBB\xBF[S]\r\nk=5\r\n", 5, nullptr}, {"file", utf16("[S]\r\nk=\"5\"\r\n", true), 5, nullptr},
        {"file", utf16("[S]\r\nk=5\r\n", false), 5, nullptr},
        {"file", std::string("[S]\nk=5\n\0\x01\x02", 11), 300, "is binary, not text"},
        {"file", utf16(std::string("[S]\nk=5\n\0", 9), true), 300, "is binary, not text"},
        {"file", huge, 300, "is larger than 1 MiB"}, {"folder", "", 300, "is not a regular file"},
        {"fifo", "", 300, "is not a regular file"}, {"/dev/zero", "", 300, "is not a regular file"},
        {"loop", "", 300, "cannot be opened (Too many levels of symbolic links)"},
        {"mode 000", "[S]\nk=5\n", root ? 5 : 300, root ? nullptr : "cannot be opened (Permission denied)"}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const std::string kind = c.kind, folder = dir.path(std::to_string(i) + "\n"), file = folder + "/Quelmar.ini";
        std::filesystem::create_directory(folder);
        setProfilePath(file);
        if (kind == "file" || kind == "mode 000")
            writeText(file, c.text), chmod(file.c_str(), kind == "file" ? 0640 : 0);
        if (kind == "folder" || kind == "fifo")
            kind == "fifo" ? mkfifo(file.c_str(), 0644) : mkdir(file.c_str(), 0755);
        if (kind == "/dev/zero" || kind == "loop")
            std::filesystem::create_symlink(kind == "loop" ? file : kind, file);
        testing::internal::CaptureStderr();
        EXPECT_TRUE(read() == c.value && read() == c.value) << kind << " " << i;
        const std::string line = std::string(program_invocation_short_name) + ": the settings file " + dir.path() + "/" +
                                 std::to_string(i) + "\\n/Quelmar.ini " + (c.why ? c.why : "") + "; the defaults are used\n";
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.why ? line : "") << kind << " " << i;
        EXPECT_EQ(write("451"), !c.why) << kind << " " << i;
        struct stat st {};
        stat(file.c_str(), &st);
        // An unusable file as it was; a saved one with its mark, and its mode where it was there.
        EXPECT_TRUE(c.why ? kind != "file" || readText(file) == c.text
                          : read() == 451 && readText(file).substr(0, 2) == (c.text + "[S").substr(0, 2) &&
                                (st.st_mode & 0777) == (kind == "file" ? 0640u : kind == "missing" ? 0644u : 0u)) << i;
    }
}

// Saves over and over, killed at random moments: the file is always a whole one,
// never empty or mixed, and the next save leaves no temporary file behind.
TEST_F(SettingsFile, KilledMidSaveLeavesOneWholeFileAndNoTemporary)
{
    const SaverSettings sets[2] = {{}, {450, 460, 45, 46, 1}};
    std::string files[2];
    for (int i = 0; i < 2; ++i)
        settings = sets[i], saveSettings(), files[i] = readText(path);
    std::mt19937 random(26);
    int whole = 0;
    for (int round = 0; round < 200; ++round) {
        const pid_t saver = fork();
        for (int n = 0; saver == 0; ++n)
            settings = sets[n % 2], saveSettings();
        usleep(std::uniform_int_distribution<useconds_t>(200, 4000)(random));
        kill(saver, SIGKILL), waitpid(saver, nullptr, 0);
        whole += readText(path) == files[0] || readText(path) == files[1];
    }
    EXPECT_EQ(whole, 200) << "empty or mixed files after a kill";
    ASSERT_TRUE(saveSettings());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "temporary files left";
}

TEST(ProfileLocation, FollowsXdgConfigHome)
{
    setProfilePath("");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "", home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(profilePathFor("Quelmar.ini"), "/cfg/quelmar/Quelmar.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(profilePathFor("Quelmar.ini"), "/home/someone/.config/quelmar/Quelmar.ini");
    for (const char* pruned : {"rel", static_cast<const char*>(nullptr)}) {  // relative, or a host's pruned environment: the account's home
        pruned ? setenv("HOME", pruned, 1) : unsetenv("HOME");
        EXPECT_EQ(profilePathFor("Quelmar.ini"), std::string(getpwuid(getuid())->pw_dir) + "/.config/quelmar/Quelmar.ini");
    }
    setenv("HOME", home.c_str(), 1);
    saved ? setenv("XDG_CONFIG_HOME", keep.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

// The five settings, then the active star and warp-line counts.
using Values = std::array<int32_t, 7>;
Values values()
{
    return {settings.starCount, settings.warpLineCount, settings.cameraPause, settings.warpPause,
            settings.textureDetail, settings.activeStarCount, settings.activeWarpLineCount};
}

TEST_F(SettingsFile, LoadGivesDefaultsOrClampsFourRangesRawReadAndSaveKeepWhatWasWritten)
{
    settings.starCount = 1;
    loadSettings();
    EXPECT_EQ(values(), (Values{300, 200, 120, 120, 2, 300, 200})) << "no file: the defaults";
    keys("BG Stars=5000\nWarp Lines=99\nCamera Pause=361\nWarp Pause=5\nTexture Detail=7\n");
    loadSettings();
    EXPECT_EQ(values(), (Values{600, 100, 360, 30, 7, 600, 100})) << "clamped, detail as read";
    settings.activeStarCount = 123;
    settings.activeWarpLineCount = 456;
    readSettingsRaw();
    EXPECT_EQ(values(), (Values{5000, 99, 361, 5, 7, 123, 456})) << "raw: unclamped, counts untouched";
    EXPECT_TRUE(saveSettings());
    settings = {};
    readSettingsRaw();
    EXPECT_EQ(values(), (Values{5000, 99, 361, 5, 7, 300, 200})) << "saved as they were";
    // Negative and no digits: the minimum; the ends of a range stay.
    keys("BG Stars=-20\nWarp Lines=abc\nCamera Pause=30\nWarp Pause=360\nTexture Detail=-3\n");
    loadSettings();
    EXPECT_EQ(values(), (Values{100, 100, 30, 360, -3, 100, 100}));
}

TEST_F(SettingsFile, SaveWritesTheSectionInOrderAndKeepsEverythingElse)
{
    const std::string web = "Visit the Website=" + std::string(MakerWebAddress) + "\n";
    setProfilePath(dir.path("new/deeper/Quelmar.ini"));
    settings.starCount = 450;
    EXPECT_TRUE(saveSettings());
    EXPECT_EQ(readText(dir.path("new/deeper/Quelmar.ini")), "[Quelmar 3D ScreenSaver]\nBG Stars=450\nWarp Lines=200\n"
              "Camera Pause=120\nWarp Pause=120\nTexture Detail=2\n" + web);
    // Into an existing file: foreign sections, keys and comments stay.
    setProfilePath(path);
    writeText(path, "; notes\n[Other]\nBG Stars=1\n\n[quelmar 3d screensaver]\nColour=blue\nwarp pause = 45\n\n[L]\n");
    settings.warpPause = 200;
    EXPECT_TRUE(saveSettings());
    const std::string saved = "; notes\n[Other]\nBG Stars=1\n\n[quelmar 3d screensaver]\nColour=blue\nWarp Pause=200\n"
                              "BG Stars=450\nWarp Lines=200\nCamera Pause=120\nTexture Detail=2\n" + web + "\n[L]\n";
    EXPECT_EQ(readText(path), saved);
    setProfilePath(path + "/Quelmar.ini");  // under a file: the folder cannot be made, the file stays
    EXPECT_FALSE(saveSettings());
    EXPECT_EQ(readText(path), saved);
}

} // namespace
