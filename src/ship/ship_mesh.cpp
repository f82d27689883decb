#include "ship/mesh.h"

void resetShipMesh() { shipMesh = storedShipMesh; }
