#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <ctime>

#include "app/command_panel.h"
#include "app/globals.h"
#include "app/hud.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/font.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
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
// so the blob drawing cost of a busy battle shows up in the frame. `anisotropyOff` is the F7 option at
// "Disabled" instead of its default 2x.
struct MatchFrame {
    FrameTarget* target;
    World* world;

    MatchFrame(int tileSet, int armySize, bool anisotropyOff = false) : target(0), world(0) {
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
        // F7 pressed until it reads "Disabled".
        while (anisotropyOff && world->anisotropy != 1) {
            world->cycleAnisotropy();
        }
        glViewport(0, 0, kFrameWidth, kFrameHeight);
    }
    ~MatchFrame() {
        destroyCommandPanel();
        delete world;
        gWorld = 0;
        delete target;
    }

    // What the game loop does before the world draws: the rules step, the clear and the 3D state.
    void prepare() {
        world->update(16);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
    }

    // One frame of the game loop without the swap, finished.
    void run() {
        prepare();
        world->draw(false);
        glFinish();
    }
};

// Arguments: tile set, extra fighters, anisotropic filtering off (1) or at its default (0). Real time: the
// drawing runs on the GL driver's own threads; the CPU column counts those threads too, which reads
// steadier than real time on a busy machine.
void BM_MatchFrame(benchmark::State& state) {
    MatchFrame frame((int)state.range(0), (int)state.range(1), state.range(2) != 0);
    frame.run();
    for (auto _ : state) {
        frame.run();
    }
}
BENCHMARK(BM_MatchFrame)
    ->Args({0, 0, 0})
    ->Args({1, 0, 0})
    ->Args({0, 60, 0})
    ->Args({0, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One terrain pass of the match's view on cleared buffers, finished.
void drawTerrainPass(World* w) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    w->terrain->draw(w->modelview, w->projection, w->frustum);
    glFinish();
}

// Fragments that passed the depth test in one terrain pass, per pixel of the frame: how many times the
// ground is shaded over (1 when it is drawn front to back, more when far ground is drawn before near).
double terrainShadingPerPixel(World* w) {
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_SAMPLES_PASSED, query);
    drawTerrainPass(w);
    glEndQuery(GL_SAMPLES_PASSED);
    GLuint samples = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &samples);
    glDeleteQueries(1, &query);
    return (double)samples / (double)(kFrameWidth * kFrameHeight);
}

// The ground pass and its floor run on the same cases: tile set 0 and 1 at the default filtering, tile set 0
// with anisotropic filtering off; timed in real time and in the CPU time of every thread.
void groundPassArguments(benchmark::internal::Benchmark* b) {
    b->Args({0, 0})->Args({1, 0})->Args({0, 1})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
}

// The terrain alone at the same size and view, to tell its share of the frame from the rest. Arguments:
// tile set, anisotropic filtering off.
void BM_MatchTerrainPass(benchmark::State& state) {
    MatchFrame frame((int)state.range(0), 0, state.range(1) != 0);
    frame.run();
    for (auto _ : state) {
        drawTerrainPass(frame.world);
    }
    state.counters["shaded_per_pixel"] = terrainShadingPerPixel(frame.world);
}
BENCHMARK(BM_MatchTerrainPass)->Apply(groundPassArguments);

// Process CPU seconds (every thread, the GL driver's included) and wall seconds.
struct Clocks {
    double cpu, wall;
};

Clocks readClocks() {
    timespec c, w;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &c);
    clock_gettime(CLOCK_MONOTONIC, &w);
    Clocks r = {(double)c.tv_sec + (double)c.tv_nsec * 1e-9, (double)w.tv_sec + (double)w.tv_nsec * 1e-9};
    return r;
}

