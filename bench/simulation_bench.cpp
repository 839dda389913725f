#include <benchmark/benchmark.h>

#include <cstdlib>

#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

namespace {

// One 128 map and manager for all runs; the manager's constructor needs the GL context.
UnitManager* sharedManager() {
    static UnitManager* manager = 0;
    if (!manager) {
        ensureGlContext();
        Terrain* terrain = new Terrain(128, 0);
        srand(77);
        manager = new UnitManager(terrain, 128);
    }
    return manager;
}

void clearBattlefield(UnitManager* m) {
    m->selection.clear();
    for (int g = 0; g < 9; ++g) {
        m->groups[g].clear();
    }
    for (size_t i = 0; i < m->units.size(); ++i) delete m->units[i];
    for (size_t i = 0; i < m->dyingUnits.size(); ++i) delete m->dyingUnits[i];
    for (size_t i = 0; i < m->projectiles.size(); ++i) delete m->projectiles[i];
    m->units.clear();
    m->dyingUnits.clear();
    m->projectiles.clear();
    for (int p = 0; p < 4; ++p) {
        m->players[p] = PlayerState();
        m->players[p].crystals = 500.0f;
    }
    m->players[0].isComputer = false;
}

float randomCoordinate(int mapSize) {
    return 6.0f + (float)(rand() % ((mapSize - 12) * 100)) / 100.0f;
}

// n units spread over the map: a quarter walking Blobs, a quarter Flies on attack-move (air), a quarter
// idle Drops and a quarter idle Muffins, players alternating so the armies meet everywhere. Half of
// them move or fight from the first frame; the idle fighters scan for targets every frame.
void populate(UnitManager* m, int n) {
    clearBattlefield(m);
    srand(4242);
    for (int i = 0; i < n; ++i) {
        const int types[4] = {kBlob, kFly, kDrop, kMuffin};
        int type = types[i % 4];
        int player = (i / 4) % 2 == 0 ? 0 : 1 + (i / 8) % 3;
        float x = randomCoordinate(m->mapSize);
        float y = randomCoordinate(m->mapSize);
        float z = m->terrain->height(x, y) + (m->templates[type]->isAir ? 3.6f : 0.6f);
        Unit* u = m->createUnit(type, x, y, z, player);
        float goal[3] = {randomCoordinate(m->mapSize), randomCoordinate(m->mapSize), 0.0f};
        if (type == kBlob) {
            m->order(u, kMove, goal);
        } else if (type == kFly) {
            m->order(u, kAttackMove, goal);
        }
    }
}

// Frames of 16 ms; the battlefield is rebuilt every 64 frames so fights and walks stay under way.
void BM_Update(benchmark::State& state) {
    UnitManager* m = sharedManager();
    int n = (int)state.range(0);
    int frame = 0;
    populate(m, n);
    for (auto _ : state) {
        if (++frame % 64 == 0) {
            state.PauseTiming();
            populate(m, n);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(m->update(16));
    }
    state.counters["projectiles"] = (double)m->projectiles.size();
    clearBattlefield(m);
}
BENCHMARK(BM_Update)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// One decision second with 300 units, every call late enough for an attack wave.
void BM_ThinkComputerPlayers(benchmark::State& state) {
    UnitManager* m = sharedManager();
    populate(m, 300);
    m->difficulty = 2;
    m->gameTime = 200000;
    for (auto _ : state) {
        m->gameTime += 36000;
        for (int p = 1; p < 4; ++p) {
            m->players[p].crystals = 500.0f;
        }
        m->thinkComputerPlayers();
    }
    clearBattlefield(m);
}
BENCHMARK(BM_ThinkComputerPlayers)->Unit(benchmark::kMicrosecond);

}  // namespace
