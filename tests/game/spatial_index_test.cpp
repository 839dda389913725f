#include <array>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <unordered_map>
#include <vector>

#include "game/spatial_index.h"
#include "simulation_fixture.h"

namespace {

// One frame's state in a few digests, so that a difference names the aspect of the state it is in.
enum Aspect { kPositions, kLives, kStates, kTimers, kTargets, kProjectiles, kAccounts, kAspectCount };
typedef std::array<size_t, kAspectCount> Digest;

// Every value goes in as a float: ints and slots are small enough to stay exact.
template <class... Values>
void mix(size_t& h, Values... values) {
    for (float f : {(float)values...}) h = h * 1099511628211ull + std::hash<float>()(f);
}

// Units stand in by their places in the lists (the dying after the living), crystals by their x: no addresses.
Digest digest(const UnitManager* m) {
    std::vector<Unit*> all(m->units);
    all.insert(all.end(), m->dyingUnits.begin(), m->dyingUnits.end());
    std::unordered_map<const Unit*, int> place = {{0, -1}};
    for (size_t i = 0; i < all.size(); ++i) place[all[i]] = (int)i;
    Digest d = {};
    for (const Unit* u : all) {
        const float *p = u->position, *g = u->destination;
        mix(d[kPositions], p[0], p[1], p[2], g[0], g[1], g[2]);
        mix(d[kLives], u->life, u->progress);
        mix(d[kStates], u->type, u->state, u->morphTarget, u->player, u->miningEffect, u->beamEffect);
        mix(d[kTimers], u->cooldown, u->attackPause, u->bestDistance, u->stuckTime, u->retries, u->waitTime);
        mix(d[kTargets], place.at(u->target), u->crystal ? u->crystal->position[0] : -1.0f);
    }
    for (const Projectile* p : m->projectiles) {
        mix(d[kProjectiles], p->position[0], p->position[1], p->position[2], p->damage, place.at(p->target),
            place.at(p->source), p->impactTime);
    }
    for (const PlayerState& s : m->players) mix(d[kAccounts], s.crystals, s.towerCount, s.lastWaveTime);
    for (const Crystal* c : m->crystals) mix(d[kAccounts], c->amount, m->gameResult);
    return d;
}

// A four-player match on the level 64 map: computer players 1..3 thinking every second of game time, random human
// orders, frames of 1 to 50 ms and now and then a long one (long pushes), late enough for towers and waves; every
// 400 frames a squad per player, the four overlapping, and a unit thrown off the map (NaN, infinity); the human
// blind beyond x = 40. `seen` counts births, deaths, towers and flyers (per frame each).
std::vector<Digest> play(Terrain* terrain, unsigned seed, float cellSize, bool filtering, int* seen) {
    srand(seed);
    UnitManager* m = new UnitManager(terrain, 64);
    m->unitIndex->filtering = filtering;
    m->unitIndex->cellSize = cellSize;
    m->difficulty = 2;
    m->gameTime = 60000;
    m->boostMode = true;
    const int army[] = {kBlob, kBlob, kBlob, kMuffin, kDrop, kDrop, kFly, kSlimy, kRotundus, kMuffin};
    std::vector<Digest> digests;
    for (int frame = 0, thought = m->gameTime; frame < 5000; ++frame) {
        for (int k = 0; k < 40 && frame % 400 == 0; ++k) {
            int p = k / 10, type = army[k % 10];
            float x = 27.0f + 4.0f * (p % 2) + (k % 4) * 1.1f, y = 27.0f + 4.0f * (p / 2) + (k % 10 / 4) * 1.1f;
            m->createUnit(type, x, y, m->templates[type]->isAir ? 3.6f : 0.6f, p);
            m->players[p].crystals += 40.0f;
        }
        if (frame % 400 == 1) m->units.back()->position[frame / 400 % 2] = frame % 800 == 1 ? NAN : INFINITY;
        size_t n = m->units.size();
        if (frame % 2 == 0 && n > 0) {
            Unit *u = m->units[rand() % n], *victim = m->units[rand() % n];
            int code = rand() % 8, slot = rand() % 3;
            float point[3] = {(float)(rand() % 64), (float)(rand() % 64), 0.0f};
            void* args[8] = {0, point, 0, &slot, victim, point, victim,
                             m->nearestCrystal(u->position[0], u->position[1], u->position[2])};
            if (u->player == 0 && victim->player != 0 && (code != kMine || args[kMine])) m->order(u, code, args[code]);
        }
        for (Unit* u : m->units) u->hidden = u->position[0] > 40.0f;
        size_t before = m->units.size() + m->dyingUnits.size();
        m->update(rand() % 100 == 0 ? 200 + rand() % 400 : 1 + rand() % 50);
        seen[0] += m->units.size() + m->dyingUnits.size() > before;
        seen[1] += m->dyingUnits.size();
        for (Unit* u : m->units) seen[2] += u->type == kSlimeTower, seen[3] += m->templates[u->type]->isAir;
        for (; thought + 1000 <= m->gameTime; thought += 1000) m->thinkComputerPlayers();
        digests.push_back(digest(m));
    }
    delete m;
    return digests;
}

// Pushing and target search through the grid change nothing: every frame of two long matches equals the same
// match with every unit scanned; with the game's cells, and with cells so small that any stale filing shows.
TEST_F(SimulationTest, UnitIndexMatchesThePlainScansFrameByFrame) {
    for (unsigned seed : {7u, 2024u}) {
        int grid[4] = {}, plain[4] = {};
        std::vector<Digest> a = play(terrain, seed, seed == 7u ? 4.0f : 0.5f, true, grid);
        std::vector<Digest> b = play(terrain, seed, seed == 7u ? 4.0f : 0.5f, false, plain);
        for (int e = 0; e < 4; ++e) EXPECT_GT(grid[e], 10) << "seed " << seed << " event " << e;
        size_t f = 0;
        while (f < a.size() && a[f] == b[f]) ++f;
        for (int k = 0; f < a.size() && k < kAspectCount; ++k) {
            EXPECT_EQ(a[f][k], b[f][k]) << "seed " << seed << " frame " << f << ": aspect " << k << " differs";
        }
    }
}

// A Blob that finishes its split steps aside into the next grid cell (x 8 -> 7.85) and a child appears beside
// it, in the middle of a frame: a human Drop later in `units` sees whichever of them its range (6.5) reaches in
// that same frame. The first Drop's parent comes within 6.49; the second's is in the fog, its child 6.0 away.
TEST_F(EmptyMapTest, UnitIndexSeesSplitMovesInTheSameFrame) {
    Unit* parents[2] = {spawn(kBlob, 8.1f, 10.0f, 1), spawn(kBlob, 8.1f, 30.0f, 1)};
    Unit* drops[2] = {spawn(kDrop, 1.36f, 9.75f, 0), spawn(kDrop, 14.35f, 30.25f, 0)};
    for (Unit* parent : parents) parent->state = kSplit, parent->progress = 0.995f;
    parents[1]->hidden = true;
    manager->update(100);
    EXPECT_EQ(parents[0], drops[0]->target);
    EXPECT_EQ(manager->units[5], drops[1]->target);
}

}  // namespace
