#include <benchmark/benchmark.h>

#include "scene/terrain.h"
#include "support/gl_test.h"

// A whole match's terrain: generation, mesh, GL objects, weight texture and minimap render.
// Run from bin/ under Xvfb so the shader and images load as in the game.
static void BM_TerrainConstruction(benchmark::State& state) {
    if (!ensureGlContext()) {
        state.SkipWithError("no OpenGL 3.2 context");
        return;
    }
    int size = (int)state.range(0);
    for (auto _ : state) {
        Terrain* terrain = new Terrain(size, 0);
        benchmark::DoNotOptimize(terrain->heights);
        delete terrain;
    }
}
BENCHMARK(BM_TerrainConstruction)->Arg(64)->Arg(128)->Unit(benchmark::kMillisecond);

// The fog work of one frame on a large map: fog everything, then one reveal per unit of a big army.
static void BM_TerrainFogFrame(benchmark::State& state) {
    if (!ensureGlContext()) {
        state.SkipWithError("no OpenGL 3.2 context");
        return;
    }
    Terrain terrain(128, 0);
    for (auto _ : state) {
        terrain.resetFog();
        for (int i = 0; i < 50; ++i) {
            terrain.revealFog(10.0f + (float)(i % 10) * 10.5f, 10.0f + (float)(i / 10) * 20.3f);
        }
        benchmark::DoNotOptimize(terrain.fogMap);
    }
}
BENCHMARK(BM_TerrainFogFrame)->Unit(benchmark::kMicrosecond);
