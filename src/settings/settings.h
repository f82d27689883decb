// Settings: the five user settings, kept in one section of "Quelmar.ini"
// through the platform's profile functions.
#pragma once

#include <cstdint>

// Texture Detail's values.
inline constexpr int32_t NoTextureDetail = 0;    // the ship untextured
inline constexpr int32_t LowTextureDetail = 1;   // textures filtered nearest
inline constexpr int32_t HighTextureDetail = 2;  // textures filtered linearly

// The ranges of the other four, as the dialog offers them and loading clamps them.
inline constexpr int32_t MinStars = 100;  // also the warp lines' minimum
inline constexpr int32_t MinPause = 30;   // seconds, both pauses
inline constexpr int32_t MaxPause = 360;

// The defaults, for the program's start and for keys missing from the file.
inline constexpr int32_t DefaultStars = 300;
inline constexpr int32_t DefaultWarpLines = 200;
inline constexpr int32_t DefaultCameraPause = 120;
inline constexpr int32_t DefaultWarpPause = 120;
inline constexpr int32_t DefaultTextureDetail = HighTextureDetail;

struct SaverSettings {
    int32_t starCount = DefaultStars;            // "BG Stars", 100..600
    int32_t warpLineCount = DefaultWarpLines;    // "Warp Lines", 100..600
    int32_t cameraPause = DefaultCameraPause;    // "Camera Pause", seconds, 30..360
    int32_t warpPause = DefaultWarpPause;        // "Warp Pause", seconds, 30..360
    int32_t textureDetail = DefaultTextureDetail;  // "Texture Detail": 0 none, 1 low, 2 high; not clamped
    // Derived by loadSettings only: the star and warp-line records in use.
    int32_t activeStarCount = DefaultStars;
    int32_t activeWarpLineCount = DefaultWarpLines;
};

extern SaverSettings settings;

// One row per setting; it drives the INI keys, the clamps, the dialog, the
// Linux options and the descriptions shipped for the Linux hosts.
struct SettingDescription {
    const char* key;             // INI key
    int32_t SaverSettings::*field;
    int32_t defaultValue;
    int32_t minimum;
    int32_t maximum;
    bool clampedOnLoad;          // Texture Detail is taken as read
    int dialogControl;           // scroll bar id; 0 for the radio buttons
    const char* label;           // for people: the dialog's wording
    const char* option;          // Linux command-line option, without dashes
    const char* valueName;       // its value in the usage text
    const char* const* choices;  // words for the values 0, 1, ... in place of numbers, or nullptr
};

inline constexpr int SettingCount = 5;
extern const SettingDescription settingsTable[SettingCount];

inline constexpr int32_t MaxStars = 600;
inline constexpr int32_t MaxWarpLines = 600;

// Written under "Visit the Website" and never read.
extern const char* const MakerWebAddress;

// The saver's read, on window creation before InitScene: clamped, and sets
// the derived counts.
void loadSettings();
// The dialog's read: the same five reads, unclamped; derived counts untouched.
void readSettingsRaw();
// The dialog's OK: the five keys in table order, then the website key, in
// one replacement of the file. False when it failed: the file is as it was.
bool saveSettings();

// Clamp as the saver does on load: above the maximum first, then below the minimum.
int32_t clampSetting(const SettingDescription& setting, int32_t value);
