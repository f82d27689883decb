// Golden frames: committed PNGs compared with a tolerance. Run the tests with
// QUELMAR_UPDATE_GOLDENS=1 (scripts/update-goldens.sh) to write them anew.
#pragma once

#include <gtest/gtest.h>

#include <string>

// Compares the current colour buffer (TestWidth x TestHeight) with
// tests/gl/golden/<name>.png. Passes when at most `maxBadFraction` of the
// pixels differ by more than `tolerance` in any channel. On a mismatch the
// actual frame is written beside the build's test binary for inspection.
::testing::AssertionResult matchesGolden(const std::string& name, int tolerance = 24,
                                         double maxBadFraction = 0.01);
