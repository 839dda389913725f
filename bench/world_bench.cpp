#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "app/command_panel.h"
#include "app/globals.h"
#include "app/hud.h"
#include "app/world.h"
#include "game/unit_manager.h"
#include "render/font.h"
#include "support/gl_test.h"

namespace {

// A large four-player match in the 640 x 480 test window with its command panel, a worker selected and
// the option list shown, so the HUD draws everything it can.
struct Match {
    World* world;

    Match() : world(0) {
        ensureGlContext();
        gScreenWidth = 640;
        gScreenHeight = 480;
        if (!gFont) {
            gFont = new Font();
        }
        world = new World(128, 3, 1, 0);
        gWorld = world;
        createCommandPanel(world->canvas);
        world->unitManager->selection.push_back(world->unitManager->units[0]);
        rebuildCommandPanel();
        world->showInfo = true;
        world->buildViewMatrices();
    }
    ~Match() {
        destroyCommandPanel();
        delete world;
        gWorld = 0;
    }
};

// The per-frame rules step: fog rebuilt from the human's units, hidden flags, then the simulation.
void BM_WorldUpdate(benchmark::State& state) {
    Match match;
    for (auto _ : state) {
        benchmark::DoNotOptimize(match.world->update(16));
    }
}
BENCHMARK(BM_WorldUpdate)->Unit(benchmark::kMicrosecond);

// The whole 2D layer of a frame: life bars, HUD, minimap, panel, texts and pointer, finished on the GPU.
void BM_HudLayer(benchmark::State& state) {
    Match match;
    match.world->update(16);
    for (auto _ : state) {
        drawHud(*match.world, false);
        glFinish();
    }
}
BENCHMARK(BM_HudLayer)->Unit(benchmark::kMillisecond);

}  // namespace
