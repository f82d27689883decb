// The fixed GL state that InitScene sets and every frame relies on.
#include <gtest/gtest.h>

#include <cmath>

#include "gl/gl_context.h"
#include "scene/scene.h"
#include "surface/surface.h"

namespace {

void expectVector(GLenum light, GLenum name, float x, float y, float z, float w)
{
    GLfloat v[4] = {-9, -9, -9, -9};
    glGetLightfv(light, name, v);
    EXPECT_FLOAT_EQ(v[0], x);
    EXPECT_FLOAT_EQ(v[1], y);
    EXPECT_FLOAT_EQ(v[2], z);
    EXPECT_FLOAT_EQ(v[3], w);
}

void expectPerspective(double aspect)
{
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1 / std::tan(22.5 * 3.141592653589793 / 180);
    EXPECT_NEAR(m[0] * aspect / f, 1, 1e-6);  // a float matrix: relative
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[10], -301.0 / 299.0, 1e-5);
    EXPECT_NEAR(m[11], -1, 1e-9);
    EXPECT_NEAR(m[14], -600.0 / 299.0, 1e-5);
}

TEST(StartupState, ClearDepthShadingAndProjection)
{
    startTestScene();
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float c : clear)
        EXPECT_EQ(c, 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_EQ(glInteger(GL_DEPTH_FUNC), GL_LESS);
    EXPECT_TRUE(glEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glInteger(GL_SHADE_MODEL), GL_SMOOTH);
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    expectPerspective(static_cast<double>(TestWidth) / TestHeight);
    EXPECT_TRUE(glEnabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(glInteger(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
    EXPECT_EQ(glInteger(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
    EXPECT_TRUE(glEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glEnabled(GL_LINE_SMOOTH));  // from the warp lines' set-up
    EXPECT_EQ(glInteger(GL_LINE_SMOOTH_HINT), GL_DONT_CARE);
}

TEST(StartupState, OneHeadlightBehindTheEye)
{
    startTestScene();
    EXPECT_TRUE(glEnabled(GL_LIGHTING));
    EXPECT_TRUE(glEnabled(GL_LIGHT0));
    EXPECT_FALSE(glEnabled(GL_LIGHT1));
    expectVector(GL_LIGHT0, GL_AMBIENT, 0, 0, 0, 1);
    expectVector(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);
    expectVector(GL_LIGHT0, GL_SPECULAR, 1, 1, 1, 1);
    // Stored in eye coordinates: given while the modelview was the identity.
    expectVector(GL_LIGHT0, GL_POSITION, 0, 0, 10, 1);
}

TEST(StartupState, LinearFogSetUpButOff)
{
    startTestScene();
    EXPECT_FALSE(glEnabled(GL_FOG));
    EXPECT_EQ(glInteger(GL_FOG_MODE), GL_LINEAR);
    GLfloat v[4];
    glGetFloatv(GL_FOG_COLOR, v);
    EXPECT_EQ(v[0], 0.0f);
    EXPECT_EQ(v[3], 1.0f);
    glGetFloatv(GL_FOG_DENSITY, v);
    EXPECT_EQ(v[0], 0.5f);
    glGetFloatv(GL_FOG_START, v);
    EXPECT_EQ(v[0], 290.0f);
    glGetFloatv(GL_FOG_END, v);
    EXPECT_EQ(v[0], 300.0f);
    EXPECT_EQ(glInteger(GL_FOG_HINT), GL_DONT_CARE);
}

// A white square facing the eye at `distance`, drawn with fog on.
Pixel foggedSquareAt(float distance)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_FOG);
    const GLfloat white[] = {1, 1, 1, 1};
    glMaterialfv(GL_FRONT, GL_EMISSION, white);
    glColor4f(1, 1, 1, 1);
    glBegin(GL_QUADS);
    const float h = distance * 0.1f;
    glVertex3f(-h, -h, -distance);
    glVertex3f(h, -h, -distance);
    glVertex3f(h, h, -distance);
    glVertex3f(-h, h, -distance);
    glEnd();
    glDisable(GL_FOG);
    return readPixel(TestWidth / 2, TestHeight / 2);
}

TEST(StartupState, FogFadesOnlyTheLastTenUnits)
{
    startTestScene();
    ResizeView(TestWidth, TestHeight);
    EXPECT_GE(foggedSquareAt(289).r, 250);
    const Pixel half = foggedSquareAt(295);
    EXPECT_NEAR(half.r, 128, 6);
    EXPECT_LT(foggedSquareAt(299.5f).r, 20);
}

TEST(ResizeView, EmptyWindowsProjectAsOnePixelWithoutErrors)
{
    startTestScene();
    const struct {
        int width, height, viewWidth, viewHeight;
        float projectedWidth, projectedHeight;  // as the perspective and the overlay take them
    } cases[] = {{200, 0, 200, 1, 200, 1}, {0, 100, 0, 100, 1, 100}, {0, 0, 0, 1, 1, 1},
                 {320, 0, 320, 1, 320, 1}, {0, 240, 0, 240, 1, 240}};
    for (const auto& c : cases) {
        const double aspect = c.projectedWidth / c.projectedHeight;
        SetupGlState(c.width, c.height);
        expectPerspective(aspect);
        ClientWidth = c.width;
        ClientHeight = c.height;
        for (int k = 0; k < 3; ++k) {
            advanceClockMs(16);
            drawFrame();
        }
        GLdouble ortho[16];
        glGetDoublev(GL_PROJECTION_MATRIX, ortho);
        EXPECT_FLOAT_EQ(static_cast<float>(ortho[0]), 2 / c.projectedWidth) << c.width;
        EXPECT_FLOAT_EQ(static_cast<float>(ortho[5]), 2 / c.projectedHeight) << c.height;
        ResizeView(c.width, c.height);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.viewWidth);
        EXPECT_EQ(viewport[3], c.viewHeight);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        expectPerspective(aspect);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << c.width << "x" << c.height;
    }
}

} // namespace
