#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "simulation_fixture.h"

namespace {

bool alive(const UnitManager* m, const Unit* u) { return std::find(m->units.begin(), m->units.end(), u) != m->units.end(); }

// What must hold after every frame; returns the first breach, or "". `income` is what each player has
// mined so far: spending never creates money.
std::string breach(const UnitManager* m, const float income[4]) {
    int towers[4] = {0, 0, 0, 0};
    for (const Unit* u : m->units) {
        towers[u->player] += u->type == kSlimeTower;
        // Only a split steps a Blob a quarter past the border; every move clamps into [4, 60].
        if (std::min(u->position[0], u->position[1]) < 3.75f || std::max(u->position[0], u->position[1]) > 60.25f ||
            u->life > (float)m->templates[u->type]->maxLife + 1e-3f) {
            return "a unit outside the map border or above its type's life";
        }
        bool dying = std::find(m->dyingUnits.begin(), m->dyingUnits.end(), u->target) != m->dyingUnits.end();
        if (u->target && !alive(m, u->target) && (u->state == kAttack || u->state == kChase || !dying)) {
            return "attacking, chasing or pointing at a unit that is not alive";
        }
    }
    for (int p = 0; p < 4; ++p) {
        if (m->players[p].crystals < 0.0f || m->players[p].crystals > 101.9f + income[p] ||
            m->players[p].towerCount != towers[p]) {
            return "a crystal account below zero or above what was mined, or a wrong tower count";
        }
    }
    for (const Projectile* p : m->projectiles) {
        if ((p->impactTime < 1 && !alive(m, p->target)) || (p->source && !alive(m, p->source))) {
            return "a projectile points at a dead unit";
        }
    }
    return "";
}

// Three computer players on hard against three human Blobs that only mine, on rolling hills, with frame
// times from 1 to 120 ms and the fog of the human's sight before every step, until the match is decided.
typedef GlTest WholeMatch;

TEST_F(WholeMatch, ThreeComputerPlayersAgainstAMiningHuman) {
    Terrain* terrain = new Terrain(64, 0);
    for (int i = 0; i < 65 * 65; ++i) {
        terrain->heights[i] = 1.5f * sinf((float)(i % 65) / 7.0f) * cosf((float)(i / 65) / 9.0f);
    }
    srand(2024);
    UnitManager* m = new UnitManager(terrain, 64);
    const float corners[4][2] = {{14, 14}, {50, 50}, {50, 14}, {14, 50}};
    for (int p = 0; p < 12; ++p) {
        float x = corners[p % 4][0] + (float)(p / 4), y = corners[p % 4][1] + (float)(p / 4);
        m->createUnit(kBlob, x, y, terrain->height(x, y) + 0.6f, p % 4);
    }
    m->difficulty = 2;
    const int frameTimes[8] = {16, 33, 1, 50, 120, 7, 66, 25};
    float income[4] = {0, 0, 0, 0};
    int sinceThink = 0, frame = 0;
    bool anyTower = false;
    while (m->gameResult == 0 && m->gameTime < 20 * 60 * 1000) {
        int dt = frameTimes[frame++ % 8];
        terrain->resetFog();
        for (Unit* u : m->units) {
            if (u->player == 0) {
                terrain->revealFog(u->position[0], u->position[1]);
                if (u->state == kIdle && u->type == kBlob) {
                    m->order(u, kMine, m->nearestCrystal(u->position[0], u->position[1], u->position[2]));
                }
            }
        }
        for (Unit* u : m->units) {
            u->hidden = !terrain->isVisible(u->position[0], u->position[1]);
            income[u->player] += u->miningEffect == 4 ? (float)dt * 0.002f : 0.0f;
            anyTower |= u->type == kSlimeTower;
        }
        m->update(dt);
        if ((sinceThink += dt) >= 1000) {
            sinceThink -= 1000;
            m->thinkComputerPlayers();
        }
        ASSERT_EQ("", breach(m, income)) << "frame " << frame << " at " << m->gameTime << " ms";
    }
    printf("match: result %d after %d s in %d frames\n", m->gameResult, m->gameTime / 1000, frame);
    EXPECT_TRUE(m->gameResult == 1 && m->gameTime > 120000 && anyTower);
    delete m;
    delete terrain;
}

}  // namespace
