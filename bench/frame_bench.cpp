// Scene start-up and whole frames, offscreen on Mesa.
#include <benchmark/benchmark.h>

#include "backdrop/backdrop.h"
#include "bench_support.h"
#include "scene/scene.h"
#include "surface/gl.h"
#include "ship/ship.h"
#include "surface/surface.h"
#include "textures/textures.h"

namespace {

void BM_InitScene(benchmark::State& state)
{
    if (!startBenchScene(640, 480)) {
        state.SkipWithError("no offscreen context");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();  // each start-up as the first: unscaled mesh, no textures
        deleteTextures();
        releaseEncounter();
        resetShipMesh();
        state.ResumeTiming();
        InitScene(640, 480);
        glFinish();  // the texture uploads belong to the start-up
    }
}
BENCHMARK(BM_InitScene)->Unit(benchmark::kMillisecond);

// One frame including glFinish, so the rasterisation is counted too.
void runFrames(benchmark::State& state, WarpState held)
{
    const auto width = static_cast<int32_t>(state.range(0));
    const auto height = static_cast<int32_t>(state.range(1));
    if (!startBenchScene(width, height)) {
        state.SkipWithError("no offscreen context");
        return;
    }
    for (auto _ : state) {
        advanceBenchClock(16);
        warp.warpState = held;  // hold the state: never wait out, never advance
        warp.warpWait = 1e9f;
        warp.warpLineStretch = 1;
        drawFrame();
        glFinish();
    }
}

void BM_DrawFrameCruise(benchmark::State& state) { runFrames(state, Cruise); }
void BM_DrawFrameInWarp(benchmark::State& state) { runFrames(state, InWarp); }

BENCHMARK(BM_DrawFrameCruise)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawFrameInWarp)->Args({640, 480})->Args({1920, 1080})->Unit(benchmark::kMillisecond);

} // namespace
