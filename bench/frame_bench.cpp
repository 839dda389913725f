#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include "app/command_panel.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/font.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

namespace {

const int kFrameWidth = 1024;
const int kFrameHeight = 768;

// An off-screen 1024 x 768 colour and depth target, so a match frame has the game's default window size
// whatever size the shared test window has.
struct FrameTarget {
    GLuint framebuffer, colour, depth;

    FrameTarget() : framebuffer(0), colour(0), depth(0) {
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kFrameWidth, kFrameHeight);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, kFrameWidth, kFrameHeight);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    }
    ~FrameTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colour);
        glDeleteRenderbuffers(1, &depth);
    }
};

// A large four-player match as the game shows it at start: camera over the human's base, HUD and empty
// command panel. `armySize` extra fighters of the human's stand in a loose block in front of the camera,
// so the blob drawing cost of a busy battle shows up in the frame.
struct MatchFrame {
    FrameTarget* target;
    World* world;

    MatchFrame(int tileSet, int armySize) : target(0), world(0) {
        ensureGlContext();
        gScreenWidth = kFrameWidth;
        gScreenHeight = kFrameHeight;
        if (!gFont) {
            gFont = new Font();
        }
        target = new FrameTarget();
        world = new World(128, 3, 1, tileSet);
        gWorld = world;
        createCommandPanel(world->canvas);
        rebuildCommandPanel();
        UnitManager* m = world->unitManager;
        float cx = -world->cameraX;
        float cy = -world->cameraY;
        for (int i = 0; i < armySize; ++i) {
            float x = cx - 4.0f + (float)(i % 8);
            float y = cy - 2.0f + (float)(i / 8);
            m->createUnit(i % 2 == 0 ? 1 : 2, x, y, world->terrain->height(x, y), 0);
        }
        glViewport(0, 0, kFrameWidth, kFrameHeight);
    }
    ~MatchFrame() {
        destroyCommandPanel();
        delete world;
        gWorld = 0;
        delete target;
    }

    // One frame of the game loop without the swap: rules step, clear, the whole drawing, finished.
    void run() {
        world->update(16);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->draw(false);
        glFinish();
    }
};

// Arguments: tile set, extra fighters. Real time: the drawing runs on the GL driver's own threads.
void BM_MatchFrame(benchmark::State& state) {
    MatchFrame frame((int)state.range(0), (int)state.range(1));
    frame.run();
    for (auto _ : state) {
        frame.run();
    }
}
BENCHMARK(BM_MatchFrame)->Args({0, 0})->Args({1, 0})->Args({0, 60})->Unit(benchmark::kMillisecond)->UseRealTime();

// The terrain alone at the same size and view, to tell its share of the frame from the rest.
void BM_MatchTerrainPass(benchmark::State& state) {
    MatchFrame frame((int)state.range(0), 0);
    frame.run();
    World* w = frame.world;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        w->terrain->draw(w->modelview, w->projection, w->frustum);
        glFinish();
    }
}
BENCHMARK(BM_MatchTerrainPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
