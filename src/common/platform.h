// What the portable core needs from the platform. Declared once here and
// implemented once per platform (common/win32/, common/posix/).
#pragma once

#include <cstdint>

// The program's module handle on Windows; unused elsewhere.
using ModuleHandle = void*;
extern ModuleHandle programModule;

// String resources of the program (1, 1001, 1007): copies at most size - 1
// characters and terminates. Returns the number of characters copied.
int platformLoadString(unsigned id, char* buffer, int size);

// The private-profile pair: the key's integer value (or defaultValue when the
// file, section or key is missing), and writing keys of one section as text,
// all or nothing: the file is replaced in one step by a copy with the keys
// set, every other section and key kept, or it stays as it was (false).
struct ProfileEntry {
    const char* key;
    const char* value;
};
int platformGetProfileInt(const char* section, const char* key, int defaultValue, const char* file);
bool platformWriteProfileSection(const char* section, const ProfileEntry* entries, int count, const char* file);

// Reads bitmap resource `id` into rgba (width * height * 4 bytes, top row
// first). With colourKey, pixels of the top-left pixel's colour get alpha 0,
// all others 255. Returns false when the bitmap is missing or has another size.
bool platformReadBitmap(ModuleHandle module, int id, int width, int height, bool colourKey,
                        unsigned char* rgba);

// Reports an error in one message: a message box on Windows, stderr elsewhere.
void platformShowError(const char* caption, const char* text);

// Asks the host's event loop to end with the given exit code.
void platformPostQuit(int exitCode);
