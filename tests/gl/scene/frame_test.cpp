// Whole frames on a real context: what they leave behind and what they show.
#include <gtest/gtest.h>

#include <cmath>

#include "backdrop/backdrop.h"
#include "gl/gl_context.h"
#include "scene/scene.h"
#include "settings/settings.h"

namespace {

struct Projector {
    GLdouble model[16], projection[16];
    GLint viewport[4];

    // The camera of the last frame, as gluLookAt built it.
    Projector()
    {
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        gluLookAt(camera.cameraEye[0], camera.cameraEye[1], camera.cameraEye[2], camera.cameraTarget[0],
                  camera.cameraTarget[1], camera.cameraTarget[2], 0, 1, 0);
        glGetDoublev(GL_MODELVIEW_MATRIX, model);
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        gluPerspective(45, static_cast<double>(TestWidth) / TestHeight, 1, 300);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        viewport[0] = viewport[1] = 0;
        viewport[2] = TestWidth;
        viewport[3] = TestHeight;
    }

    // Window position of a world point, when it lies inside the view (with a margin).
    bool project(const float p[3], int& x, int& y) const
    {
        GLdouble wx, wy, wz;
        if (!gluProject(p[0], p[1], p[2], model, projection, viewport, &wx, &wy, &wz))
            return false;
        x = static_cast<int>(std::floor(wx));
        y = static_cast<int>(std::floor(wy));
        return wz > 0 && wz < 1 && x >= 2 && y >= 2 && x < TestWidth - 2 && y < TestHeight - 2;
    }
};

// The brightest pixel within one pixel of (x, y).
Pixel brightestNear(const std::vector<Pixel>& frame, int x, int y)
{
    Pixel best{0, 0, 0, 0};
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const Pixel p = frame[static_cast<size_t>(y + dy) * TestWidth + x + dx];
            if (p.r + p.g + p.b > best.r + best.g + best.b)
                best = p;
        }
    return best;
}

void drawFrames(int count)
{
    for (int i = 0; i < count; ++i) {
        advanceClockMs(16);
        drawFrame();
    }
}

TEST(Frame, LeavesTheDocumentedState)
{
    startTestScene();
    glMatrixMode(GL_PROJECTION);  // whatever came before
    glLoadIdentity();
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    for (WarpState state : {Cruise, InWarp, Flash}) {
        warp.warpState = state;
        warp.warpWait = 1e9f;
        drawFrames(3);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW) << state;
        EXPECT_TRUE(glEnabled(GL_DEPTH_TEST)) << state;
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D)) << state;
        EXPECT_FALSE(glEnabled(GL_BLEND)) << state;
        EXPECT_FALSE(glEnabled(GL_FOG)) << state;
        EXPECT_EQ(glInteger(GL_MODELVIEW_STACK_DEPTH), 1) << state;
        EXPECT_EQ(glInteger(GL_PROJECTION_STACK_DEPTH), 1) << state;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << state;
    }
}

// Of the points in view, how many show a pixel that passes `shows` within one pixel.
template <typename Shows>
void expectPointsShown(const float (*points)[3], int count, Shows shows, const char* what)
{
    const std::vector<Pixel> frame = readFrame();
    const Projector view;
    int visible = 0, shown = 0;
    for (int i = 0; i < count; ++i) {
        int x, y;
        if (!view.project(points[i], x, y))
            continue;
        ++visible;
        shown += shows(brightestNear(frame, x, y));
    }
    EXPECT_GT(visible, 20) << what;
    EXPECT_GE(shown, visible * 9 / 10) << what << ": " << shown << " of " << visible;
}

TEST(Frame, ShowsStarsAndGreySpecksWhereTheCameraSeesThem)
{
    startTestScene();
    drawFrames(2);
    expectPointsShown(starField.stars, settings.activeStarCount,
                      [](const Pixel& p) { return p.r > 60 && p.g > 60 && p.b > 60; }, "stars");
    expectPointsShown(warpLines.lines, settings.activeWarpLineCount, [](const Pixel& p) {
        return p.r > 60 && std::abs(p.r - p.g) < 4 && std::abs(p.g - p.b) < 4;
    }, "warp lines");
}

// Pixels whose blue clearly exceeds red, or red and green clearly exceed blue.
int colouredPixels(const std::vector<Pixel>& frame)
{
    int coloured = 0;
    for (const Pixel& p : frame)
        if (p.b > p.r + 40 || (p.r > p.b + 40 && p.g > p.b + 40))
            ++coloured;
    return coloured;
}

TEST(Frame, StreaksInWarpAndDropOutOnly)
{
    startTestScene();
    camera.fixedView = true;
    camera.fixedEye[0] = 0;
    camera.fixedEye[1] = 30;  // above the ship, which would block the view
    camera.fixedEye[2] = 0;
    camera.fixedTarget[0] = -1;  // looking down the stream
    camera.fixedTarget[1] = 30;
    drawFrames(2);
    EXPECT_EQ(colouredPixels(readFrame()), 0);
    warp.warpState = InWarp;
    warp.warpWait = 1e9f;
    drawFrames(2);
    EXPECT_GT(colouredPixels(readFrame()), 100);
}

TEST(Frame, FlashBurstsFarAheadOfTheShip)
{
    startTestScene();
    camera.fixedView = true;
    camera.fixedEye[0] = 0;
    camera.fixedEye[1] = 0;
    camera.fixedEye[2] = 0;
    camera.fixedTarget[0] = 1;
    settings.activeStarCount = 0;  // nothing else white in the middle
    warp.warpState = Flash;
    warp.warpStateStart = SceneClock + 0.016f;  // the next frame is t = 0
    int brightest = 0;
    for (int i = 0; i < 62; ++i) {  // the first second of the flash
        drawFrames(1);
        const std::vector<Pixel> frame = readFrame();
        int white = 0;
        for (int y = TestHeight / 2 - 12; y < TestHeight / 2 + 12; ++y)
            for (int x = TestWidth / 2 - 12; x < TestWidth / 2 + 12; ++x) {
                const Pixel& p = frame[static_cast<size_t>(y) * TestWidth + x];
                if (p.r > 200 && p.g > 200 && p.b > 200)
                    ++white;
            }
        brightest = std::max(brightest, white);
    }
    EXPECT_GT(brightest, 20);
    drawFrames(1);  // past one second: no flash
    EXPECT_LT(readPixel(TestWidth / 2, TestHeight / 2).r, 50);
}

} // namespace
