#include <benchmark/benchmark.h>

#include "render/frustum.h"
#include "render/matrix_stack.h"

// The world rebuilds its camera and frustum every frame and culls every chunk and unit against it.
static void BM_CameraAndCulling(benchmark::State& state) {
    MatrixStack projection;
    MatrixStack modelview(4);
    Frustum frustum;
    for (auto _ : state) {
        projection.perspective(45.0f, 4.0f / 3.0f, 0.1f, 250.0f);
        modelview.loadIdentity();
        modelview.translate(0.0f, 0.0f, -14.5f);
        modelview.rotate(-40.0f, 1.0f, 0.0f, 0.0f);
        modelview.translate(-15.0f, -15.0f, 0.0f);
        frustum.extract(projection, modelview);
        int visible = 0;
        for (int i = 0; i < 1000; ++i) {
            visible += frustum.sphereVisible((float)(i % 64), (float)(i / 16), 0.0f, 1.0f);
        }
        benchmark::DoNotOptimize(visible);
    }
}
BENCHMARK(BM_CameraAndCulling);

