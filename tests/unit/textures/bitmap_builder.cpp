#include "unit/textures/bitmap_builder.h"

namespace {

void put16(std::vector<unsigned char>& out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

void put32(std::vector<unsigned char>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::vector<unsigned char> TestBitmap::bytes() const
{
    const uint32_t paletteBytes = static_cast<uint32_t>(palette.size() * 4);
    const uint32_t offset = pixelOffset >= 0 ? static_cast<uint32_t>(pixelOffset) : 14 + infoSize + paletteBytes;
    std::vector<unsigned char> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + infoSize + paletteBytes + static_cast<uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);

    put32(out, infoSize);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, planes);
    put16(out, bitCount);
    put32(out, compression);
    put32(out, imageSize >= 0 ? static_cast<uint32_t>(imageSize) : static_cast<uint32_t>(pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, coloursUsed >= 0 ? static_cast<uint32_t>(coloursUsed) : static_cast<uint32_t>(palette.size()));
    put32(out, 0);
    // Later header versions (up to V5, 124 bytes): their extra fields, zero.
    for (uint32_t i = 40; i < infoSize && i < 124; ++i)
        out.push_back(0);

    for (const Rgb& c : palette) {
        out.push_back(c[2]);
        out.push_back(c[1]);
        out.push_back(c[0]);
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<unsigned char> paddedRows(const std::vector<std::vector<unsigned char>>& rows)
{
    std::vector<unsigned char> out;
    for (const auto& row : rows) {
        out.insert(out.end(), row.begin(), row.end());
        out.resize((out.size() + 3) & ~std::size_t{3}, 0);
    }
    return out;
}
