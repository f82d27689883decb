#include "support/gl_fixture.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/posix/profile_file.h"
#include "render/png_writer.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/offscreen/egl_surface.h"
#include "support/scene_driver.h"
#include "surface/surface.h"

namespace {
ScriptedClock testClock;
} // namespace

std::vector<Pixel> readFrame()
{
    std::vector<Pixel> frame(static_cast<size_t>(TestWidth) * TestHeight);
    readOffscreenPixels(TestWidth, TestHeight, reinterpret_cast<unsigned char*>(frame.data()));
    return frame;
}

void frame(int count)
{
    for (int i = 0; i < count; ++i) {
        advanceScriptedClock(testClock, 16);
        drawFrame();
    }
}

void lookFrom(const float* eye, const float* target)
{
    camera.fixedView = true;
    std::copy_n(eye, 3, camera.fixedEye);
    std::copy_n(target, 3, camera.fixedTarget);
}

void drawShipAlone(const float* eye, const float* target)
{
    ResizeView(TestWidth, TestHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0, 1, 0);
    drawShip();
}

void startTestScene()
{
    ReleaseScene();  // the previous test's textures and quadric
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();  // as in a new context: the light is placed under it
    testClock.now = {1000000, 0};
    startScene(testClock, TestWidth, TestHeight);
}

bool glEnabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }
GLint glInteger(GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; }
std::array<GLdouble, 16> glMatrix(GLenum name) { std::array<GLdouble, 16> m{}; return glGetDoublev(name, m.data()), m; }

::testing::AssertionResult matchesGolden(const std::string& name)
{
    const std::string path = std::string(QUELMAR_SOURCE_DIR) + "/tests/gl/golden/" + name + ".png";
    std::vector<Pixel> frame = readFrame();
    const auto* actual = reinterpret_cast<const unsigned char*>(frame.data());
    std::string error;
    const char* update = std::getenv("QUELMAR_UPDATE_GOLDENS");
    if (update && *update == '1')
        return writePng(path, TestWidth, TestHeight, actual, error) ? ::testing::AssertionSuccess()
                                                                    : ::testing::AssertionFailure() << error;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> expected(frame.size() * 4);
    bool read = png_image_begin_read_from_file(&image, path.c_str()) && image.width == TestWidth &&
                image.height == TestHeight;
    image.format = PNG_FORMAT_RGBA;
    // A negative stride stores the bottom row first, as GL does.
    read = read && png_image_finish_read(&image, nullptr, expected.data(), -TestWidth * 4, nullptr);
    png_image_free(&image);
    if (!read)
        return ::testing::AssertionFailure() << "no golden " << path << " of the test size (scripts/update-goldens.sh)";
    long bad = 0;
    for (size_t i = 0; i < expected.size(); i += 4)
        bad += std::abs(actual[i] - expected[i]) > 24 || std::abs(actual[i + 1] - expected[i + 1]) > 24 ||
               std::abs(actual[i + 2] - expected[i + 2]) > 24;
    if (bad <= TestWidth * TestHeight / 100)
        return ::testing::AssertionSuccess();
    writePng(name + ".actual.png", TestWidth, TestHeight, actual, error);
    return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ; actual frame in " << name
                                         << ".actual.png";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::string error;
    if (!createOffscreenSurface(TestWidth, TestHeight, error))
        return std::fprintf(stderr, "offscreen GL: %s\n", error.c_str()), 1;
    const int result = RUN_ALL_TESTS();
    destroyOffscreenSurface();
    return result;
}
