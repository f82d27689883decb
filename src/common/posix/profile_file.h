// The Linux home of the private-profile functions: one INI file, read and
// written with the Windows functions' rules.
#pragma once

#include <string>

// Overrides where the profile file lives (quelmar-render --settings, tests).
// An empty path goes back to $XDG_CONFIG_HOME/quelmar/ (or ~/.config/quelmar/).
void setProfilePath(const std::string& path);

// The file that the profile functions use for `fileName`.
std::string profilePathFor(const char* fileName);

// The profile rules on text, for the functions above and for tests.
// Returns the value of key in section, or nullopt-style false when missing.
bool findProfileValue(const std::string& text, const char* section, const char* key, std::string& value);
int parseProfileInt(const std::string& value, int defaultValue);
// Returns text with key set to value in section, every other line kept.
std::string setProfileValue(const std::string& text, const char* section, const char* key,
                            const char* value);

// Creates a folder and its parents; true when it exists afterwards.
bool makeDirectoryTree(const std::string& path);

// The platform reads a number through a buffer of 30 characters.
inline constexpr size_t MaxProfileNumberLength = 29;

// Largest profile file that is read; a larger one counts as unreadable.
inline constexpr long MaxProfileFileSize = 1 << 20;
