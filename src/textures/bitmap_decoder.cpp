// The 8-bit palettised Windows bitmap, uncompressed or RLE8, decoded without
// the platform. Every read is checked against the data's size and every
// write against the image, so malformed input ends in a status, never in a
// stray access.
#include <cstring>

#include "textures/textures.h"

namespace {

constexpr size_t FileHeaderSize = 14;
constexpr uint32_t InfoHeaderSize = 40;  // BITMAPINFOHEADER; later versions only add fields
constexpr uint32_t CompressionRgb = 0;
constexpr uint32_t CompressionRle8 = 1;
constexpr int32_t MaxPaletteSize = 256;
constexpr size_t PaletteEntrySize = 4;  // blue, green, red, reserved

uint16_t readU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t readU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

int32_t readI32(const unsigned char* p) { return static_cast<int32_t>(readU32(p)); }

// Writes the decoded pixels of the image's rows, mapping the file's row order
// to top row first.
struct PixelSink {
    const unsigned char* palette;  // paletteSize entries of B, G, R, reserved
    int32_t paletteSize;
    int32_t width;
    int32_t height;
    bool topDown;
    unsigned char* rgba;

    // The file's row `row` (0 = first stored), pixels x .. x + count - 1;
    // the caller has checked that they lie inside the image.
    bool put(int32_t row, int32_t x, const unsigned char* indices, int32_t count, size_t stride) const
    {
        const int32_t imageRow = topDown ? row : height - 1 - row;
        unsigned char* out = rgba + (static_cast<size_t>(imageRow) * width + x) * 4;
        for (int32_t i = 0; i < count; ++i, out += 4) {
            const unsigned char index = indices[i * stride];
            if (index >= paletteSize)
                return false;
            const unsigned char* entry = palette + index * PaletteEntrySize;
            out[0] = entry[2];
            out[1] = entry[1];
            out[2] = entry[0];
            out[3] = 255;
        }
        return true;
    }
};

BitmapStatus decodeRgb(const unsigned char* pixels, const PixelSink& sink)
{
    const size_t stride = (static_cast<size_t>(sink.width) + 3) & ~static_cast<size_t>(3);
    for (int32_t row = 0; row < sink.height; ++row)
        if (!sink.put(row, 0, pixels + row * stride, sink.width, 1))
            return BitmapStatus::PaletteIndexPastPalette;
    return BitmapStatus::Ok;
}

BitmapStatus decodeRle8(const unsigned char* stream, size_t size, const PixelSink& sink)
{
    constexpr unsigned char EndOfLine = 0;
    constexpr unsigned char EndOfBitmap = 1;
    constexpr unsigned char Delta = 2;

    const int32_t width = sink.width;
    const int32_t height = sink.height;
    int32_t x = 0;
    int32_t row = 0;  // in stored order
    size_t pos = 0;
    while (size - pos >= 2) {
        const unsigned char count = stream[pos];
        const unsigned char value = stream[pos + 1];
        pos += 2;
        if (count > 0) {  // encoded run: `count` pixels of index `value`
            if (row >= height)
                return BitmapStatus::RunPastImage;
            if (count > width - x)
                return BitmapStatus::RunPastRow;
            if (!sink.put(row, x, &value, count, 0))
                return BitmapStatus::PaletteIndexPastPalette;
            x += count;
            continue;
        }
        switch (value) {
        case EndOfLine:
            if (row >= height)
                return BitmapStatus::RunPastImage;
            x = 0;
            ++row;
            break;
        case EndOfBitmap:
            return BitmapStatus::Ok;
        case Delta: {
            if (size - pos < 2)
                return BitmapStatus::MissingEndOfBitmap;
            const int32_t right = stream[pos];
            const int32_t up = stream[pos + 1];
            pos += 2;
            if (right > width - x || up >= height - row)
                return BitmapStatus::DeltaPastImage;
            x += right;
            row += up;
            break;
        }
        default: {  // absolute run: `value` indices, padded to an even length
            const size_t padded = value + (value & 1u);
            if (row >= height)
                return BitmapStatus::RunPastImage;
            if (value > width - x)
                return BitmapStatus::RunPastRow;
            if (size - pos < padded)
                return BitmapStatus::MissingEndOfBitmap;
            if (!sink.put(row, x, stream + pos, value, 1))
                return BitmapStatus::PaletteIndexPastPalette;
            x += value;
            pos += padded;
            break;
        }
        }
    }
    return BitmapStatus::MissingEndOfBitmap;
}

void applyColourKey(unsigned char* rgba, size_t pixels, bool colourKey)
{
    if (!colourKey)
        return;  // the decoder already wrote alpha 255 everywhere
    const unsigned char key[3] = {rgba[0], rgba[1], rgba[2]};
    for (size_t i = 0; i < pixels; ++i, rgba += 4)
        if (rgba[0] == key[0] && rgba[1] == key[1] && rgba[2] == key[2])
            rgba[3] = 0;
}

} // namespace

