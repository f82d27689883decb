// The pictures, drawn at their final sizes in full colour; main quantises
// and writes them.
#pragma once

#include <vector>

#include "canvas.h"
#include "indexed_image.h"

Canvas cubePicture();          // 107, 256 x 256
Canvas shipNamePicture();      // 105, 256 x 64
Canvas windowsPicture();       // 106, 64 x 64
Canvas makerMarkPicture();     // 108, 128 x 64
Canvas arrowStripePicture();   // 109, 64 x 32
Canvas captionPicture();       // 110, 256 x 16, keyed: black
Canvas energyPanelPicture();   // 111, 64 x 256, keyed: purple

// 102, 221 x 186, from a render of 884 x (744 + the rows cut off its top).
Canvas titlePicture(const Canvas& render);
// Icon 100: 16, 32 and 48 pixels, the ship cut out of a render against space.
std::vector<IconImage> iconImages(const Canvas& render);