// Everything in the frame but the terrain: sky, units, effects and the 2D layer. Each iteration times a
// whole frame and then a terrain pass of the same view back to back, so both see the same load on a shared
// machine; the reported time is their difference, and `rest_share` the difference over the terrain pass
// (process CPU time). Argument: extra fighters in view.
void BM_MatchRestOfFrame(benchmark::State& state) {
    MatchFrame frame(0, (int)state.range(0));
    frame.run();
    double frameCpu = 0.0, terrainCpu = 0.0;
    for (auto _ : state) {
        Clocks a = readClocks();
        frame.run();
        Clocks b = readClocks();
        drawTerrainPass(frame.world);
        Clocks c = readClocks();
        frameCpu += b.cpu - a.cpu;
        terrainCpu += c.cpu - b.cpu;
        double rest = (b.wall - a.wall) - (c.wall - b.wall);
        state.SetIterationTime(rest > 0.0 ? rest : 0.0);
    }
    double n = (double)state.iterations();
    state.counters["frame_cpu_ms"] = frameCpu / n * 1000.0;
    state.counters["terrain_cpu_ms"] = terrainCpu / n * 1000.0;
    state.counters["rest_share"] = (frameCpu - terrainCpu) / terrainCpu;
}
BENCHMARK(BM_MatchRestOfFrame)->Arg(60)->Unit(benchmark::kMillisecond)->UseManualTime();

// The frame of BM_MatchFrame drawn part by part in the world's order, each part finished before the next
// starts, with the process CPU time of each part (ms per frame) as counters and `rest_share` = (sky +
// units + effects + 2D layer) / terrain. Argument: extra fighters in view.
void BM_MatchFrameParts(benchmark::State& state) {
    MatchFrame frame(0, (int)state.range(0));
    frame.run();
    World* w = frame.world;
    const int kParts = 5;
    double spent[kParts] = {0.0, 0.0, 0.0, 0.0, 0.0};
    for (auto _ : state) {
        frame.prepare();
        Clocks t[kParts + 1];
        t[0] = readClocks();
        w->buildViewMatrices();
        w->frustum->extract(*w->projection, *w->modelview);
        w->terrain->draw(w->modelview, w->projection, w->frustum);
        glFinish();
        t[1] = readClocks();
        w->drawSky();
        glFinish();
        t[2] = readClocks();
        w->unitManager->drawUnits(w->modelview, w->projection, w->frustum);
        glFinish();
        t[3] = readClocks();
        w->unitManager->drawEffects(w->modelview, w->projection);
        glFinish();
        t[4] = readClocks();
        drawHud(*w, false);
        glFinish();
        t[5] = readClocks();
        for (int i = 0; i < kParts; ++i) {
            spent[i] += t[i + 1].cpu - t[i].cpu;
        }
    }
    static const char* const kNames[kParts] = {"terrain_ms", "sky_ms", "units_ms", "effects_ms", "hud_ms"};
    double n = (double)state.iterations();
    for (int i = 0; i < kParts; ++i) {
        state.counters[kNames[i]] = spent[i] / n * 1000.0;
    }
    state.counters["rest_share"] = (spent[1] + spent[2] + spent[3] + spent[4]) / spent[0];
}
BENCHMARK(BM_MatchFrameParts)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

const char* kFloorVertex =
    "#version 150\n"
    "in vec2 corner;\n"
    "uniform mat4 modelview;\n"
    "uniform mat4 projection;\n"
    "uniform float groundHeight;\n"
    "out vec3 position;\n"
    "void main() {\n"
    "    mat4 toWorld = inverse(projection * modelview);\n"
    "    vec4 nearPoint = toWorld * vec4(corner, -1.0, 1.0);\n"
    "    vec4 farPoint = toWorld * vec4(corner, 1.0, 1.0);\n"
    "    vec3 a = nearPoint.xyz / nearPoint.w;\n"
    "    vec3 b = farPoint.xyz / farPoint.w;\n"
    "    position = mix(a, b, (groundHeight - a.z) / (b.z - a.z));\n"
    "    gl_Position = projection * modelview * vec4(position, 1.0);\n"
    "}\n";

