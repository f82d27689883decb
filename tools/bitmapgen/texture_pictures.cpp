// The seven texture pictures. Sizes and uses: see src/textures/textures.h.
#include <algorithm>
#include <string>

#include "pictures.h"
#include "pixel_font.h"

namespace {

// ---- The cube: dark green machinery, lit from the top left ----

struct Greens {
    Colour seam = rgb(4, 14, 9);
    Colour plate = rgb(24, 58, 38);
    Colour plateLight = rgb(60, 112, 76);
    Colour plateDark = rgb(10, 30, 19);
    Colour recess = rgb(12, 34, 22);
    Colour slot = rgb(3, 11, 7);
    Colour bar = rgb(36, 80, 52);
    Colour barLight = rgb(66, 122, 84);
    Colour pipeDark = rgb(8, 26, 16);
    Colour pipeLight = rgb(86, 150, 104);
    Colour rivet = rgb(74, 128, 92);
    Colour lightGreen = rgb(150, 255, 176);
    Colour lightAmber = rgb(255, 196, 84);
    Colour glowGreen = rgb(40, 120, 70);
    Colour glowAmber = rgb(120, 90, 40);
};
const Greens green;

// A raised plate: its face, a light top-left rim and a dark bottom-right rim.
void plate(Canvas& c, int x0, int y0, int x1, int y1, Colour face, int rim = 2)
{
    fillRect(c, x0, y0, x1, y1, green.plateDark);
    fillRect(c, x0, y0, x1 - rim, y1 - rim, green.plateLight);
    // Lighter towards the top, as the rims are: constant along each row,
    // which keeps the RLE8 runs long.
    fillVerticalGradient(c, x0 + rim, y0 + rim, x1 - rim, y1 - rim, scale(face, 1.15f), scale(face, 0.85f));
}

// Stencilled markings, a shade lighter than the plate.
void stencil(Canvas& c, int x, int y, const char* text)
{
    Mask m(c.width, c.height);
    coverTextCrisp(m, x, y, text, 1);
    paint(c, m, rgb(58, 108, 74));
}

// A sunken area: dark top-left rim, light bottom-right.
void recess(Canvas& c, int x0, int y0, int x1, int y1, Colour face)
{
    fillRect(c, x0, y0, x1, y1, green.plateLight);
    fillRect(c, x0, y0, x1 - 1, y1 - 1, green.plateDark);
    fillRect(c, x0 + 1, y0 + 1, x1 - 1, y1 - 1, face);
}

void rivet(Canvas& c, int x, int y)
{
    fillRect(c, x, y, x + 2, y + 2, green.rivet);
    fillRect(c, x + 1, y + 1, x + 2, y + 2, green.plateDark);
    fillRect(c, x, y, x + 1, y + 1, green.barLight);
}

void cornerRivets(Canvas& c, int x0, int y0, int x1, int y1)
{
    rivet(c, x0 + 4, y0 + 4);
    rivet(c, x1 - 7, y0 + 4);
    rivet(c, x0 + 4, y1 - 7);
    rivet(c, x1 - 7, y1 - 7);
}

// A small lamp in a dark housing with a soft glow around it.
void lamp(Canvas& c, int x, int y, Colour light, Colour glow)
{
    Mask halo(c.width, c.height);
    coverCircle(halo, x + 1.5f, y + 1.5f, 4.5f);
    paint(c, halo, glow, 0.6f);
    fillRect(c, x - 1, y - 1, x + 4, y + 4, green.slot);
    fillRect(c, x, y, x + 3, y + 3, light);
    fillRect(c, x, y, x + 1, y + 1, rgb(255, 255, 240));
}

// A pipe along x (horizontal) or y, shaded round across its width.
void pipe(Canvas& c, bool horizontal, int across0, int across1, int along0, int along1)
{
    const int width = across1 - across0;
    for (int k = 0; k < width; ++k) {
        // Brightest a third of the way across, from the top or left.
        const float t = (k + 0.5f) / width;
        const float d = t < 0.33f ? t / 0.33f : (1 - t) / 0.67f;
        const Colour shade = mix(green.pipeDark, green.pipeLight, d * d * (3 - 2 * d) * 0.85f);
        if (horizontal)
            fillRect(c, along0, across0 + k, along1, across0 + k + 1, shade);
        else
            fillRect(c, across0 + k, along0, across0 + k + 1, along1, shade);
    }
}

void clamp(Canvas& c, bool horizontal, int across0, int across1, int at)
{
    if (horizontal) {
        fillRect(c, at, across0 - 1, at + 4, across1 + 1, green.plateDark);
        fillRect(c, at, across0 - 1, at + 3, across1, green.bar);
        fillRect(c, at, across0 - 1, at + 1, across1, green.barLight);
    } else {
        fillRect(c, across0 - 1, at, across1 + 1, at + 4, green.plateDark);
        fillRect(c, across0 - 1, at, across1, at + 3, green.bar);
        fillRect(c, across0 - 1, at, across1, at + 1, green.barLight);
    }
}

void grille(Canvas& c, int x0, int y0, int x1, int y1, bool horizontalSlats)
{
    recess(c, x0, y0, x1, y1, green.slot);
    const int pitch = 6;
    if (horizontalSlats) {
        for (int y = y0 + 3; y + 3 <= y1 - 2; y += pitch) {
            fillRect(c, x0 + 3, y, x1 - 3, y + 3, green.bar);
            fillRect(c, x0 + 3, y, x1 - 3, y + 1, green.barLight);
        }
    } else {
        for (int x = x0 + 3; x + 3 <= x1 - 2; x += pitch) {
            fillRect(c, x, y0 + 3, x + 3, y1 - 3, green.bar);
            fillRect(c, x, y0 + 3, x + 1, y1 - 3, green.barLight);
        }
    }
}

// A round vent: a sunken disc with slats, a hub and a lit ring.
void vent(Canvas& c, float cx, float cy, float r)
{
    Mask rim(c.width, c.height), disc(c.width, c.height), hub(c.width, c.height), ring(c.width, c.height);
    coverCircle(rim, cx, cy, r + 3);
    coverCircle(disc, cx, cy, r);
    paint(c, rim, green.plateDark);
    paint(c, shifted(disc, 1, 1), green.plateLight);
    paint(c, disc, green.slot);
    // Slats, clipped to the disc.
    Canvas slats(c.width, c.height, green.slot);
    for (int y = static_cast<int>(cy - r); y < cy + r; y += 5) {
        fillRect(slats, static_cast<int>(cx - r), y, static_cast<int>(cx + r) + 1, y + 2, green.bar);
        fillRect(slats, static_cast<int>(cx - r), y, static_cast<int>(cx + r) + 1, y + 1, green.barLight);
    }
    Mask inner(c.width, c.height);
    coverCircle(inner, cx, cy, r - 3);
    paintWith(c, inner, [&](int x, int y) { return slats.at(x, y); });
    coverCircle(ring, cx, cy, r * 0.42f);
    paint(c, ring, green.plateDark);
    coverCircle(hub, cx, cy, r * 0.42f - 2);
    paint(c, hub, green.plate);
    Mask glow(c.width, c.height);
    coverCircle(glow, cx, cy, r * 0.2f);
    paint(c, glow, green.glowGreen);
    Mask centre(c.width, c.height);
    coverCircle(centre, cx, cy, r * 0.1f);
    paint(c, centre, green.lightGreen);
}

} // namespace

