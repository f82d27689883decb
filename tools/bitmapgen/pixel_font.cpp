#include "pixel_font.h"

#include <string>
#include <vector>

namespace {

// Rows top to bottom, separated by spaces; 7 rows, or 9 with a descender.
struct Glyph {
    char c;
    const char* rows;
};

constexpr Glyph Glyphs[] = {
    {'A', ".###. #...# #...# ##### #...# #...# #...#"},
    {'B', "####. #...# #...# ####. #...# #...# ####."},
    {'C', ".###. #...# #.... #.... #.... #...# .###."},
    {'D', "####. #...# #...# #...# #...# #...# ####."},
    {'E', "##### #.... #.... ####. #.... #.... #####"},
    {'F', "##### #.... #.... ####. #.... #.... #...."},
    {'G', ".###. #...# #.... #.### #...# #...# .####"},
    {'H', "#...# #...# #...# ##### #...# #...# #...#"},
    {'I', "### .#. .#. .#. .#. .#. ###"},
    {'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."},
    {'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    {'L', "#.... #.... #.... #.... #.... #.... #####"},
    {'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    {'N', "#...# #...# ##..# #.#.# #..## #...# #...#"},
    {'O', ".###. #...# #...# #...# #...# #...# .###."},
    {'P', "####. #...# #...# ####. #.... #.... #...."},
    {'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', "####. #...# #...# ####. #.#.. #..#. #...#"},
    {'S', ".#### #.... #.... .###. ....# ....# ####."},
    {'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."},
    {'U', "#...# #...# #...# #...# #...# #...# .###."},
    {'V', "#...# #...# #...# #...# #...# .#.#. ..#.."},
    {'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    {'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"},
    {'Y', "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.."},
    {'Z', "##### ....# ...#. ..#.. .#... #.... #####"},
    {'a', "..... ..... .###. ....# .#### #...# .####"},
    {'b', "#.... #.... ####. #...# #...# #...# ####."},
    {'c', "..... ..... .#### #.... #.... #.... .####"},
    {'d', "....# ....# .#### #...# #...# #...# .####"},
    {'e', "..... ..... .###. #...# ##### #.... .####"},
    {'f', "..## .#.. .#.. ###. .#.. .#.. .#.."},
    {'g', "..... ..... .#### #...# #...# #...# .#### ....# .###."},
    {'h', "#.... #.... #.##. ##..# #...# #...# #...#"},
    {'i', "# . # # # # #"},
    {'j', "..# ... .## ..# ..# ..# ..# ..# ##."},
    {'k', "#... #... #..# #.#. ##.. #.#. #..#"},
    {'l', "# # # # # # #"},
    {'m', "..... ..... ##.#. #.#.# #.#.# #.#.# #.#.#"},
    {'n', "..... ..... #.##. ##..# #...# #...# #...#"},
    {'o', "..... ..... .###. #...# #...# #...# .###."},
    {'p', "..... ..... ####. #...# #...# #...# ####. #.... #...."},
    {'q', "..... ..... .#### #...# #...# #...# .#### ....# ....#"},
    {'r', ".... .... #.## ##.. #... #... #..."},
    {'s', "..... ..... .#### #.... .###. ....# ####."},
    {'t', ".#.. .#.. ###. .#.. .#.. .#.# ..#."},
    {'u', "..... ..... #...# #...# #...# #..## .##.#"},
    {'v', "..... ..... #...# #...# #...# .#.#. ..#.."},
    {'w', "..... ..... #...# #...# #.#.# #.#.# .#.#."},
    {'x', "..... ..... #...# .#.#. ..#.. .#.#. #...#"},
    {'y', "..... ..... #...# #...# #...# #...# .#### ....# .###."},
    {'z', "..... ..... ##### ...#. ..#.. .#... #####"},
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."},
    {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"},
    {'3', "####. ....# ....# .###. ....# ....# ####."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."},
    {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."},
    {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."},
    {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {' ', ".. .. .. .. .. .. .."},
    {'.', ". . . . . . #"},
    {',', ".. .. .. .. .. .# .# #."},
    {'-', ".... .... .... #### .... .... ...."},
    {':', ". . # . . . #"},
    {'%', "##..# ##..# ...#. ..#.. .#... #..## #..##"},
    {'&', ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#"},
    {'/', "....# ...#. ...#. ..#.. .#... .#... #...."},
    {'(', ".# #. #. #. #. #. .#"},
    {')', "#. .# .# .# .# .# #."},
    {'!', "# # # # # . #"},
    {'\'', "# # . . . . ."},
    {'?', ".###. #...# ....# ...#. ..#.. ..... ..#.."},
};

// Characters without a glyph draw as '?'.
const Glyph& findGlyph(char c)
{
    const Glyph* question = nullptr;
    for (const Glyph& g : Glyphs) {
        if (g.c == c)
            return g;
        if (g.c == '?')
            question = &g;
    }
    return *question;
}

struct Cells {
    int width = 0;
    std::vector<std::string> rows;
    bool lit(int x, int y) const
    {
        return y >= 0 && y < static_cast<int>(rows.size()) && x >= 0 && x < width && rows[y][x] == '#';
    }
};

Cells cellsOf(char c)
{
    Cells cells;
    std::string row;
    for (const char* p = findGlyph(c).rows;; ++p) {
        if (*p == ' ' || *p == '\0') {
            cells.width = static_cast<int>(row.size());
            cells.rows.push_back(row);
            row.clear();
            if (*p == '\0')
                break;
        } else {
            row += *p;
        }
    }
    return cells;
}

} // namespace

int textCells(std::string_view text, int spacing)
{
    int width = 0;
    for (size_t i = 0; i < text.size(); ++i)
        width += cellsOf(text[i]).width + (i + 1 < text.size() ? spacing : 0);
    return width;
}

void coverTextCrisp(Mask& mask, int x, int top, std::string_view text, int scale, int spacing)
{
    for (const char c : text) {
        const Cells cells = cellsOf(c);
        for (int row = 0; row < static_cast<int>(cells.rows.size()); ++row)
            for (int col = 0; col < cells.width; ++col)
                if (cells.lit(col, row))
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx)
                            mask.raise(x + col * scale + dx, top + row * scale + dy, 1);
        x += (cells.width + spacing) * scale;
    }
}

void coverTextSmooth(Mask& mask, float x, float top, std::string_view text, float scale, float weight, float slant,
                     int spacing)
{
    const float radius = weight * scale / 2;
    const float baseline = top + FontCapHeight * scale;
    for (const char c : text) {
        const Cells cells = cellsOf(c);
        // The centre of a cell, slanted about the baseline.
        auto centre = [&](int col, int row) {
            const float cy = top + (row + 0.5f) * scale;
            return Point{x + (col + 0.5f) * scale + (baseline - cy) * slant, cy};
        };
        for (int row = 0; row < static_cast<int>(cells.rows.size()); ++row)
            for (int col = 0; col < cells.width; ++col) {
                if (!cells.lit(col, row))
                    continue;
                const Point a = centre(col, row);
                coverCircle(mask, a.x, a.y, radius);
                // Join right and down neighbours; diagonals only where no
                // straight path already joins them, so corners stay sharp.
                if (cells.lit(col + 1, row)) {
                    const Point b = centre(col + 1, row);
                    coverCapsule(mask, a.x, a.y, b.x, b.y, radius);
                }
                if (cells.lit(col, row + 1)) {
                    const Point b = centre(col, row + 1);
                    coverCapsule(mask, a.x, a.y, b.x, b.y, radius);
                }
                for (const int side : {-1, 1}) {
                    if (cells.lit(col + side, row + 1) && !cells.lit(col + side, row) && !cells.lit(col, row + 1)) {
                        const Point b = centre(col + side, row + 1);
                        coverCapsule(mask, a.x, a.y, b.x, b.y, radius);
                    }
                }
            }
        x += (cells.width + spacing) * scale;
    }
}
