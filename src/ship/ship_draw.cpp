#include "ship/ship.h"

int currentMaterial = 999;
bool debrisActive = false;

// The mesh and its drawing arrive with the ship work; until then the frame
// calls these at their places and they draw nothing.
void prepareMesh() {}
void drawShip() {}
void setMaterial(int code) { currentMaterial = code; }
void hitHull(int) {}
void drawDebris() {}
