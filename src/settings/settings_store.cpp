#include <cstdio>

#include "common/platform.h"
#include "common/resources.h"
#include "settings/settings.h"

SaverSettings settings;

const char* const MakerWebAddress = "https://www.dellmora.example/quelmar";

namespace {
constexpr const char* textureDetailWords[] = {"none", "low", "high"};
} // namespace

const SettingDescription settingsTable[SettingCount] = {
    {"BG Stars", &SaverSettings::starCount, DefaultStars, MinStars, MaxStars, true, IDC_STARS, "No. of background stars:",
     "stars", "N", nullptr},
    {"Warp Lines", &SaverSettings::warpLineCount, DefaultWarpLines, MinStars, MaxWarpLines, true, IDC_WARPLINES, "No. of warp lines:",
     "warp-lines", "N", nullptr},
    {"Camera Pause", &SaverSettings::cameraPause, DefaultCameraPause, MinPause, MaxPause, true, IDC_CAMERAPAUSE, "Camera change pause:",
     "camera-pause", "SECONDS", nullptr},
    {"Warp Pause", &SaverSettings::warpPause, DefaultWarpPause, MinPause, MaxPause, true, IDC_WARPPAUSE, "Warp pause:", "warp-pause", "SECONDS",
     nullptr},
    {"Texture Detail", &SaverSettings::textureDetail, DefaultTextureDetail, NoTextureDetail, HighTextureDetail, false, 0, "Texture Detail", "texture-detail",
     "none|low|high", textureDetailWords},
};

namespace {

// Buffer sizes of the two string resources, terminator included.
constexpr int SectionBufferSize = 40;
constexpr int FileBufferSize = 13;

struct ProfileNames {
    char section[SectionBufferSize];
    char file[FileBufferSize];
};

ProfileNames loadProfileNames()
{
    ProfileNames names{};
    platformLoadString(IDS_SECTION, names.section, SectionBufferSize);
    platformLoadString(IDS_INIFILE, names.file, FileBufferSize);
    return names;
}

void readAll(const ProfileNames& names, bool clamp)
{
    for (const SettingDescription& setting : settingsTable) {
        int32_t value = platformGetProfileInt(names.section, setting.key, setting.defaultValue, names.file);
        if (clamp)
            value = clampSetting(setting, value);
        settings.*setting.field = value;
    }
}

} // namespace

int32_t clampSetting(const SettingDescription& setting, int32_t value)
{
    if (!setting.clampedOnLoad)
        return value;
    if (value > setting.maximum)
        value = setting.maximum;
    if (value < setting.minimum)
        value = setting.minimum;
    return value;
}

void loadSettings()
{
    readAll(loadProfileNames(), true);
    settings.activeWarpLineCount = settings.warpLineCount;
    settings.activeStarCount = settings.starCount;
}

void readSettingsRaw() { readAll(loadProfileNames(), false); }

bool saveSettings()
{
    const ProfileNames names = loadProfileNames();
    char texts[SettingCount][16];
    ProfileEntry entries[SettingCount + 1];
    for (int i = 0; i < SettingCount; ++i) {
        const SettingDescription& setting = settingsTable[i];
        std::snprintf(texts[i], sizeof texts[i], "%ld", static_cast<long>(settings.*setting.field));
        entries[i] = {setting.key, texts[i]};
    }
    entries[SettingCount] = {"Visit the Website", MakerWebAddress};
    return platformWriteProfileSection(names.section, entries, SettingCount + 1, names.file);
}
