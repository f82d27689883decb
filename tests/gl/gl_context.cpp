#include "gl/gl_context.h"
#include "support/scene_driver.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "backdrop/backdrop.h"
#include "common/posix/profile_file.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/offscreen/egl_surface.h"
#include "surface/surface.h"

namespace {

ScriptedClock testClock;

class OffscreenEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        std::string error;
        if (!createOffscreenSurface(TestWidth, TestHeight, error)) {
            std::fprintf(stderr, "offscreen GL: %s\n", error.c_str());
            std::abort();
        }
    }
    void TearDown() override { destroyOffscreenSurface(); }
};

} // namespace

Pixel readPixel(int x, int y)
{
    Pixel p{};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

std::vector<Pixel> readFrame(int32_t width, int32_t height)
{
    std::vector<Pixel> frame(static_cast<size_t>(width) * height);
    readOffscreenPixels(width, height, reinterpret_cast<unsigned char*>(frame.data()));
    return frame;
}

int countLitPixels(const std::vector<Pixel>& frame, int threshold)
{
    int lit = 0;
    for (const Pixel& p : frame)
        if (p.r > threshold || p.g > threshold || p.b > threshold)
            ++lit;
    return lit;
}

void setClock(int32_t seconds, int32_t microseconds) { testClock.now = {seconds, microseconds}; }

void advanceClockMs(int64_t milliseconds) { advanceScriptedClock(testClock, milliseconds); }

void startTestScene(int32_t startSeconds)
{
    ReleaseScene();  // the previous test's textures and quadric
    resetScene();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();  // as in a new context: the light is placed under it
    setProfilePath("/nonexistent/quelmar-test.ini");  // defaults
    loadSettings();
    setClock(startSeconds, 0);
    installScriptedClock(&testClock);
    ClientWidth = TestWidth;
    ClientHeight = TestHeight;
    InitScene(ClientWidth, ClientHeight);
}

bool glEnabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

GLint glInteger(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new OffscreenEnvironment);
    return RUN_ALL_TESTS();
}