// The terrain fragment shader's eleven reads, at its texture coordinates, and nothing else worth counting.
const char* kFloorFragment =
    "#version 150\n"
    "uniform sampler2D terrain0, terrain1, terrain2, terrain3, normal0, normal1, normal2, normal3, alpha;\n"
    "uniform float mapsize;\n"
    "in vec3 position;\n"
    "out vec4 fragColor;\n"
    "void main() {\n"
    "    vec2 uv = position.xy / 4.0;\n"
    "    vec4 s = texture(terrain0, uv) + texture(terrain1, uv) + texture(terrain2, uv) + texture(terrain3, uv);\n"
    "    s += texture(normal0, uv) + texture(normal1, uv) + texture(normal2, uv) + texture(normal3, uv);\n"
    "    s += texture(alpha, position.xy / mapsize);\n"
    "    s += texture(terrain3, position.xy / 37.0, 3.0) + texture(terrain2, position.yx / 23.0, 3.0);\n"
    "    fragColor = vec4(s.rgb / 11.0, 1.0);\n"
    "}\n";

GLuint compileStage(GLenum type, const char* source) {
    GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &source, 0);
    glCompileShader(s);
    return s;
}

// What the terrain pass cannot go below: one full-screen layer of ground, each pixel making the terrain
// fragment shader's texture reads from the terrain's own textures (so the same sizes, filters and
// anisotropy), with no overdraw, no lighting and no vertex work. The quad is the plane at the look-at
// height under the match camera, so the reads have the footprints of the ground seen at that angle.
// Arguments: tile set, anisotropic filtering off.
void BM_TerrainFloor(benchmark::State& state) {
    MatchFrame frame((int)state.range(0), 0, state.range(1) != 0);
    frame.run();
    World* w = frame.world;
    Terrain* t = w->terrain;
    GLuint program = glCreateProgram();
    GLuint stages[2] = {compileStage(GL_VERTEX_SHADER, kFloorVertex),
                        compileStage(GL_FRAGMENT_SHADER, kFloorFragment)};
    glAttachShader(program, stages[0]);
    glAttachShader(program, stages[1]);
    glBindAttribLocation(program, 0, "corner");
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        state.SkipWithError("floor shader did not link");
    }
    glUseProgram(program);
    static const char* const kSamplers[9] = {"terrain0", "terrain1", "terrain2", "terrain3", "normal0",
                                             "normal1",  "normal2",  "normal3",  "alpha"};
    GLuint textures[9] = {t->tileTextures[0],   t->tileTextures[1],   t->tileTextures[2],
                          t->tileTextures[3],   t->normalTextures[0], t->normalTextures[1],
                          t->normalTextures[2], t->normalTextures[3], t->weightTexture};
    for (int i = 0; i < 9; ++i) {
        glUniform1i(glGetUniformLocation(program, kSamplers[i]), i);
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_2D, textures[i]);
    }
    glUniform1f(glGetUniformLocation(program, "mapsize"), (float)t->size);
    glUniform1f(glGetUniformLocation(program, "groundHeight"), -w->cameraZ);
    glUniformMatrix4fv(glGetUniformLocation(program, "modelview"), 1, GL_FALSE, w->modelview->current.m);
    glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE, w->projection->current.m);
    static const float kCorners[8] = {-1.0f, -1.0f, 1.0f, -1.0f, -1.0f, 1.0f, 1.0f, 1.0f};
    GLuint vertexArray = 0, buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(kCorners), kCorners, GL_STATIC_DRAW);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, 0);
    glEnableVertexAttribArray(0);
    glDisable(GL_CULL_FACE);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
        glFinish();
    }
    glEnable(GL_CULL_FACE);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
    glUseProgram(0);
    glDeleteProgram(program);
    glDeleteShader(stages[0]);
    glDeleteShader(stages[1]);
}
BENCHMARK(BM_TerrainFloor)->Apply(groundPassArguments);

}  // namespace
