#include <algorithm>

#include "surface/gl.h"
#include "surface/surface.h"

namespace {
constexpr double FieldOfView = 45.0;
constexpr double NearPlane = 1.0;
constexpr double FarPlane = 300.0;

// An empty window (minimised, a collapsing preview) projects as 1 pixel wide
// or high: no division by zero, no degenerate matrix.
void applyPerspective(int32_t width, int32_t height)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(std::max(width, 1)) / static_cast<double>(std::max(height, 1));
    gluPerspective(FieldOfView, aspect, NearPlane, FarPlane);
}
} // namespace

void SetupGlState(int32_t width, int32_t height)
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    applyPerspective(width, height);  // the viewport waits for the first frame
    glMatrixMode(GL_MODELVIEW);
    SetupLight();
    SetupFog();
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_NORMALIZE);
}

void SetupLight()
{
    static const GLfloat ambient[] = {0.0f, 0.0f, 0.0f, 1.0f};
    static const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    static const GLfloat specular[] = {1.0f, 1.0f, 1.0f, 1.0f};
    // Given while the modelview is the identity: a headlight behind the eye.
    static const GLfloat position[] = {0.0f, 0.0f, 10.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

void SetupFog()
{
    static const GLfloat colour[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_DENSITY, 0.5f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 290.0f);
    glFogf(GL_FOG_END, 300.0f);
}

void ResizeView(int32_t width, int32_t height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    applyPerspective(width, height);
    glMatrixMode(GL_MODELVIEW);
}
