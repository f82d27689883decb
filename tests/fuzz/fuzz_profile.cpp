// The settings file on arbitrary bytes: decoding, finding a key, reading its
// number and rewriting the file must not crash, a value just written reads
// back, and a decoded text encoded again decodes to the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/posix/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    const TextEncoding encoding = decodeProfileText(text);
    std::string again = encodeProfileText(text, encoding);
    if (decodeProfileText(again) != encoding || again != text)
        __builtin_trap();
    std::string value;
    if (findProfileValue(text, "Quelmar 3D ScreenSaver", "BG Stars", value))
        (void)parseProfileInt(value, 300);
    const std::string edited = setProfileValue(text, "Quelmar 3D ScreenSaver", "BG Stars", "450");
    if (text.find('\0') == std::string::npos) {
        std::string back;
        if (!findProfileValue(edited, "Quelmar 3D ScreenSaver", "BG Stars", back) || back != "450")
            __builtin_trap();
    }
    return 0;
}
