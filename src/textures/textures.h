// Textures: the seven bitmap resources as GL textures, for the life of the
// context, and the decoder for the 8-bit palettised bitmaps they come from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/platform.h"

using TextureSlot = int;  // 0 cube, 1..4 ship, 5 caption strip, 6 energy panel
inline constexpr int TextureCount = 7;

extern uint32_t TextureNames[TextureCount];

// One load of the start-up sequence, in slot order.
struct TextureSpec {
    int resourceId;
    TextureSlot slot;
    int width;
    int height;
    bool colourKey;  // the top-left pixel's colour becomes transparent
};
extern const TextureSpec textureSet[TextureCount];

// Converts one bitmap and stores its new GL name at `slot`. Called by
// InitScene, after loadSettings, with the context current. Sides outside
// 1..MaxBitmapSide count as a failed allocation: reported, nothing converted.
void loadTexture(int resourceId, TextureSlot slot, ModuleHandle instance, int width, int height,
                 bool colourKey);

// Deletes the seven names and clears them. Called when the GL window is destroyed.
void deleteTextures();

// ---- Bitmap decoding (portable; fed untrusted bytes) ----

// Larger sides are refused: nothing this program draws comes near, and it
// keeps width * height * 4 far inside 32 bits.
inline constexpr int32_t MaxBitmapSide = 4096;

enum class BitmapStatus {
    Ok,
    TruncatedFileHeader,
    NotABitmap,
    TruncatedInfoHeader,
    UnsupportedHeader,
    UnsupportedFormat,
    CompressedTopDown,
    BadDimensions,
    SizeMismatch,
    PaletteTooLarge,
    TruncatedPalette,
    PixelOffsetInHeaders,
    TruncatedPixels,
    PaletteIndexPastPalette,
    RunPastRow,
    RunPastImage,
    DeltaPastImage,
    MissingEndOfBitmap,
};

// A short English description of the status, for error messages.
const char* bitmapStatusText(BitmapStatus status);

// What the headers say, checked against each other and the data's size.
struct BitmapHeader {
    int32_t width = 0;
    int32_t height = 0;  // always positive; see topDown
    bool topDown = false;
    bool rle8 = false;
    int32_t paletteSize = 0;  // 1..256 entries
    size_t paletteOffset = 0;
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;  // the pixel data (or the RLE8 stream) from pixelOffset
};

// Reads and checks the file and info headers of an 8-bit BI_RGB or BI_RLE8
// bitmap.
BitmapStatus readBitmapHeader(const unsigned char* data, size_t size, BitmapHeader& header);

// Decodes a whole bitmap that must be width x height into rgba (width *
// height * 4 bytes, top row first, R G B A). With colourKey every pixel of
// exactly the top-left pixel's colour gets alpha 0, all others 255. Pixels
// that an RLE8 stream skips are black. On failure rgba is all zero (unless
// the sides themselves are out of range); nothing outside data or rgba is
// ever read or written.
BitmapStatus decodeBitmap(const unsigned char* data, size_t size, int32_t width, int32_t height,
                          bool colourKey, unsigned char* rgba);
