// The pictures, drawn at their final sizes in full colour; main quantises
// and writes them.
#pragma once

#include "canvas.h"

Canvas cubePicture();          // 107, 256 x 256
Canvas shipNamePicture();      // 105, 256 x 64
Canvas windowsPicture();       // 106, 64 x 64
Canvas makerMarkPicture();     // 108, 128 x 64
Canvas arrowStripePicture();   // 109, 64 x 32
Canvas captionPicture();       // 110, 256 x 16, keyed: black
Canvas energyPanelPicture();   // 111, 64 x 256, keyed: purple
