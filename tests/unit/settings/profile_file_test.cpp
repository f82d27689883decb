#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "common/platform.h"
#include "common/posix/profile_file.h"
#include "support/temp_dir.h"

namespace {

int readInt(const std::string& value) { return parseProfileInt(value, -77); }

TEST(ProfileInt, FollowsThePlatformFunctionsRules)
{
    EXPECT_EQ(readInt("450"), 450);
    EXPECT_EQ(readInt("  \t 450"), 450);
    EXPECT_EQ(readInt("+450"), 450);
    EXPECT_EQ(readInt("-450"), -450);
    EXPECT_EQ(readInt("450 stars"), 450);
    EXPECT_EQ(readInt("45.9"), 45);
    EXPECT_EQ(readInt("0x20"), 0);
    EXPECT_EQ(readInt("abc"), 0);
    EXPECT_EQ(readInt("-"), 0);
    EXPECT_EQ(readInt("- 5"), 0);
    EXPECT_EQ(readInt(""), -77);  // an empty value gives the default
}

TEST(ProfileInt, ValuesBeyondThirtyTwoBitsWrapAround)
{
    EXPECT_EQ(readInt("2147483647"), 2147483647);
    EXPECT_EQ(readInt("2147483648"), INT32_MIN);
    EXPECT_EQ(readInt("4294967296"), 0);
    EXPECT_EQ(readInt("4294967897"), 601);
    EXPECT_EQ(readInt("-4294967295"), 1);
    EXPECT_EQ(readInt("99999999999999999999999"), static_cast<int>(4135583743u));
}

TEST(ProfileLookup, SectionsAndKeysIgnoreCaseAndBlanks)
{
    std::string v;
    const std::string text = "[A]\nkey=1\n[ Quelmar 3D ScreenSaver ]\r\n  BG STARS  =  450  \r\n"
                             ";Warp Lines=9\nnot a key line\n[B]\nWarp Lines=3\n";
    ASSERT_TRUE(findProfileValue(text, "quelmar 3d screensaver", "bg stars", v));
    EXPECT_EQ(v, "450");
    EXPECT_FALSE(findProfileValue(text, "Quelmar 3D ScreenSaver", "Warp Lines", v));
    EXPECT_FALSE(findProfileValue(text, "Missing", "key", v));
    ASSERT_TRUE(findProfileValue(text, "B", "warp lines", v));
    EXPECT_EQ(v, "3");
    ASSERT_TRUE(findProfileValue("[S]\nk=\n", "S", "k", v));
    EXPECT_EQ(v, "");
}

TEST(ProfileLookup, TheFirstMatchingSectionAndKeyWin)
{
    std::string v;
    ASSERT_TRUE(findProfileValue("[S]\nk=1\nk=2\n[S]\nk=3\n", "S", "k", v));
    EXPECT_EQ(v, "1");
}

TEST(ProfileEdit, ReplacesInsertsAndAppends)
{
    EXPECT_EQ(setProfileValue("", "S", "k", "1"), "[S]\nk=1\n");
    EXPECT_EQ(setProfileValue("[S]\nk=1\nj=2\n", "s", "K", "5"), "[S]\nK=5\nj=2\n");
    EXPECT_EQ(setProfileValue("[S]\nj=2\n\n[T]\n", "S", "k", "5"), "[S]\nj=2\nk=5\n\n[T]\n");
    EXPECT_EQ(setProfileValue("[T]\nx=1", "S", "k", "5"), "[T]\nx=1\n\n[S]\nk=5\n");
    // A file written on Windows keeps its line ends.
    EXPECT_EQ(setProfileValue("[S]\r\nj=2\r\n", "S", "k", "5"), "[S]\r\nj=2\r\nk=5\r\n");
}

class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override { setProfilePath(dir.path("Quelmar.ini")); }
    void TearDown() override { setProfilePath(""); }
    int read(const char* key) { return platformGetProfileInt("S", key, 300, "Quelmar.ini"); }
    TempDir dir;
};

TEST_F(ProfileFile, BadFilesGiveTheDefault)
{
    const std::string path = dir.path("Quelmar.ini");
    std::filesystem::create_directory(path);  // a folder where the file should be
    EXPECT_EQ(read("k"), 300);
    EXPECT_FALSE(platformWriteProfileString("S", "k", "1", "Quelmar.ini"));
    std::filesystem::remove(path);

    writeText(path, std::string("[S]\nk=5\n\0\x01\x02binary", 17));
    EXPECT_EQ(read("k"), 300);
    // A file we cannot read as text is not overwritten.
    EXPECT_FALSE(platformWriteProfileString("S", "k", "1", "Quelmar.ini"));
    EXPECT_EQ(readText(path).size(), 17u);

    std::string huge = "[S]\nk=5\n";
    huge.resize(MaxProfileFileSize + 1, ' ');
    writeText(path, huge);
    EXPECT_EQ(read("k"), 300);

    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);  // must not block the saver
    EXPECT_EQ(read("k"), 300);
}

TEST_F(ProfileFile, ReadsWhatItWrote)
{
    EXPECT_TRUE(platformWriteProfileString("S", "k", "451", "Quelmar.ini"));
    EXPECT_EQ(read("k"), 451);
    EXPECT_EQ(read("other"), 300);
}

TEST_F(ProfileFile, ReplacesTheFileWholeAndLeavesNoTemporaryFile)
{
    const std::string path = dir.path("Quelmar.ini");
    writeText(path, "[S]\nk=1\n");
    chmod(path.c_str(), 0600);
    struct stat before {};
    stat(path.c_str(), &before);
    ASSERT_TRUE(platformWriteProfileString("S", "k", "2", "Quelmar.ini"));
    struct stat after {};
    stat(path.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);  // a new file renamed into place
    EXPECT_EQ(after.st_mode & 0777, 0600u);  // with the old file's permissions
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFile, AFailedWriteLeavesTheOldFile)
{
    // The folder cannot be created: its parent is a file.
    writeText(dir.path("blocker"), "x");
    setProfilePath(dir.path("blocker/sub/Quelmar.ini"));
    EXPECT_FALSE(platformWriteProfileString("S", "k", "2", "Quelmar.ini"));
    EXPECT_EQ(readText(dir.path("blocker")), "x");
}

TEST(ProfileLocation, FollowsXdgConfigHome)
{
    setProfilePath("");
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(profilePathFor("Quelmar.ini"), "/cfg/quelmar/Quelmar.ini");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(profilePathFor("Quelmar.ini"), "/home/someone/.config/quelmar/Quelmar.ini");
    setenv("HOME", home.c_str(), 1);
    if (saved)
        setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

} // namespace
