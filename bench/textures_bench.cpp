// The texture set: decoding the seven compiled-in bitmaps, and decoding plus
// uploading them as InitScene does.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench_support.h"
#include "common/platform.h"
#include "surface/gl.h"
#include "textures/textures.h"

namespace {

void BM_DecodeTextureSet(benchmark::State& state)
{
    std::vector<unsigned char> rgba(256 * 256 * 4);
    for (auto _ : state)
        for (const TextureSpec& texture : textureSet) {
            platformReadBitmap(programModule, texture.resourceId, texture.width, texture.height,
                               texture.colourKey, rgba.data());
            benchmark::DoNotOptimize(rgba.data());
        }
}
BENCHMARK(BM_DecodeTextureSet)->Unit(benchmark::kMicrosecond);

// The seven loads and their deletion; glFinish makes the uploads count.
void BM_LoadTextureSet(benchmark::State& state)
{
    if (!startBenchScene(64, 64)) {
        state.SkipWithError("no offscreen context");
        return;
    }
    for (auto _ : state) {
        for (const TextureSpec& texture : textureSet)
            loadTexture(texture.resourceId, texture.slot, programModule, texture.width, texture.height,
                        texture.colourKey);
        glFinish();
        state.PauseTiming();
        deleteTextures();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadTextureSet)->Unit(benchmark::kMicrosecond);

} // namespace
