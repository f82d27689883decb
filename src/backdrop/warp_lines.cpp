#include "backdrop/backdrop.h"
#include "common/random.h"
#include "surface/gl.h"

WarpLines warpLines;
FlashRing flashRing;

namespace {

constexpr float TunnelHalfWidth = 6;  // no line starts inside this square around the flight line
constexpr float WrapFrom = -100;
constexpr float WrapTo = 100;
constexpr float FlashRingRadius = 5;
constexpr float FlashRingStep = 18;   // degrees between ring points

bool insideTunnel(float y, float z)
{
    return -TunnelHalfWidth < y && y < TunnelHalfWidth && -TunnelHalfWidth < z && z < TunnelHalfWidth;
}

struct StreakVertex {
    float x;
    const GLfloat* emission;  // null: keeps the previous vertex's emission and colour
    const GLfloat* colour;
};

const GLfloat clearEmission[] = {0, 0, 0, 1};
const GLfloat clearColour[] = {0, 0, 0, 0};
const GLfloat yellowEmission[] = {0.5f, 0.5f, 0, 1};
const GLfloat yellowColour[] = {1, 1, 0, 0.5f};
const GLfloat blueEmission[] = {0, 0, 0.5f, 1};
const GLfloat blueColour[] = {0, 0, 1, 0.5f};

// Three segments: fade in to yellow, yellow to blue, fade out.
const StreakVertex streak[6] = {
    {0, clearEmission, clearColour}, {1, yellowEmission, yellowColour}, {1, nullptr, nullptr},
    {3, blueEmission, blueColour},   {3, nullptr, nullptr},             {4, clearEmission, clearColour},
};

} // namespace

void initWarpLines()
{
    for (int i = 0; i < settings.activeWarpLineCount; ++i) {
        float* line = warpLines.lines[i];
        line[0] = line[1] = line[2] = 0;
        line[0] = static_cast<float>(sceneRand() % 200 - 100);
        while (insideTunnel(line[1], line[2])) {
            line[1] = static_cast<float>(sceneRand() % 100 - 50);
            line[2] = static_cast<float>(sceneRand() % 100 - 50);
        }
    }
    glEnable(GL_LINE_SMOOTH);
    glHint(GL_LINE_SMOOTH_HINT, GL_DONT_CARE);
}

void initFlashRing()
{
    float angle = FlashRingStep;
    for (float* point : flashRing.points) {
        point[0] = 0;
        point[1] = 0;
        point[2] = FlashRingRadius;
        rotatePoint(point, angle, 0, 0);
        angle += FlashRingStep;
    }
}

void moveWarpLines()
{
    for (int i = 0; i < settings.activeWarpLineCount; ++i) {
        float& x = warpLines.lines[i][0];
        x -= warp.warpLineSpeed;
        if (x < WrapFrom)
            x = WrapTo;
    }
}

void drawWarpLines()
{
    const int count = settings.activeWarpLineCount;
    if (warp.warpState == InWarp || warp.warpState == DropOut) {
        for (int i = 0; i < count; ++i)
            drawWarpStreak(warpLines.lines[i][0], warpLines.lines[i][1], warpLines.lines[i][2]);
        return;
    }
    static const GLfloat emission[] = {0.5f, 0.5f, 0.5f, 1.0f};
    glPointSize(1);
    glBegin(GL_POINTS);
    glMaterialfv(GL_FRONT, GL_EMISSION, emission);
    glColor4f(0.5f, 0.5f, 0.5f, 1.0f);
    for (int i = 0; i < count; ++i)
        glVertex3fv(warpLines.lines[i]);
    glEnd();
}

void drawWarpStreak(float x, float y, float z)
{
    glPushMatrix();
    glLineWidth(2);
    glTranslatef(x, y, z);
    glScalef(warp.warpLineStretch, 1, 1);
    glEnable(GL_BLEND);
    glBegin(GL_LINES);
    for (const StreakVertex& v : streak) {
        if (v.emission) {
            glMaterialfv(GL_FRONT, GL_EMISSION, v.emission);
            glColor4fv(v.colour);
        }
        glVertex3f(v.x, 0, 0);
    }
    glEnd();
    glDisable(GL_BLEND);
    glPopMatrix();
}

void drawFlash()
{
    static const GLfloat emissionWhite[] = {1, 1, 1, 1};
    static const GLfloat emissionBlack[] = {0, 0, 0, 0};
    static const GLfloat colourWhite[] = {1, 1, 1, 1};
    static const GLfloat colourClear[] = {0, 0, 0, 0};
    const float s = warp.flashScale + 1;

    auto bright = [&](const float* p, float scale) {
        glMaterialfv(GL_FRONT, GL_EMISSION, emissionWhite);
        glColor4fv(colourWhite);
        glVertex3f(p[0] * scale, p[1] * scale, p[2] * scale);
    };
    auto dark = [&](const float* p) {
        glMaterialfv(GL_FRONT, GL_EMISSION, emissionBlack);
        glColor4fv(colourClear);
        glVertex3fv(p);
    };
    static const float centre[3] = {0, 0, 0};
    const auto& ring = flashRing.points;

    // Odd ring points are the spikes, even ones the valleys.
    for (int k = 0; k < 19; ++k) {
        glBegin(GL_POLYGON);
        bright(centre, 1);
        if (k % 2 == 1) {
            bright(ring[k], s);
            dark(ring[k + 1]);
        } else {
            dark(ring[k]);
            bright(ring[k + 1], s);
        }
        glEnd();
    }
    glBegin(GL_POLYGON);  // closes the disc from point 19 back to point 0
    bright(centre, 1);
    bright(ring[19], s);
    dark(ring[0]);
    glEnd();
}