const char* bitmapStatusText(BitmapStatus status)
{
    switch (status) {
    case BitmapStatus::Ok:
        return "no error";
    case BitmapStatus::TruncatedFileHeader:
        return "too short for the file header";
    case BitmapStatus::NotABitmap:
        return "not a bitmap (no BM signature)";
    case BitmapStatus::TruncatedInfoHeader:
        return "the info header is cut short";
    case BitmapStatus::UnsupportedHeader:
        return "the info header is of an unsupported kind";
    case BitmapStatus::UnsupportedFormat:
        return "not an 8-bit bitmap, uncompressed or RLE8";
    case BitmapStatus::CompressedTopDown:
        return "a compressed bitmap cannot be stored top-down";
    case BitmapStatus::BadDimensions:
        return "the width or height is zero, negative or too large";
    case BitmapStatus::SizeMismatch:
        return "the bitmap is not of the expected size";
    case BitmapStatus::PaletteTooLarge:
        return "the palette has more than 256 entries";
    case BitmapStatus::TruncatedPalette:
        return "the palette is cut short";
    case BitmapStatus::PixelOffsetInHeaders:
        return "the pixel data overlaps the headers or the palette";
    case BitmapStatus::TruncatedPixels:
        return "the pixel data is cut short";
    case BitmapStatus::PaletteIndexPastPalette:
        return "a pixel's palette index lies past the palette";
    case BitmapStatus::RunPastRow:
        return "a run goes past the end of its row";
    case BitmapStatus::RunPastImage:
        return "a run or line end goes past the last row";
    case BitmapStatus::DeltaPastImage:
        return "a delta moves past the image";
    case BitmapStatus::MissingEndOfBitmap:
        return "the RLE8 data ends without an end-of-bitmap mark";
    }
    return "unknown bitmap error";
}

BitmapStatus readBitmapHeader(const unsigned char* data, size_t size, BitmapHeader& header)
{
    header = {};
    if (size < FileHeaderSize)
        return BitmapStatus::TruncatedFileHeader;
    if (data[0] != 'B' || data[1] != 'M')
        return BitmapStatus::NotABitmap;
    const uint32_t pixelOffset = readU32(data + 10);

    if (size - FileHeaderSize < 4)
        return BitmapStatus::TruncatedInfoHeader;
    const unsigned char* info = data + FileHeaderSize;
    const uint32_t infoSize = readU32(info);
    if (infoSize < InfoHeaderSize)
        return BitmapStatus::UnsupportedHeader;  // the OS/2 core header, or nonsense
    if (size - FileHeaderSize < infoSize)
        return BitmapStatus::TruncatedInfoHeader;

    const int32_t width = readI32(info + 4);
    const int32_t height = readI32(info + 8);
    const uint16_t planes = readU16(info + 12);
    const uint16_t bitCount = readU16(info + 14);
    const uint32_t compression = readU32(info + 16);
    const uint32_t imageSize = readU32(info + 20);
    const uint32_t coloursUsed = readU32(info + 32);

    if (planes != 1 || bitCount != 8 || (compression != CompressionRgb && compression != CompressionRle8))
        return BitmapStatus::UnsupportedFormat;
    // Widened: the magnitude of INT32_MIN does not fit in 32 bits.
    const int64_t rows = height < 0 ? -static_cast<int64_t>(height) : height;
    if (width <= 0 || width > MaxBitmapSide || rows == 0 || rows > MaxBitmapSide)
        return BitmapStatus::BadDimensions;
    header.rle8 = compression == CompressionRle8;
    header.topDown = height < 0;
    if (header.rle8 && header.topDown)
        return BitmapStatus::CompressedTopDown;
    header.width = width;
    header.height = static_cast<int32_t>(rows);

    if (coloursUsed > MaxPaletteSize)
        return BitmapStatus::PaletteTooLarge;
    header.paletteSize = coloursUsed == 0 ? MaxPaletteSize : static_cast<int32_t>(coloursUsed);
    header.paletteOffset = FileHeaderSize + infoSize;
    const size_t paletteEnd = header.paletteOffset + header.paletteSize * PaletteEntrySize;
    if (paletteEnd > size)
        return BitmapStatus::TruncatedPalette;

    if (pixelOffset < paletteEnd)
        return BitmapStatus::PixelOffsetInHeaders;
    if (pixelOffset > size)
        return BitmapStatus::TruncatedPixels;
    header.pixelOffset = pixelOffset;
    const size_t available = size - pixelOffset;
    if (header.rle8) {
        // The stream's length; 0 means "up to the end of the data".
        if (imageSize > available)
            return BitmapStatus::TruncatedPixels;
        header.pixelBytes = imageSize != 0 ? imageSize : available;
    } else {
        // Rows are padded to 4 bytes; the last row's padding may be missing.
        const size_t stride = (static_cast<size_t>(width) + 3) & ~static_cast<size_t>(3);
        const size_t needed = stride * (header.height - 1) + width;
        if (needed > available)
            return BitmapStatus::TruncatedPixels;
        header.pixelBytes = needed;
    }
    return BitmapStatus::Ok;
}

BitmapStatus decodeBitmap(const unsigned char* data, size_t size, int32_t width, int32_t height,
                          bool colourKey, unsigned char* rgba)
{
    if (width <= 0 || width > MaxBitmapSide || height <= 0 || height > MaxBitmapSide)
        return BitmapStatus::SizeMismatch;  // no buffer of that size can be meant
    const size_t pixels = static_cast<size_t>(width) * height;

    BitmapHeader header;
    BitmapStatus status = readBitmapHeader(data, size, header);
    if (status == BitmapStatus::Ok && (header.width != width || header.height != height))
        status = BitmapStatus::SizeMismatch;
    if (status == BitmapStatus::Ok) {
        const PixelSink sink{data + header.paletteOffset, header.paletteSize, width, height,
                             header.topDown, rgba};
        if (header.rle8) {
            // Skipped pixels stay opaque black.
            for (size_t i = 0; i < pixels; ++i) {
                std::memset(rgba + i * 4, 0, 3);
                rgba[i * 4 + 3] = 255;
            }
            status = decodeRle8(data + header.pixelOffset, header.pixelBytes, sink);
        } else {
            status = decodeRgb(data + header.pixelOffset, sink);
        }
    }
    if (status != BitmapStatus::Ok) {
        std::memset(rgba, 0, pixels * 4);
        return status;
    }
    applyColourKey(rgba, pixels, colourKey);
    return BitmapStatus::Ok;
}
