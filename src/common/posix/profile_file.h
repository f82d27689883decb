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

// How the platform's profile functions read a file: as it is, after a UTF-8
// byte-order mark, or as UTF-16 after its mark. Decoding turns the text into
// UTF-8 (and drops the mark); encoding gives a text its file's form again.
enum class TextEncoding { Plain, Utf8Mark, Utf16Little, Utf16Big };
TextEncoding decodeProfileText(std::string& text);
std::string encodeProfileText(const std::string& text, TextEncoding encoding);

// Creates a folder and its parents; true when it exists afterwards.
bool makeDirectoryTree(const std::string& path);

// The platform reads a number through a buffer of 30 characters.
inline constexpr size_t MaxProfileNumberLength = 29;

// Largest profile file that is read; a larger one counts as unusable. A file
// that is there but cannot be used (unreadable, not a regular file, too large,
// binary) gives the defaults, and one line on stderr says so.
inline constexpr long MaxProfileFileSize = 1 << 20;
