#include "surface/palette.h"

namespace {

// The channel's level in entry i: its bits scaled to 0..255. A channel of no
// bits, or one shifted past the index, stays 0 instead of dividing by zero.
uint8_t channelLevel(int index, int bits, int shift)
{
    constexpr int IndexBits = 8;  // entries are 0..255
    if (bits <= 0 || shift < 0 || shift >= IndexBits)
        return 0;
    const unsigned mask = bits >= IndexBits ? 0xFFu : (1u << bits) - 1u;
    const unsigned value = (static_cast<unsigned>(index) >> shift) & mask;
    return static_cast<uint8_t>(value * 255u / mask);
}

} // namespace

bool formatNeedsPalette(const PaletteFormat& format)
{
    return (format.flags & NeedPaletteFlag) != 0 || format.pixelType == ColourIndexPixelType;
}

int paletteEntryCount(const PaletteFormat& format)
{
    if (format.colourBits <= 0)
        return 1;
    if (format.colourBits >= 8)
        return MaxPaletteEntries;
    return 1 << format.colourBits;
}

void fillPalette(const PaletteFormat& format, PaletteColour* entries, int count)
{
    if (format.pixelType == ColourIndexPixelType) {
        static const PaletteColour primaries[] = {
            {0, 0, 0, NoCollapseFlag},
            {255, 0, 0, NoCollapseFlag},
            {0, 255, 0, NoCollapseFlag},
            {0, 0, 255, NoCollapseFlag},
        };
        for (int i = 0; i < count && i < 4; ++i)
            entries[i] = primaries[i];
        return;
    }
    for (int i = 0; i < count; ++i) {
        entries[i].red = channelLevel(i, format.redBits, format.redShift);
        entries[i].green = channelLevel(i, format.greenBits, format.greenShift);
        entries[i].blue = channelLevel(i, format.blueBits, format.blueShift);
        entries[i].flags = 0;
    }
}
