#include "gl/golden.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gl/gl_context.h"
#include "render/png_writer.h"

namespace {

std::string goldenPath(const std::string& name)
{
    return std::string(QUELMAR_SOURCE_DIR) + "/tests/gl/golden/" + name + ".png";
}

// Reads an 8-bit RGB PNG into RGBA, bottom row first (GL order).
bool readPng(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgba)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGBA;
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgba.resize(PNG_IMAGE_SIZE(image));
    // A negative stride stores the bottom row first.
    const int stride = -static_cast<int>(PNG_IMAGE_ROW_STRIDE(image));
    const bool ok = png_image_finish_read(&image, nullptr, rgba.data(), stride, nullptr);
    png_image_free(&image);
    return ok;
}

} // namespace

::testing::AssertionResult matchesGolden(const std::string& name, int tolerance, double maxBadFraction)
{
    std::vector<unsigned char> actual(static_cast<size_t>(TestWidth) * TestHeight * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, TestWidth, TestHeight, GL_RGBA, GL_UNSIGNED_BYTE, actual.data());
    std::string error;

    const char* update = std::getenv("QUELMAR_UPDATE_GOLDENS");
    if (update && *update == '1') {
        if (!writePng(goldenPath(name), TestWidth, TestHeight, actual.data(), error))
            return ::testing::AssertionFailure() << error;
        return ::testing::AssertionSuccess() << "updated " << goldenPath(name);
    }

    int width = 0, height = 0;
    std::vector<unsigned char> expected;
    if (!readPng(goldenPath(name), width, height, expected))
        return ::testing::AssertionFailure()
               << "no golden " << goldenPath(name) << " (run scripts/update-goldens.sh)";
    if (width != TestWidth || height != TestHeight)
        return ::testing::AssertionFailure() << "golden " << name << " is " << width << "x" << height;

    long bad = 0;
    for (size_t i = 0; i < actual.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            if (std::abs(actual[i + c] - expected[i + c]) > tolerance) {
                ++bad;
                break;
            }
        }
    }
    const double fraction = static_cast<double>(bad) / (static_cast<double>(TestWidth) * TestHeight);
    if (fraction <= maxBadFraction)
        return ::testing::AssertionSuccess();
    const std::string actualPath = name + ".actual.png";
    writePng(actualPath, TestWidth, TestHeight, actual.data(), error);
    return ::testing::AssertionFailure() << name << ": " << bad << " pixels differ (" << fraction * 100
                                         << " %); actual frame written to " << actualPath;
}
