#include "ship/ship.h"

bool debrisActive = false;

// The damage marks and the debris arrive with the hull damage work; until
// then the frame calls these at their places and nothing happens.
void hitHull(int) {}
void drawDebris() {}
