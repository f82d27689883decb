#include "scene/scene.h"

Encounter encounter;

// The cube, the beams and the energy arrive with the encounter work; the
// frame already calls them at their places.
void regenerateEnergy() {}
void drawCube() {}
void updateBeams() {}
void updateApproach() {}
void drawBeam(const float*, const float*, int) {}
void drawEnergySphere() {}
