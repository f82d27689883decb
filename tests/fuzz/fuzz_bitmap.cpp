// The bitmap decoder on arbitrary bytes: it must return a status without
// reading past the input or writing past the pixel buffer, whatever the
// headers claim.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "textures/textures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact copy, so that a read one past the end is caught.
    std::vector<unsigned char> input(data, data + size);
    BitmapHeader header;
    if (readBitmapHeader(input.data(), input.size(), header) != BitmapStatus::Ok) {
        unsigned char pixel[4];
        decodeBitmap(input.data(), input.size(), 1, 1, true, pixel);
        return 0;
    }
    // Keep the buffers small enough for many runs a second.
    constexpr int32_t MaxPixels = 1 << 20;
    if (static_cast<int64_t>(header.width) * header.height > MaxPixels)
        return 0;
    std::vector<unsigned char> rgba(static_cast<size_t>(header.width) * header.height * 4);
    const bool keyed = size > 0 && (data[size - 1] & 1);
    if (decodeBitmap(input.data(), input.size(), header.width, header.height, keyed, rgba.data()) != BitmapStatus::Ok) {
        for (const unsigned char byte : rgba)
            if (byte != 0)
                __builtin_trap();  // a failed decode leaves the buffer clear
    }
    // A wrong expected size is refused.
    if (header.width > 1)
        decodeBitmap(input.data(), input.size(), header.width - 1, header.height, keyed, rgba.data());
    return 0;
}
