#include <cstdlib>
#include <cstring>

#include "common/resources.h"
#include "settings/settings.h"
#include "surface/gl.h"
#include "textures/textures.h"

uint32_t TextureNames[TextureCount] = {};

const TextureSpec textureSet[TextureCount] = {
    {IDB_CUBE, 0, 256, 256, false},      {IDB_SHIPNAME, 1, 256, 64, false},
    {IDB_WINDOWS, 2, 64, 64, false},     {IDB_MAKERMARK, 3, 128, 64, false},
    {IDB_ARROWSTRIPE, 4, 64, 32, false}, {IDB_CAPTION, 5, 256, 16, true},
    {IDB_ENERGYPANEL, 6, 64, 256, true},
};

namespace {


// The pixel buffer of one conversion. Sides outside 1..MaxBitmapSide cannot
// be meant and would overflow the size, so they fail like the allocation.
unsigned char* allocatePixels(int width, int height)
{
    if (width <= 0 || width > MaxBitmapSide || height <= 0 || height > MaxBitmapSide)
        return nullptr;
    return static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * 4));
}

} // namespace

void loadTexture(int resourceId, TextureSlot slot, ModuleHandle instance, int width, int height,
                 bool colourKey)
{
    if (slot < 0 || slot >= TextureCount)
        return;
    unsigned char* pixels = allocatePixels(width, height);
    if (!pixels) {
        platformShowError("Error", "Error alocating texture memory!!");
        platformPostQuit(0);
        return;
    }
    // A bitmap that cannot be read leaves a transparent black texture rather
    // than whatever the buffer held.
    if (!platformReadBitmap(instance, resourceId, width, height, colourKey, pixels))
        std::memset(pixels, 0, static_cast<size_t>(width) * height * 4);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glGenTextures(1, &TextureNames[slot]);
    glBindTexture(GL_TEXTURE_2D, TextureNames[slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    const GLint filter = settings.textureDetail == HighTextureDetail ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    std::free(pixels);
}

void deleteTextures()
{
    glDeleteTextures(TextureCount, TextureNames);
    // Cleared, so that a second call deletes nothing.
    std::memset(TextureNames, 0, sizeof TextureNames);
}
