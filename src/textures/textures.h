// Textures: the seven bitmap resources as GL textures, for the life of the context.
#pragma once

#include <cstdint>

#include "common/platform.h"

using TextureSlot = int;  // 0 cube, 1..4 ship, 5 caption strip, 6 energy panel
inline constexpr int TextureCount = 7;

extern uint32_t TextureNames[TextureCount];

// One load of the start-up sequence, in slot order.
struct TextureSpec {
    int resourceId;
    TextureSlot slot;
    int width;
    int height;
    bool colourKey;  // the top-left pixel's colour becomes transparent
};
extern const TextureSpec textureSet[TextureCount];

// Converts one bitmap and stores its new GL name at `slot`. Called by
// InitScene, after loadSettings, with the context current.
void loadTexture(int resourceId, TextureSlot slot, ModuleHandle instance, int width, int height,
                 bool colourKey);

// Deletes the seven names. Called when the GL window is destroyed.
void deleteTextures();