Canvas cubePicture()
{
    Canvas c(256, 256, green.seam);

    // Top left: the big vent plate.
    plate(c, 2, 2, 126, 110, green.plate);
    vent(c, 64, 56, 36);
    cornerRivets(c, 2, 2, 126, 110);
    stencil(c, 12, 96, "A-07");

    // Top middle: a tall grille.
    plate(c, 128, 2, 190, 110, green.plate);
    grille(c, 134, 8, 184, 104, false);

    // Top right: the lamp panel.
    plate(c, 192, 2, 254, 54, green.plate);
    recess(c, 197, 7, 249, 49, green.recess);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            const bool amber = (row + col) % 3 == 1;
            lamp(c, 203 + col * 12, 13 + row * 12, amber ? green.lightAmber : green.lightGreen,
                 amber ? green.glowAmber : green.glowGreen);
        }

    // Right: a hatch plate with a status strip.
    plate(c, 192, 56, 254, 110, green.plate);
    recess(c, 198, 62, 248, 90, green.recess);
    plate(c, 201, 65, 245, 87, rgb(30, 68, 45), 1);
    stencil(c, 206, 72, "DM 4");
    for (int k = 0; k < 6; ++k)
        fillRect(c, 200 + k * 8, 95, 205 + k * 8, 104, k < 4 ? green.glowGreen : green.plateDark);
    fillRect(c, 200, 95, 205, 97, green.lightGreen);
    cornerRivets(c, 192, 56, 254, 110);

    // The conduit band across the middle.
    fillRect(c, 0, 112, 256, 144, green.recess);
    fillRect(c, 0, 112, 256, 113, green.plateDark);
    fillRect(c, 0, 143, 256, 144, green.plateLight);
    pipe(c, true, 115, 123, 0, 256);
    pipe(c, true, 125, 133, 0, 256);
    pipe(c, true, 135, 141, 0, 256);
    for (int x = 20; x < 256; x += 48)
        clamp(c, true, 115, 141, x);

    // Bottom left: a slatted intake.
    plate(c, 2, 146, 94, 254, green.plate);
    grille(c, 8, 152, 88, 230, true);
    lamp(c, 10, 240, green.lightGreen, green.glowGreen);
    lamp(c, 20, 240, green.lightGreen, green.glowGreen);
    lamp(c, 30, 240, green.lightAmber, green.glowAmber);
    fillRect(c, 44, 239, 86, 246, green.recess);
    fillRect(c, 45, 240, 70, 245, green.glowGreen);

    // Bottom middle: a port ringed with lamps.
    plate(c, 96, 146, 174, 254, green.plate);
    vent(c, 135, 192, 22);
    for (int k = 0; k < 4; ++k)
        lamp(c, 102 + k * 20, 232, k == 2 ? green.lightAmber : green.lightGreen,
             k == 2 ? green.glowAmber : green.glowGreen);
    cornerRivets(c, 96, 146, 174, 254);
    stencil(c, 122, 156, "C-12");

    // Bottom right: risers with a junction box.
    fillRect(c, 176, 146, 254, 254, green.recess);
    pipe(c, false, 182, 192, 146, 254);
    pipe(c, false, 196, 206, 146, 254);
    pipe(c, false, 226, 234, 146, 254);
    pipe(c, false, 240, 250, 146, 254);
    for (int y = 156; y < 254; y += 40) {
        clamp(c, false, 182, 206, y);
        clamp(c, false, 226, 250, y);
    }
    plate(c, 208, 178, 226, 222, green.plate);
    lamp(c, 215, 186, green.lightAmber, green.glowAmber);
    rivet(c, 212, 212);
    return c;
}

