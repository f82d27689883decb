#include <gtest/gtest.h>

#include <sys/stat.h>

#include "common/posix/profile_file.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = {};
        setProfilePath(dir.path("Quelmar.ini"));
    }
    void TearDown() override { setProfilePath(""); }

    void writeFile(const std::string& body) { writeText(dir.path("Quelmar.ini"), body); }

    TempDir dir;
};

TEST_F(SettingsStore, MissingFileGivesTheDefaults)
{
    settings.starCount = 1;
    loadSettings();
    EXPECT_EQ(settings.starCount, 300);
    EXPECT_EQ(settings.warpLineCount, 200);
    EXPECT_EQ(settings.cameraPause, 120);
    EXPECT_EQ(settings.warpPause, 120);
    EXPECT_EQ(settings.textureDetail, 2);
    EXPECT_EQ(settings.activeStarCount, 300);
    EXPECT_EQ(settings.activeWarpLineCount, 200);
}

TEST_F(SettingsStore, LoadClampsTheFourRangesButNotTextureDetail)
{
    writeFile("[Quelmar 3D ScreenSaver]\nBG Stars=5000\nWarp Lines=99\n"
              "Camera Pause=361\nWarp Pause=5\nTexture Detail=7\n");
    loadSettings();
    EXPECT_EQ(settings.starCount, 600);
    EXPECT_EQ(settings.warpLineCount, 100);
    EXPECT_EQ(settings.cameraPause, 360);
    EXPECT_EQ(settings.warpPause, 30);
    EXPECT_EQ(settings.textureDetail, 7);
    EXPECT_EQ(settings.activeStarCount, 600);
    EXPECT_EQ(settings.activeWarpLineCount, 100);

    writeFile("[Quelmar 3D ScreenSaver]\nBG Stars=-20\nWarp Lines=abc\nCamera Pause=30\n"
              "Warp Pause=360\nTexture Detail=-3\n");
    loadSettings();
    EXPECT_EQ(settings.starCount, 100);     // negative: the minimum
    EXPECT_EQ(settings.warpLineCount, 100); // no digits reads as 0: the minimum
    EXPECT_EQ(settings.cameraPause, 30);    // the ends of a range stay
    EXPECT_EQ(settings.warpPause, 360);
    EXPECT_EQ(settings.textureDetail, -3);
}

TEST_F(SettingsStore, RawReadDoesNotClampOrTouchTheDerivedCounts)
{
    writeFile("[Quelmar 3D ScreenSaver]\nBG Stars=5000\nWarp Lines=7\n");
    settings.activeStarCount = 123;
    settings.activeWarpLineCount = 456;
    readSettingsRaw();
    EXPECT_EQ(settings.starCount, 5000);
    EXPECT_EQ(settings.warpLineCount, 7);
    EXPECT_EQ(settings.cameraPause, 120);
    EXPECT_EQ(settings.activeStarCount, 123);
    EXPECT_EQ(settings.activeWarpLineCount, 456);
}

TEST_F(SettingsStore, SaveOnAFreshSystemWritesTheSectionInOrder)
{
    settings.starCount = 450;
    saveSettings();
    EXPECT_EQ(readText(dir.path("Quelmar.ini")),
              "[Quelmar 3D ScreenSaver]\nBG Stars=450\nWarp Lines=200\nCamera Pause=120\n"
              "Warp Pause=120\nTexture Detail=2\nVisit the Website=" +
                  std::string(MakerWebAddress) + "\n");
}

TEST_F(SettingsStore, SaveKeepsOutOfRangeValuesAndReadsBack)
{
    writeFile("[Quelmar 3D ScreenSaver]\nBG Stars=5000\nTexture Detail=7\n");
    readSettingsRaw();
    saveSettings();
    settings = {};
    readSettingsRaw();
    EXPECT_EQ(settings.starCount, 5000);
    EXPECT_EQ(settings.textureDetail, 7);
    loadSettings();
    EXPECT_EQ(settings.starCount, 600);
}

TEST_F(SettingsStore, SaveKeepsForeignSectionsKeysAndComments)
{
    writeFile("; my notes\n[Other]\nBG Stars=1\n\n[quelmar 3d screensaver]\nColour=blue\n"
              "warp pause = 45\n\n[Last]\nx=y\n");
    settings.warpPause = 200;
    saveSettings();
    const std::string text = readText(dir.path("Quelmar.ini"));
    EXPECT_NE(text.find("; my notes\n[Other]\nBG Stars=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Colour=blue\n"), std::string::npos);
    EXPECT_NE(text.find("Warp Pause=200\n"), std::string::npos);
    EXPECT_EQ(text.find("warp pause = 45"), std::string::npos);  // replaced in place
    EXPECT_NE(text.find("[Last]\nx=y\n"), std::string::npos);
    // The new keys joined our own section, before [Last].
    EXPECT_LT(text.find("Texture Detail=2"), text.find("[Last]"));
    settings = {};
    readSettingsRaw();
    EXPECT_EQ(settings.warpPause, 200);
    EXPECT_EQ(settings.starCount, 300);  // [Other]'s key is not ours
}

TEST_F(SettingsStore, SaveCreatesTheFolder)
{
    setProfilePath(dir.path("new/deeper/Quelmar.ini"));
    saveSettings();
    settings = {};
    settings.cameraPause = 1;
    readSettingsRaw();
    EXPECT_EQ(settings.cameraPause, 120);
    struct stat st {};
    EXPECT_EQ(stat(dir.path("new/deeper/Quelmar.ini").c_str(), &st), 0);
}

TEST_F(SettingsStore, TableKeepsTheDialogAndClampRangesInStep)
{
    const int controls[] = {1000, 1004, 1006, 1007, 0};
    for (int i = 0; i < SettingCount; ++i) {
        const SettingDescription& s = settingsTable[i];
        EXPECT_EQ(s.dialogControl, controls[i]) << s.key;
        EXPECT_LE(s.minimum, s.defaultValue) << s.key;
        EXPECT_GE(s.maximum, s.defaultValue) << s.key;
        EXPECT_EQ(SaverSettings{}.*s.field, s.defaultValue) << s.key;
    }
    EXPECT_EQ(settingsTable[0].maximum, MaxStars);
    EXPECT_EQ(settingsTable[1].maximum, MaxWarpLines);
}

} // namespace
