// The logical palette of a pixel format that needs one: which formats do, how
// many entries, and their colours. Pure arithmetic, shared by the Windows
// surface and the tests.
#pragma once

#include <cstdint>

// One palette entry, laid out as the platform's PALETTEENTRY.
struct PaletteColour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

// The parts of a described pixel format that decide the palette.
struct PaletteFormat {
    uint32_t flags = 0;     // dwFlags
    int pixelType = 0;      // 0 RGBA, 1 colour index
    int colourBits = 0;
    int redBits = 0, redShift = 0;
    int greenBits = 0, greenShift = 0;
    int blueBits = 0, blueShift = 0;
};

inline constexpr uint32_t NeedPaletteFlag = 0x80;   // PFD_NEED_PALETTE
inline constexpr int ColourIndexPixelType = 1;      // PFD_TYPE_COLORINDEX
inline constexpr uint8_t NoCollapseFlag = 4;        // PC_NOCOLLAPSE
inline constexpr int MaxPaletteEntries = 256;

// True when the format asks for a palette or is a colour-index format.
bool formatNeedsPalette(const PaletteFormat& format);

// 2 to the power colourBits, at most 256 (1 for 0 bits or fewer).
int paletteEntryCount(const PaletteFormat& format);

// Fills entries[0..count-1], which hold the system palette on entry: a
// colour-index format gets black, red, green and blue in entries 0 to 3 and
// keeps the rest; an RGBA format gets its colour ramp in every entry.
void fillPalette(const PaletteFormat& format, PaletteColour* entries, int count);
