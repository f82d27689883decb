#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/platform.h"
#include "common/posix/profile_file.h"
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

TEST(ProfileText, EditReplacesInsertsAndAppendsKeepingLineEnds)
{
    EXPECT_EQ(setProfileValue("", "S", "k", "1"), "[S]\nk=1\n");
    EXPECT_EQ(setProfileValue("[S]\nk=1\nj=2\n", "s", "K", "5"), "[S]\nK=5\nj=2\n");
    EXPECT_EQ(setProfileValue("[S]\nj=2\n\n[T]\n", "S", "k", "5"), "[S]\nj=2\nk=5\n\n[T]\n");
    EXPECT_EQ(setProfileValue("[T]\nx=1", "S", "k", "5"), "[T]\nx=1\n\n[S]\nk=5\n");
    EXPECT_EQ(setProfileValue("[S]\r\nj=2\r\n", "S", "k", "5"), "[S]\r\nj=2\r\nk=5\r\n");
}

class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override { setProfilePath(path); }
    void TearDown() override { setProfilePath(""); }
    static int read() { return platformGetProfileInt("S", "k", 300, "Quelmar.ini"); }
    static bool write(const char* value) { return platformWriteProfileString("S", "k", value, "Quelmar.ini"); }
    TempDir dir;
    const std::string path = dir.path("Quelmar.ini");
};

TEST_F(ProfileFile, BadFilesGiveTheDefaultAndAreNotOverwritten)
{
    std::filesystem::create_directory(path);
    EXPECT_EQ(read(), 300) << "directory";
    EXPECT_FALSE(write("1")) << "directory";
    std::filesystem::remove(path);
    const std::string binary("[S]\nk=5\n\0\x01\x02binary", 17);
    std::string huge = "[S]\nk=5\n";
    huge.resize(MaxProfileFileSize + 1, ' ');
    for (const std::string& text : {binary, huge}) {
        writeText(path, text);
        EXPECT_EQ(read(), 300) << text.size() << " bytes";
        EXPECT_FALSE(write("1")) << text.size() << " bytes";
        EXPECT_TRUE(readText(path) == text) << text.size() << " bytes: overwritten";
    }
    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    EXPECT_EQ(read(), 300) << "a FIFO must not block the saver";
}

TEST_F(ProfileFile, WriteReplacesTheFileWholeKeepingItsPermissions)
{
    writeText(path, "[S]\nk=1\n");
    chmod(path.c_str(), 0600);
    struct stat before {}, after {};
    stat(path.c_str(), &before);
    ASSERT_TRUE(write("451"));
    stat(path.c_str(), &after);
    EXPECT_EQ(read(), 451);
    EXPECT_NE(before.st_ino, after.st_ino) << "a new file renamed into place";
    EXPECT_EQ(after.st_mode & 0777, 0600u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary file left";

    // The folder cannot be made, its parent being a file: the old file stays.
    setProfilePath(dir.path("Quelmar.ini/sub/Quelmar.ini"));
    EXPECT_FALSE(write("2"));
    EXPECT_EQ(readText(path), "[S]\nk=451\n");
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
    unsetenv("HOME");  // a host's pruned environment: the account's home, never the working folder
    EXPECT_EQ(profilePathFor("Quelmar.ini"), std::string(getpwuid(getuid())->pw_dir) + "/.config/quelmar/Quelmar.ini");
    setenv("HOME", home.c_str(), 1);
    saved ? setenv("XDG_CONFIG_HOME", keep.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
}

} // namespace
