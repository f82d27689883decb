#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "common/posix/profile_file.h"
#include "settings/settings.h"
#include "surface/offscreen/egl_surface.h"
#include "scene/scene.h"
#include "surface/surface.h"

namespace {
ScriptedClock benchClock{{1000000, 0}, 60, {}};
}

void advanceBenchClock(int64_t milliseconds) { advanceScriptedClock(benchClock, milliseconds); }

bool startBenchScene(int32_t width, int32_t height, int32_t stars, int32_t warpLines)
{
    ReleaseScene();  // in the context that made it, before that context goes
    std::string error;
    if (!createOffscreenSurface(width, height, error)) {
        std::fprintf(stderr, "offscreen GL: %s\n", error.c_str());
        return false;
    }
    resetScene();
    setProfilePath("/nonexistent/quelmar-bench.ini");
    loadSettings();
    settings.activeStarCount = stars;
    settings.activeWarpLineCount = warpLines;
    setScriptedFrame(benchClock, 0);
    installScriptedClock(&benchClock);
    InitScene(width, height);
    return true;
}

BENCHMARK_MAIN();
