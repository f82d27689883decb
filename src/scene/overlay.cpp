#include "scene/scene.h"
#include "surface/gl.h"

Overlay overlay;

// The caption strip and the side panel arrive with the overlay work; depth
// testing is switched back on here as on every path of the finished overlay.
void drawOverlay() { glEnable(GL_DEPTH_TEST); }
