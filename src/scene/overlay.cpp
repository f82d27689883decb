#include <algorithm>

#include "scene/scene.h"
#include "ship/ship.h"
#include "surface/gl.h"
#include "textures/textures.h"

Overlay overlay;

namespace {

constexpr int32_t PanelHidden = -65;
constexpr int32_t PanelShown = 10;
constexpr float PanelHoldSeconds = 10;  // after the last energy change
constexpr int OverlayMaterial = 14;
constexpr TextureSlot CaptionSlot = 5;
constexpr TextureSlot PanelSlot = 6;
constexpr float OverlayDepth = -0.5f;

struct Corner {
    float s, t;
    float x, y;
};

// One flat quad facing the viewer, corners in drawing order.
void drawQuad(const Corner (&corners)[4])
{
    glBegin(GL_POLYGON);
    glNormal3f(0, 0, 1);
    for (const Corner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, OverlayDepth);
    }
    glEnd();
}

void bindOverlayTexture(TextureSlot slot)
{
    glBindTexture(GL_TEXTURE_2D, TextureNames[slot]);
    glEnable(GL_TEXTURE_2D);
}

// The caption strip: 256 x 16 texels at 3/4 scale in the top-right corner.
void drawCaption(int32_t width, int32_t height)
{
    glPushMatrix();
    bindOverlayTexture(CaptionSlot);
    setMaterial(OverlayMaterial);
    glEnable(GL_BLEND);
    glTranslatef(static_cast<float>(width - 192), static_cast<float>(height - 12), 0);
    glScalef(0.75f, 0.75f, 1);
    drawQuad({{0, 0, 0, 16}, {1, 0, 256, 16}, {1, 1, 256, 0}, {0, 1, 0, 0}});
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glPopMatrix();
}

// One pixel a frame: in while the energy changes, out ten seconds after.
// Returns whether the panel is to be drawn.
bool slidePanel()
{
    const float sinceChange = SceneClock - encounter.lastEnergyChange;
    int32_t& offset = overlay.panelOffset;
    if (sinceChange > PanelHoldSeconds) {
        if (offset <= PanelHidden)
            return false;
        --offset;
        return offset != PanelHidden;
    }
    if (offset < PanelShown)
        ++offset;
    return true;
}

// The side panel and, standing in its scale, the energy bar.
void drawPanel(int32_t height)
{
    const float offset = static_cast<float>(overlay.panelOffset);
    glPushMatrix();
    bindOverlayTexture(PanelSlot);
    setMaterial(OverlayMaterial);
    glEnable(GL_BLEND);
    glPushMatrix();
    glTranslatef(offset, static_cast<float>(height - 10), 0);
    drawQuad({{0, 0, 0, 0}, {1, 0, 64, 0}, {1, 1, 64, -256}, {0, 1, 0, -256}});
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);

    glPushMatrix();
    glTranslatef(offset + 2, static_cast<float>(height - 152), 0);
    const float e = encounter.energyLevel;
    glColor4f(1 - e, e, 0, 0.35f);  // directly: the palette's remembered code stays
    const float full = 119 * e;
    const float h = full > 0 ? full : 0;
    drawQuad({{0, 0, 0, h}, {1, 0, 28, h}, {1, 1, 28, 0}, {0, 1, 0, 0}});
    glPopMatrix();
    glDisable(GL_BLEND);
    glPopMatrix();
}

} // namespace

void drawOverlay()
{
    const int32_t width = ClientWidth;
    const int32_t height = ClientHeight;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // One unit a pixel, origin bottom left; an empty window counts as 1 pixel
    // (a zero range is an error).
    glOrtho(0, std::max(width, 1), 0, std::max(height, 1), -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);

    drawCaption(width, height);
    if (slidePanel())
        drawPanel(height);

    glEnable(GL_DEPTH_TEST);
}
