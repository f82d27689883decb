// The head-up layer on a real context: projection, caption strip, the sliding
// side panel and the energy bar.
#include <gtest/gtest.h>

#include <algorithm>

#include "backdrop/backdrop.h"
#include "gl/gl_context.h"
#include "scene/scene.h"
#include "settings/settings.h"

namespace {

// Only the overlay on black: nothing of the scene in the picture.
void startOverlayScene()
{
    startTestScene();
    settings.activeStarCount = 0;
    settings.activeWarpLineCount = 0;
    // A still camera facing away from the ship: only the overlay shows.
    camera.fixedView = true;
    camera.fixedEye[2] = 60;
    camera.fixedTarget[2] = 120;
}

void frame()
{
    advanceClockMs(16);
    drawFrame();
}

int litIn(const std::vector<Pixel>& f, int x0, int y0, int x1, int y1)
{
    int lit = 0;
    for (int y = std::max(0, y0); y < std::min(TestHeight, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(TestWidth, x1); ++x) {
            const Pixel& p = f[static_cast<size_t>(y) * TestWidth + x];
            if (p.r > 8 || p.g > 8 || p.b > 8)
                ++lit;
        }
    return lit;
}

TEST(Overlay, PanelSlidesInHoldsAndSlidesOutOnePixelAFrame)
{
    startOverlayScene();
    for (int k = 1; k <= 80; ++k) {  // the first ten seconds: in, then held
        frame();
        ASSERT_EQ(overlay.panelOffset, std::min(-65 + k, 10)) << k;
    }
    setClock(1000000 + 10, 1000);  // T just past 10 s since the last change (0)
    for (int k = 1; k <= 80; ++k) {
        frame();
        ASSERT_EQ(overlay.panelOffset, std::max(10 - k, -65)) << k;
    }
}

TEST(Overlay, PanelReversesInTheFrameTheEnergyChanges)
{
    startOverlayScene();
    overlay.panelOffset = 10;
    encounter.lastEnergyChange = -20;
    frame();
    frame();
    EXPECT_EQ(overlay.panelOffset, 8);
    encounter.lastEnergyChange = SceneClock;  // a change now
    frame();
    EXPECT_EQ(overlay.panelOffset, 9);
}

TEST(Overlay, LeavesAPixelExactProjectionAndDepthTestingOn)
{
    startOverlayScene();
    for (int32_t offset : {-65, -64, 0, 10}) {
        overlay.panelOffset = offset;
        encounter.lastEnergyChange = offset == -65 ? -100.0f : SceneClock + 1;
        frame();
        EXPECT_TRUE(glEnabled(GL_DEPTH_TEST)) << offset;
        EXPECT_FALSE(glEnabled(GL_BLEND)) << offset;
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D)) << offset;
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        GLdouble p[16], m[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        glGetDoublev(GL_MODELVIEW_MATRIX, m);
        EXPECT_FLOAT_EQ(p[0], 2.0f / TestWidth);
        EXPECT_FLOAT_EQ(p[5], 2.0f / TestHeight);
        EXPECT_DOUBLE_EQ(p[12], -1);
        EXPECT_DOUBLE_EQ(p[13], -1);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0);
    }
}

TEST(Overlay, CaptionStripInTheTopRightCornerInEveryFrame)
{
    startOverlayScene();
    for (int k = 0; k < 3; ++k) {
        overlay.panelOffset = k == 0 ? -65 : 10;
        encounter.lastEnergyChange = k == 0 ? -100.0f : SceneClock;
        frame();
        const std::vector<Pixel> f = readFrame();
        const int W = TestWidth, H = TestHeight;
        EXPECT_GT(litIn(f, W - 192, H - 12, W, H), 192 * 12 / 20) << k;
        EXPECT_EQ(litIn(f, W - 200, H - 12, W - 193, H), 0) << k;  // nothing left of it
        EXPECT_EQ(litIn(f, W - 150, H - 20, W, H - 13), 0) << k;   // nor below it
    }
}

// The pixels the bar adds: the frame with energy e against one without a bar.
std::vector<Pixel> barAt(float energy)
{
    overlay.panelOffset = 9;  // moves to 10 in this frame
    encounter.lastEnergyChange = SceneClock + 1;
    encounter.energyLevel = energy;
    frame();
    return readFrame();
}

struct BarExtent {
    int lowest = 1 << 30, highest = -1, left = 1 << 30, right = -1;
    int greener = 0, redder = 0;
};

BarExtent compareBars(const std::vector<Pixel>& with, const std::vector<Pixel>& without)
{
    BarExtent e;
    for (int y = 0; y < TestHeight; ++y)
        for (int x = 0; x < TestWidth; ++x) {
            const Pixel& a = with[static_cast<size_t>(y) * TestWidth + x];
            const Pixel& b = without[static_cast<size_t>(y) * TestWidth + x];
            if (a.r == b.r && a.g == b.g && a.b == b.b)
                continue;
            e.lowest = std::min(e.lowest, y);
            e.highest = std::max(e.highest, y);
            e.left = std::min(e.left, x);
            e.right = std::max(e.right, x);
            if (a.g - b.g > a.r - b.r + 20)
                ++e.greener;
            if (a.r - b.r > a.g - b.g + 20)
                ++e.redder;
        }
    return e;
}

TEST(Overlay, EnergyBarHeightAndColourFollowTheEnergy)
{
    startOverlayScene();
    const std::vector<Pixel> none = barAt(-0.5f);
    const int foot = TestHeight - 152;

    const BarExtent full = compareBars(barAt(1.0f), none);
    EXPECT_EQ(full.left, 12);        // panel at 10, bar 2 pixels in
    EXPECT_EQ(full.right, 12 + 27);  // 28 wide
    EXPECT_EQ(full.lowest, foot);
    EXPECT_EQ(full.highest, foot + 118);  // 119 rows
    EXPECT_GT(full.greener, 28 * 119 / 2);
    EXPECT_EQ(full.redder, 0);

    const BarExtent half = compareBars(barAt(0.5f), none);
    EXPECT_EQ(half.lowest, foot);
    EXPECT_NEAR(half.highest, foot + 59, 1);  // 59.5 rows
    EXPECT_EQ(half.greener, 0);               // yellow: red and green alike
    EXPECT_EQ(half.redder, 0);

    const BarExtent low = compareBars(barAt(0.1f), none);
    EXPECT_GT(low.redder, 0);

    const BarExtent empty = compareBars(barAt(0.0f), none);
    EXPECT_EQ(empty.highest, -1);  // no bar at all
}

TEST(Overlay, PanelHiddenAtTheLeftEdgeAndCutAtTheBottom)
{
    startOverlayScene();
    encounter.lastEnergyChange = SceneClock + 1;
    overlay.panelOffset = -65;  // will be -64: drawn, but left of the window
    frame();
    EXPECT_EQ(overlay.panelOffset, -64);
    const std::vector<Pixel> f = readFrame();
    EXPECT_EQ(litIn(f, 0, 0, 100, TestHeight - 12), 0);
    overlay.panelOffset = 9;
    frame();
    // 320 x 240: the panel runs from the top (less 10) to the bottom edge.
    EXPECT_GT(litIn(readFrame(), 10, 0, 74, 2), 0);
}

} // namespace
