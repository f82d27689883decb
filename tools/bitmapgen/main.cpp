// bitmapgen: draws the saver's pictures and writes them as 8-bit Windows
// bitmaps (and the icon). The same inputs always give the same bytes.
//   bitmapgen ASSETS-DIR OUTPUT-DIR
// reads the ship renders under ASSETS-DIR/source/ and writes
// OUTPUT-DIR/bitmaps/*.bmp and OUTPUT-DIR/quelmar.ico.
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "indexed_image.h"
#include "pictures.h"

namespace {

struct Output {
    const char* file;
    Canvas (*draw)();
    bool rle8;
};

const Output outputs[] = {
    {"cube.bmp", cubePicture, true},
    {"shipname.bmp", shipNamePicture, false},
    {"windows.bmp", windowsPicture, false},
    {"makermark.bmp", makerMarkPicture, false},
    {"arrowstripe.bmp", arrowStripePicture, false},
    {"caption.bmp", captionPicture, true},
    {"energypanel.bmp", energyPanelPicture, false},
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: bitmapgen ASSETS-DIR OUTPUT-DIR\n", stderr);
        return 2;
    }
    const std::string dir = std::string(argv[2]) + "/bitmaps";
    mkdir(argv[2], 0777);
    mkdir(dir.c_str(), 0777);
    for (const Output& out : outputs) {
        const IndexedImage image = quantise(out.draw(), false);
        const std::string path = dir + "/" + out.file;
        if (!writeFile(path, bitmapFile(image, out.rle8))) {
            std::fprintf(stderr, "bitmapgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