Canvas shipNamePicture()
{
    const Colour white = rgb(255, 255, 255);
    const Colour ink = rgb(28, 32, 44);
    Canvas c(256, 64, white);
    fillRect(c, 6, 3, 250, 5, ink);
    fillRect(c, 6, 59, 250, 61, ink);

    const std::string name = "ALCYONE";
    const float nameScale = 4;
    Mask letters(c.width, c.height);
    const float nameWidth = textCells(name, 1) * nameScale;
    coverTextSmooth(letters, (256 - nameWidth) / 2, 9, name, nameScale, 1.15f, 0.12f);
    const std::string registry = "DSV-4170";
    const int registryWidth = textCells(registry, 2) * 2;
    coverTextSmooth(letters, (256 - registryWidth) / 2.0f, 42, registry, 2, 1.1f, 0.12f, 2);
    paint(c, letters, ink);
    return c;
}

Canvas windowsPicture()
{
    const Colour white = rgb(255, 255, 255);
    const Colour glass = rgb(22, 30, 46);
    const Colour corner = rgb(150, 156, 168);  // rounds the corners against the white
    const Colour glint = rgb(86, 106, 138);
    Canvas c(64, 64, white);
    // Four rows of eight windows, 6 x 4 each, 2 apart, so that the rows
    // continue across neighbouring faces.
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 8; ++col) {
            const int x = 1 + col * 8, y = 6 + row * 16;
            fillRect(c, x, y, x + 6, y + 4, glass);
            for (const int cx : {x, x + 5})
                for (const int cy : {y, y + 3})
                    fillRect(c, cx, cy, cx + 1, cy + 1, corner);
            fillRect(c, x + 1, y + 1, x + 3, y + 2, glint);
        }
    return c;
}

