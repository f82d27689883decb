// Our pixel font: capitals and digits 5 x 7, lower case with descenders,
// proportional widths. Drawn crisp (whole pixels, for small texture
// lettering) or smooth (the lit cells joined by round strokes, for large
// lettering), into a coverage mask.
#pragma once

#include <string_view>

#include "canvas.h"

inline constexpr int FontCapHeight = 7;  // rows above the baseline
inline constexpr int FontRows = 9;       // with the descenders

// Width in font cells, letters separated by `spacing` cells.
int textCells(std::string_view text, int spacing = 1);

// Each lit cell becomes a scale x scale block; (x, top) is the top-left
// corner of the first letter's cap height.
void coverTextCrisp(Mask& mask, int x, int top, std::string_view text, int scale, int spacing = 1);

// Cells of `scale` pixels, strokes of weight * scale pixels' width, slanted
// by `slant` pixels per pixel of height.
void coverTextSmooth(Mask& mask, float x, float top, std::string_view text, float scale, float weight,
                     float slant = 0, int spacing = 1);
