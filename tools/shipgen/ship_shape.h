// The ship: a lofted hull with its superstructure, the under panel, the rear
// panel and the two side pods on their pylons.
#pragma once

#include <string>

// Builds the mesh and returns the asset text; false with a reason when the
// result misses a count the program relies on. With `stats`, prints the
// counts of each group to standard error.
bool buildShipAsset(std::string& text, std::string& error, bool stats);
