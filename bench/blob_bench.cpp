#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/blob_mesh.h"
#include "support/gl_test.h"

namespace {

// A game-like camera over a 20 x 10 crowd of units of every shape, resting, moving and morphing.
struct BlobCrowd {
    BlobMesh* mesh;
    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;

    BlobCrowd() : mesh(0), modelview(8) {
        mesh = new BlobMesh();
        projection.perspective(45.0f, 4.0f / 3.0f, 0.1f, 250.0f);
        modelview.loadIdentity();
        modelview.translate(0.0f, 0.0f, -14.5f);
        modelview.rotate(-40.0f, 1.0f, 0.0f, 0.0f);
        modelview.translate(-10.0f, -8.0f, 0.0f);
        frustum.extract(projection, modelview);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    ~BlobCrowd() { delete mesh; }

    // One frame's worth of unit drawing: 200 blobs, one in ten of them morphing.
    void drawFrame(int time) {
        for (int i = 0; i < 200; ++i) {
            float x = (float)(i % 20);
            float y = (float)(i / 20) * 1.6f;
            int shape = i % 8;
            if (i % 10 == 9) {
                mesh->drawMorph(x, y, 0.5f, 0.9f, 1.2f, 1.0f, 0.7f, shape, (shape + 3) % 8, i % 4, time, &projection,
                                &modelview, 0.4f, &frustum);
            } else {
                mesh->draw(x, y, 0.5f, 1.0f, 1.1f, (i % 3 == 0) ? 0.12f : 0.03f, shape, i % 4, time, &projection,
                           &modelview, &frustum);
            }
        }
    }
};

// False, with the benchmark marked skipped, when there is no OpenGL 3.2 context.
bool haveContext(benchmark::State& state) {
    if (ensureGlContext()) {
        return true;
    }
    state.SkipWithError("no OpenGL 3.2 context");
    return false;
}

// Runs a frame of the crowd per iteration, timing the renderer's finish only when `withRendering`.
void runCrowd(benchmark::State& state, bool withRendering) {
    if (!haveContext(state)) {
        return;
    }
    BlobCrowd crowd;
    int time = 0;
    for (auto _ : state) {
        if (withRendering) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            crowd.drawFrame(time);
            glFinish();
        } else {
            crowd.drawFrame(time);
            state.PauseTiming();
            glFinish();
            state.ResumeTiming();
        }
        time += 16;
    }
}

}  // namespace

// What issuing 200 blob draws costs the game's thread (on a software renderer mostly the vertex shader);
// the wait for the renderer is left out.
static void BM_BlobDraws200(benchmark::State& state) {
    runCrowd(state, false);
}
BENCHMARK(BM_BlobDraws200)->Unit(benchmark::kMicrosecond);

// The same frame including the renderer finishing it (on a software renderer this is mostly shading).
static void BM_BlobFrame200WithRendering(benchmark::State& state) {
    runCrowd(state, true);
}
BENCHMARK(BM_BlobFrame200WithRendering)->Unit(benchmark::kMillisecond);

// Picking a grid level alone, as done once per draw.
static void BM_BlobLevelOfDetail(benchmark::State& state) {
    if (!haveContext(state)) {
        return;
    }
    BlobMesh mesh;
    float ratio = 0.0f;
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < 200; ++i) {
            sum += mesh.levelOfDetail(ratio + (float)i * 0.15f);
        }
        ratio = ratio > 5.0f ? 0.0f : ratio + 0.01f;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_BlobLevelOfDetail);
