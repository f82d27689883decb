// Whole frames during an encounter: a beam from the cube with the bubble, and
// a debris burst.
#include <benchmark/benchmark.h>

#include "backdrop/backdrop.h"
#include "bench_support.h"
#include "scene/scene.h"
#include "ship/ship.h"
#include "surface/gl.h"

namespace {

// A standoff held in Cruise at the benchmark's size; false when there is no context.
bool startEncounter(benchmark::State& state)
{
    if (!startBenchScene(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)))) {
        state.SkipWithError("no offscreen context");
        return false;
    }
    warp.warpState = Cruise;
    warp.warpWait = 1e9f;
    encounter.encounterMode = Standoff;
    encounter.cubePosition[0] = 60;
    encounter.cubePosition[1] = 10;
    encounter.cubePosition[2] = -40;
    return true;
}

void BM_DrawFrameBeamAndBubble(benchmark::State& state)
{
    if (!startEncounter(state))
        return;
    for (auto _ : state) {
        advanceBenchClock(16);
        Beam& beam = encounter.beam;  // an incoming beam always under way
        beam.active = true;
        beam.incoming = true;
        beam.startTime = SceneClock;
        beam.vertex = 112;
        for (int axis = 0; axis < 3; ++axis) {
            beam.source[axis] = encounter.cubePosition[axis];
            beam.target[axis] = shipMesh.meshVertices[112][axis];
        }
        encounter.energyLevel = 0.9f;
        drawFrame();
        glFinish();
    }
}

void BM_DrawFrameDebrisBurst(benchmark::State& state)
{
    if (!startEncounter(state))
        return;
    for (auto _ : state) {
        advanceBenchClock(16);
        if (!debrisActive)
            hitHull(112);
        drawFrame();
        glFinish();
    }
}

BENCHMARK(BM_DrawFrameBeamAndBubble)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameDebrisBurst)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

} // namespace
