#include "ship/ship.h"
#include "surface/gl.h"

int currentMaterial = NoMaterial;

namespace {

struct MaterialRow {
    const GLfloat* emission;  // RGBA
    GLfloat colour[4];        // alpha 1 where the row's colour has three components
};

constexpr GLfloat Black[4] = {0, 0, 0, 1};
constexpr GLfloat Red[4] = {0.5f, 0, 0, 1};
constexpr GLfloat Blue[4] = {0, 0, 0.5f, 1};
constexpr GLfloat White[4] = {1, 1, 1, 1};
constexpr GLfloat Green[4] = {0, 1, 0, 0.5f};
constexpr GLfloat Grey[4] = {0.5f, 0.5f, 0.5f, 0.5f};

// Indexed by MaterialCode; row 0 also serves every code without a row.
constexpr MaterialRow Palette[] = {
    {Black, {0.5f, 0.5f, 0.5f, 0.5f}},    // 0 plain grey
    {Blue, {0, 0, 0.5f, 1}},              // 1 blue glow
    {Black, {0.25f, 0, 0, 1}},            // 2 dark red
    {Black, {0, 0, 0, 0.5f}},             // 3 accent lines
    {Red, {0.5f, 0, 0, 0.5f}},            // 4 red glow
    {Black, {0.49f, 0.49f, 0.49f, 0.5f}}, // 5 under panel
    {Black, {0, 0, 0.25f, 0.5f}},         // 6 dark blue
    {Black, {0.25f, 0.25f, 0.25f, 0.5f}}, // 7 damage marks
    {White, {1, 1, 1, 1}},                // 8 light points, debris
    {Black, {0.75f, 0.75f, 0.75f, 1}},    // 9 cube
    {Black, {0.5f, 0.5f, 0.5f, 0.5f}},    // 10 textured faces
    {Green, {0, 1, 0, 0.5f}},             // 11 beam from the cube
    {Red, {0.5f, 0.5f, 0, 0.5f}},         // 12 beam from the ship
    {Black, {0.25f, 0.25f, 1, 0.25f}},    // 13 energy bubble
    {Grey, {0.5f, 0.5f, 0.5f, 0.35f}},    // 14 overlay logo and panel
};
constexpr int PaletteSize = sizeof Palette / sizeof Palette[0];

} // namespace

void setMaterial(int code)
{
    if (code == currentMaterial)
        return;
    currentMaterial = code;
    const MaterialRow& row = (code > 0 && code < PaletteSize) ? Palette[code] : Palette[PlainGrey];
    glMaterialfv(GL_FRONT, GL_EMISSION, row.emission);
    glColor4fv(row.colour);
}
