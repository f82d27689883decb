// The bitmap resources compiled into the Linux programs (generated from
// assets/bitmaps at build time by cmake/embed_bitmaps.cmake).
#pragma once

#include <cstddef>

struct EmbeddedBitmap {
    int id;  // resource id (common/resources.h)
    const unsigned char* data;
    std::size_t size;
};
extern const EmbeddedBitmap embeddedBitmaps[];
extern const int embeddedBitmapCount;