Canvas makerMarkPicture()
{
    const Colour white = rgb(255, 255, 255);
    const Colour grey = rgb(112, 114, 122);
    Canvas c(128, 64, white);
    Mask mark(c.width, c.height);
    const std::string maker = "Dellmora";
    const float width = textCells(maker, 1) * 3.0f;
    coverTextSmooth(mark, (128 - width) / 2, 12, maker, 3, 1.2f, 0.1f);
    // A swept rule under the name.
    coverPolygon(mark, {{10, 42}, {118, 40}, {118, 42}, {10, 44}});
    paint(c, mark, grey);
    Mask small(c.width, c.height);
    const std::string line = "STAR YARDS";
    coverTextCrisp(small, (128 - textCells(line, 1)) / 2, 48, line, 1);
    paint(c, small, rgb(150, 152, 160));
    return c;
}

Canvas arrowStripePicture()
{
    const Colour white = rgb(255, 255, 255);
    const Colour red = rgb(196, 28, 32);
    Canvas c(64, 32, white);
    Mask stripe(c.width, c.height);
    // A band ending in an arrowhead that points along +s.
    coverPolygon(stripe, {{0, 11}, {40, 11}, {40, 5}, {60, 16}, {40, 27}, {40, 21}, {0, 21}});
    paint(c, stripe, red);
    Mask pin(c.width, c.height);
    coverPolygon(pin, {{0, 2}, {34, 2}, {34, 3}, {0, 3}});
    coverPolygon(pin, {{0, 29}, {34, 29}, {34, 30}, {0, 30}});
    paint(c, pin, red);
    return c;
}

Canvas captionPicture()
{
    // Black is the key: it must stay at the top-left corner and nowhere be
    // approached by the letters' grey edge.
    Canvas c(256, 16, rgb(0, 0, 0));
    const std::string text = "Quelmar 3D Screen Saver";
    const int scale = 2;
    const int width = textCells(text, 1) * scale;
    Mask letters(c.width, c.height);
    coverTextCrisp(letters, 256 - 4 - width, 1, text, scale);
    paint(c, grow(letters, 1), rgb(40, 40, 48));
    paint(c, letters, rgb(255, 255, 255));
    return c;
}

Canvas energyPanelPicture()
{
    const Colour purple = rgb(128, 0, 128);
    const Colour yellow = rgb(255, 214, 0);
    const Colour deep = rgb(176, 132, 0);
    Canvas c(64, 256, purple);

    // A bracket along the panel's left edge, nearly its whole height; the
    // top-left pixel stays purple, since it names the key colour.
    fillRect(c, 0, 2, 1, 254, deep);
    fillRect(c, 0, 2, 12, 3, deep);
    fillRect(c, 0, 253, 12, 254, deep);

    // The bar fills columns BarLeft..BarRight and rows BarTop..BarFoot - 1
    // (the overlay stands it 2 pixels in, 28 wide, 119 high, its foot 142
    // rows below the panel's top): the frame is the ring just outside.
    constexpr int BarLeft = 2, BarRight = 29, BarTop = 23, BarFoot = 142;
    fillRect(c, BarLeft - 2, BarTop - 2, BarRight + 3, BarFoot + 2, deep);
    fillRect(c, BarLeft - 1, BarTop - 1, BarRight + 2, BarFoot + 1, yellow);
    fillRect(c, BarLeft, BarTop, BarRight + 1, BarFoot, purple);

    // Marks at 100 %, 50 % and 0 % of the bar, and short ones at 25 % and
    // 75 %; a level's edge lies at BarFoot - 119 * level, on the row below
    // the frame's top for 100 %.
    struct Mark {
        int row;
        const char* label;
    };
    const Mark marks[] = {{BarTop - 1, "100%"}, {BarFoot - 60, "50%"}, {BarFoot, "0%"}};
    Mask labels(c.width, c.height);
    for (const Mark& m : marks) {
        fillRect(c, BarRight + 2, m.row, BarRight + 8, m.row + 1, yellow);
        coverTextCrisp(labels, BarRight + 10, m.row - 3, m.label, 1);
    }
    for (const int row : {BarFoot - 30, BarFoot - 90})
        fillRect(c, BarRight + 2, row, BarRight + 5, row + 1, yellow);
    coverTextCrisp(labels, 3, 8, "ENERGY", 1);
    coverTextCrisp(labels, 3, BarFoot + 8, "ALCYONE", 1);
    paint(c, labels, yellow);
    return c;
}
