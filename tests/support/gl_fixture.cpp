#include "support/gl_fixture.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/posix/profile_file.h"
#include "render/png_writer.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "surface/offscreen/egl_surface.h"
#include "surface/surface.h"

namespace {

ScriptedClock testClock;

} // namespace

Pixel readPixel(int x, int y) { return readFrame()[static_cast<size_t>(y) * TestWidth + x]; }

std::vector<Pixel> readFrame()
{
    std::vector<Pixel> frame(static_cast<size_t>(TestWidth) * TestHeight);
    readOffscreenPixels(TestWidth, TestHeight, reinterpret_cast<unsigned char*>(frame.data()));
    return frame;
}

int countLitPixels(const std::vector<Pixel>& frame, int threshold)
{
    return static_cast<int>(std::count_if(frame.begin(), frame.end(), [threshold](const Pixel& p) {
        return p.r > threshold || p.g > threshold || p.b > threshold;
    }));
}

void setClock(int32_t seconds, int32_t microseconds) { testClock.now = {seconds, microseconds}; }

void frame(int count)
{
    for (int i = 0; i < count; ++i) {
        advanceScriptedClock(testClock, 16);
        drawFrame();
    }
}

void lookFrom(float ex, float ey, float ez, float tx, float ty, float tz)
{
    camera.fixedView = true;
    const float eye[3] = {ex, ey, ez}, target[3] = {tx, ty, tz};
    for (int axis = 0; axis < 3; ++axis) {
        camera.fixedEye[axis] = eye[axis];
        camera.fixedTarget[axis] = target[axis];
    }
}

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
GLint glInteger(GLenum name) { GLint value = 0; return glGetIntegerv(name, &value), value; }

::testing::AssertionResult matchesGolden(const std::string& name, int tolerance, double maxBadFraction)
{
    const std::string path = std::string(QUELMAR_SOURCE_DIR) + "/tests/gl/golden/" + name + ".png";
    std::vector<Pixel> frame = readFrame();
    const auto* actual = reinterpret_cast<const unsigned char*>(frame.data());
    const size_t size = frame.size() * 4;
    std::string error;
    const char* update = std::getenv("QUELMAR_UPDATE_GOLDENS");
    if (update && *update == '1') {
        if (!writePng(path, TestWidth, TestHeight, actual, error))
            return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "updated " << path;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> expected(size);
    bool read = png_image_begin_read_from_file(&image, path.c_str());
    if (read && (image.width != TestWidth || image.height != TestHeight))
        return png_image_free(&image), ::testing::AssertionFailure() << "golden " << name << " has another size";
    image.format = PNG_FORMAT_RGBA;
    // A negative stride stores the bottom row first, as GL does.
    read = read && png_image_finish_read(&image, nullptr, expected.data(), -TestWidth * 4, nullptr);
    png_image_free(&image);
    if (!read)
        return ::testing::AssertionFailure() << "no golden " << path << " (run scripts/update-goldens.sh)";
    long bad = 0;
    for (size_t i = 0; i < size; i += 4)
        bad += std::abs(actual[i] - expected[i]) > tolerance || std::abs(actual[i + 1] - expected[i + 1]) > tolerance ||
               std::abs(actual[i + 2] - expected[i + 2]) > tolerance;
    const double fraction = static_cast<double>(bad) / (static_cast<double>(TestWidth) * TestHeight);
    if (fraction <= maxBadFraction)
        return ::testing::AssertionSuccess();
    writePng(name + ".actual.png", TestWidth, TestHeight, actual, error);
    return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ; actual frame written to "
                                         << name << ".actual.png";
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::string error;
    if (!createOffscreenSurface(TestWidth, TestHeight, error)) {
        std::fprintf(stderr, "offscreen GL: %s\n", error.c_str());
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    destroyOffscreenSurface();
    return result;
}
