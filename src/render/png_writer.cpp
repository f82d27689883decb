#include "render/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/shown_value.h"

bool writePng(const std::string& path, int32_t width, int32_t height, const unsigned char* rgba,
              std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + shownValue(path) + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png))) {
        ok = false;
    } else if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int32_t y = height - 1; y >= 0; --y) {  // top row first
            const unsigned char* src = rgba + static_cast<size_t>(y) * width * 4;
            for (int32_t x = 0; x < width; ++x)
                std::memcpy(&row[static_cast<size_t>(x) * 3], src + static_cast<size_t>(x) * 4, 3);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok)
        error = "cannot encode " + shownValue(path);
    return ok;
}
