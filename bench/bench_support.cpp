#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "backdrop/backdrop.h"
#include "common/posix/profile_file.h"
#include "common/random.h"
#include "scene/scene.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/offscreen/egl_surface.h"
#include "surface/surface.h"

namespace {
TimeStamp benchClock{1000000, 0};
}

void advanceBenchClock(int64_t milliseconds)
{
    const int64_t total = static_cast<int64_t>(benchClock.seconds) * 1000 +
                          benchClock.microseconds / 1000 + milliseconds;
    benchClock.seconds = static_cast<int32_t>(total / 1000);
    benchClock.microseconds = static_cast<int32_t>(total % 1000 * 1000);
}

bool startBenchScene(int32_t width, int32_t height, int32_t stars, int32_t warpLines)
{
    std::string error;
    if (!createOffscreenSurface(width, height, error)) {
        std::fprintf(stderr, "offscreen GL: %s\n", error.c_str());
        return false;
    }
    warp = {};
    camera = {};
    encounter = {};
    overlay = {};
    sceneRandom = {};
    resetShipMesh();  // InitScene scales the mesh in place
    setProfilePath("/nonexistent/quelmar-bench.ini");
    loadSettings();
    settings.activeStarCount = stars;
    settings.activeWarpLineCount = warpLines;
    benchClock = {1000000, 0};
    installScriptedClock(&benchClock);
    ClientWidth = width;
    ClientHeight = height;
    InitScene(width, height);
    return true;
}

BENCHMARK_MAIN();
