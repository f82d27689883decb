#include <gtest/gtest.h>

#include <array>

#include "common/posix/profile_file.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace {

// The five settings, then the active star and warp-line counts.
using Values = std::array<int32_t, 7>;
Values values()
{
    return {settings.starCount, settings.warpLineCount, settings.cameraPause, settings.warpPause,
            settings.textureDetail, settings.activeStarCount, settings.activeWarpLineCount};
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = {};
        setProfilePath(file);
    }
    void TearDown() override { setProfilePath(""); }
    void write(const std::string& keys) { writeText(file, "[Quelmar 3D ScreenSaver]\n" + keys); }

    TempDir dir;
    const std::string file = dir.path("Quelmar.ini");
};

TEST_F(SettingsStore, LoadGivesDefaultsOrClampsFourRangesRawReadAndSaveKeepWhatWasWritten)
{
    settings.starCount = 1;
    loadSettings();
    EXPECT_EQ(values(), (Values{300, 200, 120, 120, 2, 300, 200})) << "no file: the defaults";
    write("BG Stars=5000\nWarp Lines=99\nCamera Pause=361\nWarp Pause=5\nTexture Detail=7\n");
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
    write("BG Stars=-20\nWarp Lines=abc\nCamera Pause=30\nWarp Pause=360\nTexture Detail=-3\n");
    loadSettings();
    EXPECT_EQ(values(), (Values{100, 100, 30, 360, -3, 100, 100}));
}

TEST_F(SettingsStore, SaveWritesTheSectionInOrderAndKeepsEverythingElse)
{
    setProfilePath(dir.path("new/deeper/Quelmar.ini"));
    settings.starCount = 450;
    EXPECT_TRUE(saveSettings());
    EXPECT_EQ(readText(dir.path("new/deeper/Quelmar.ini")),
              "[Quelmar 3D ScreenSaver]\nBG Stars=450\nWarp Lines=200\nCamera Pause=120\n"
              "Warp Pause=120\nTexture Detail=2\nVisit the Website=" + std::string(MakerWebAddress) + "\n");

    // Into an existing file: foreign sections, keys and comments stay.
    setProfilePath(file);
    writeText(file, "; my notes\n[Other]\nBG Stars=1\n\n[quelmar 3d screensaver]\nColour=blue\n"
                    "warp pause = 45\n\n[Last]\nx=y\n");
    settings.warpPause = 200;
    EXPECT_TRUE(saveSettings());
    EXPECT_EQ(readText(file), "; my notes\n[Other]\nBG Stars=1\n\n[quelmar 3d screensaver]\nColour=blue\n"
                              "Warp Pause=200\nBG Stars=450\nWarp Lines=200\nCamera Pause=120\nTexture Detail=2\n"
                              "Visit the Website=" + std::string(MakerWebAddress) + "\n\n[Last]\nx=y\n");

    setProfilePath(file + "/Quelmar.ini");  // under a file: the folder cannot be made
    EXPECT_FALSE(saveSettings());
}

TEST_F(SettingsStore, TableKeepsTheDialogAndClampRangesInStep)
{
    const int controls[] = {1000, 1004, 1006, 1007, 0};
    for (int i = 0; i < SettingCount; ++i) {
        const SettingDescription& s = settingsTable[i];
        EXPECT_EQ(s.dialogControl, controls[i]) << s.key;
        EXPECT_TRUE(s.minimum <= s.defaultValue && s.defaultValue <= s.maximum) << s.key;
        EXPECT_EQ(SaverSettings{}.*s.field, s.defaultValue) << s.key;
    }
    EXPECT_EQ(std::pair(settingsTable[0].maximum, settingsTable[1].maximum), std::pair(MaxStars, MaxWarpLines));
}

} // namespace
