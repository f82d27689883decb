// The textures as the saver makes them on Windows (LoadBitmapA, then
// GetPixel column by column) against the portable decoder reading the same
// bitmap files: the RGBA buffers must be equal byte for byte.
//
//   texture_check SAVER-PATH BITMAP-DIR      exit 0 when all seven match
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/platform.h"
#include "common/resources.h"
#include "textures/textures.h"

namespace {

const char* fileOf(int id)
{
    switch (id) {
    case IDB_CUBE:
        return "cube.bmp";
    case IDB_SHIPNAME:
        return "shipname.bmp";
    case IDB_WINDOWS:
        return "windows.bmp";
    case IDB_MAKERMARK:
        return "makermark.bmp";
    case IDB_ARROWSTRIPE:
        return "arrowstripe.bmp";
    case IDB_CAPTION:
        return "caption.bmp";
    case IDB_ENERGYPANEL:
        return "energypanel.bmp";
    default:
        return "";
    }
}

std::vector<unsigned char> readFile(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(file);
    }
    return bytes;
}

// Compares one texture; prints the first difference.
bool sameTexture(const TextureSpec& texture, const std::string& directory)
{
    const size_t size = static_cast<size_t>(texture.width) * texture.height * 4;
    std::vector<unsigned char> windows(size, 0xCD), portable(size, 0xAB);
    const std::string path = directory + "\\" + fileOf(texture.resourceId);
    const std::vector<unsigned char> file = readFile(path);

    if (!platformReadBitmap(programModule, texture.resourceId, texture.width, texture.height, texture.colourKey,
                            windows.data())) {
        std::printf("FAIL bitmap %d: LoadBitmapA/GetPixel read nothing\n", texture.resourceId);
        return false;
    }
    const BitmapStatus status = decodeBitmap(file.data(), file.size(), texture.width, texture.height,
                                             texture.colourKey, portable.data());
    if (status != BitmapStatus::Ok) {
        std::printf("FAIL %s: %s\n", path.c_str(), bitmapStatusText(status));
        return false;
    }
    for (size_t i = 0; i < size; ++i) {
        if (windows[i] != portable[i]) {
            const size_t pixel = i / 4;
            std::printf("FAIL bitmap %d: byte %zu (x %zu, y %zu, channel %zu) is %d by GetPixel, %d decoded\n",
                        texture.resourceId, i, pixel % texture.width, pixel / texture.width, i % 4, windows[i],
                        portable[i]);
            return false;
        }
    }
    size_t transparent = 0;
    for (size_t i = 3; i < size; i += 4)
        transparent += windows[i] == 0;
    std::printf("ok bitmap %d (%s, %dx%d%s): %zu bytes equal, %zu pixels keyed out\n", texture.resourceId,
                fileOf(texture.resourceId), texture.width, texture.height, texture.colourKey ? ", keyed" : "", size,
                transparent);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: texture_check SAVER-PATH BITMAP-DIR\n");
        return 2;
    }
    programModule = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!programModule) {
        std::printf("FAIL cannot open %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (const TextureSpec& texture : textureSet)
        failures += sameTexture(texture, argv[2]) ? 0 : 1;
    std::printf("%s: %d of %d textures differ\n", failures ? "FAIL" : "ok", failures, TextureCount);
    return failures ? 1 : 0;
}
