// platformReadBitmap on Linux: the bitmaps are compiled in and decoded by the
// texture subsystem's decoder; nothing is read from disk.
#include <cstdio>

#include "common/platform.h"
#include "common/posix/embedded_bitmaps.h"
#include "textures/textures.h"

bool platformReadBitmap(ModuleHandle, int id, int width, int height, bool colourKey, unsigned char* rgba)
{
    for (int i = 0; i < embeddedBitmapCount; ++i) {
        const EmbeddedBitmap& bitmap = embeddedBitmaps[i];
        if (bitmap.id != id)
            continue;
        const BitmapStatus status = decodeBitmap(bitmap.data, bitmap.size, width, height, colourKey, rgba);
        if (status == BitmapStatus::Ok)
            return true;
        std::fprintf(stderr, "quelmar: bitmap %d: %s\n", id, bitmapStatusText(status));
        return false;
    }
    std::fprintf(stderr, "quelmar: bitmap %d: no such bitmap\n", id);
    return false;
}
