#include "common/platform.h"

// The compiled-in bitmaps and their decoder arrive with the texture work.
bool platformReadBitmap(ModuleHandle, int, int, int, bool, unsigned char*) { return false; }
