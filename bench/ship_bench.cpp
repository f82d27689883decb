// Mesh preparation at start-up, and the ship's drawing per frame (CPU time
// at a small viewport, so that the figure is the issuing, not the filling).
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "settings/settings.h"
#include "ship/ship.h"
#include "surface/gl.h"
#include "surface/surface.h"

namespace {

void BM_PrepareMesh(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        resetShipMesh();
        state.ResumeTiming();
        prepareMesh();
        benchmark::DoNotOptimize(shipMesh.hullNormals[0][0]);
    }
}
BENCHMARK(BM_PrepareMesh)->Unit(benchmark::kMicrosecond);

// drawShip under a camera that sees the whole ship; the argument is the
// texture detail setting.
void BM_DrawShip(benchmark::State& state)
{
    constexpr int32_t Size = 64;
    if (!startBenchScene(Size, Size)) {
        state.SkipWithError("no offscreen context");
        return;
    }
    settings.textureDetail = static_cast<int32_t>(state.range(0));
    ResizeView(Size, Size);
    glLoadIdentity();
    gluLookAt(24, 11, 19, -1, 0, 0, 0, 1, 0);
    drawShip();  // the first frame compiles the rasteriser's shaders
    glFinish();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawShip();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * (HullFaceCount + UnderPanelFaceCount + 2 * PodFaceCount +
                                                  RearPanelFaceCount));
}
BENCHMARK(BM_DrawShip)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace
