// bitmapgen: draws the saver's pictures and writes them as 8-bit Windows
// bitmaps and an icon. The same inputs always give the same bytes.
//   bitmapgen ASSETS-DIR OUTPUT-DIR
// reads the ship renders ASSETS-DIR/source/ship-title.png and ship-icon.png
// (made by tools/bitmapgen/render-ship.sh) and writes OUTPUT-DIR/bitmaps/*.bmp
// and OUTPUT-DIR/quelmar.ico.
#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "indexed_image.h"
#include "pictures.h"

namespace {

struct Output {
    const char* file;
    Canvas (*draw)();
    bool rle8;
};

const Output textures[] = {
    {"cube.bmp", cubePicture, true},
    {"shipname.bmp", shipNamePicture, false},
    {"windows.bmp", windowsPicture, false},
    {"makermark.bmp", makerMarkPicture, false},
    {"arrowstripe.bmp", arrowStripePicture, false},
    {"caption.bmp", captionPicture, true},
    {"energypanel.bmp", energyPanelPicture, false},
};

bool readPng(const std::string& path, Canvas& canvas)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> bytes(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr);
    png_image_free(&image);
    if (!ok)
        return false;
    canvas = Canvas(static_cast<int>(image.width), static_cast<int>(image.height), rgb(0, 0, 0));
    for (size_t i = 0; i < canvas.pixels.size(); ++i)
        canvas.pixels[i] = rgb(bytes[i * 3], bytes[i * 3 + 1], bytes[i * 3 + 2]);
    return true;
}

// Four times the title picture's 221 x 186.
constexpr int TitleRenderWidth = 884;
constexpr int TitleRenderHeight = 744;

int fail(const std::string& message)
{
    std::fprintf(stderr, "bitmapgen: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: bitmapgen ASSETS-DIR OUTPUT-DIR\n", stderr);
        return 2;
    }
    const std::string source = std::string(argv[1]) + "/source/";
    const std::string out = argv[2];
    const std::string bitmaps = out + "/bitmaps/";
    mkdir(out.c_str(), 0777);
    mkdir(bitmaps.c_str(), 0777);

    for (const Output& texture : textures)
        if (!writeFile(bitmaps + texture.file, bitmapFile(quantise(texture.draw(), false), texture.rle8)))
            return fail("cannot write " + bitmaps + texture.file);

    Canvas titleRender(1, 1, {}), iconRender(1, 1, {});
    if (!readPng(source + "ship-title.png", titleRender) || !readPng(source + "ship-icon.png", iconRender))
        return fail("cannot read the ship renders in " + source + " (run tools/bitmapgen/render-ship.sh)");
    if (titleRender.width != TitleRenderWidth || titleRender.height < TitleRenderHeight)
        return fail("ship-title.png must be 884 pixels wide and at least 744 high");
    if (!writeFile(bitmaps + "title.bmp", bitmapFile(quantise(titlePicture(titleRender), true), false)))
        return fail("cannot write " + bitmaps + "title.bmp");
    if (!writeFile(out + "/quelmar.ico", iconFile(iconImages(iconRender))))
        return fail("cannot write " + out + "/quelmar.ico");
    return 0;
}
