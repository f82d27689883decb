// Bitmap resources through GDI: the bitmap selected into a memory DC and
// read back one GetPixel per pixel, column by column.
#include <windows.h>

#include "common/platform.h"

namespace {

struct MemoryBitmap {
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;

    ~MemoryBitmap()
    {
        if (dc) {
            if (previous)
                SelectObject(dc, previous);
            DeleteDC(dc);
        }
        if (bitmap)
            DeleteObject(bitmap);
    }
};

constexpr BYTE Opaque = 255;
constexpr BYTE Transparent = 0;

} // namespace

bool platformReadBitmap(ModuleHandle module, int id, int width, int height, bool colourKey,
                        unsigned char* rgba)
{
    MemoryBitmap source;
    source.bitmap = LoadBitmapA(static_cast<HINSTANCE>(module), MAKEINTRESOURCEA(id));
    if (!source.bitmap)
        return false;
    // The buffer is sized by the caller: a bitmap of another size would leave
    // it half filled or ask for pixels outside the picture.
    BITMAP info{};
    if (!GetObjectA(source.bitmap, sizeof info, &info) || info.bmWidth != width ||
        info.bmHeight != height)
        return false;
    source.dc = CreateCompatibleDC(nullptr);
    if (!source.dc)
        return false;
    source.previous = SelectObject(source.dc, source.bitmap);

    const COLORREF key = GetPixel(source.dc, 0, 0);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const COLORREF colour = GetPixel(source.dc, x, y);
            unsigned char* pixel = rgba + (static_cast<size_t>(y) * width + x) * 4;
            pixel[0] = GetRValue(colour);
            pixel[1] = GetGValue(colour);
            pixel[2] = GetBValue(colour);
            pixel[3] = colourKey && colour == key ? Transparent : Opaque;
        }
    }
    return true;
}
