#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "simulation_fixture.h"

namespace {

// Whether u is a living unit of m.
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
        if (m->players[p].crystals < 0.0f || m->players[p].crystals > 100.9f + income[p] + 1.0f ||
            m->players[p].towerCount != towers[p]) {
            return "a crystal account below zero or above what was mined, or a wrong tower count";
        }
    }
    for (int g = -1; g < 9; ++g) {
        for (const Unit* u : g < 0 ? m->selection : m->groups[g]) {
            if (!alive(m, u)) {
                return "the selection or a control group holds a dead unit";
            }
        }
    }
    for (const Projectile* p : m->projectiles) {
        if ((p->impactTime < 1 && !alive(m, p->target)) || (p->source && !alive(m, p->source))) {
            return "a projectile points at a dead unit";
        }
    }
    return "";
}

// Orders for the human base every two seconds: idle Blobs mine, the base splits up to eight workers, arms
// Muffins and upgrades them, keeps its army in group 2 and after five minutes right-clicks the first enemy
// in sight.
void commandHumanBase(UnitManager* m, int frame) {
    std::vector<Unit*> blobs, army;
    for (Unit* u : m->units) {
        if (u->player == 0) {
            (u->type == kBlob ? blobs : army).push_back(u);
        }
    }
    for (Unit* b : blobs) {
        Crystal* c = m->nearestCrystal(b->position[0], b->position[1], b->position[2]);
        if (b->state == kIdle && c) {
            m->order(b, kMine, c);
        }
    }
    int slot = 0;
    if (!blobs.empty()) {
        m->order(blobs[frame % blobs.size()], blobs.size() < 8 ? kSplit : kMorph, &slot);
    }
    for (Unit* u : army) {
        slot = frame % 2;  // Drop or Rotundus
        m->order(u, kMorph, &slot);
    }
    m->selection = army;
    m->storeGroup(1);
    for (Unit* e : m->units) {
        if (m->gameTime >= 300000 && e->player != 0 && !e->hidden) {
            m->recallGroup(1);
            m->commandAt(e->position);  // a right click on the first enemy in sight
            break;
        }
    }
}

// Three computer players on hard against an ordered human base, on fixed rolling hills, with frame times
// from 1 to 120 ms and the World's fog pass before every step, until the match is decided.
typedef GlTest WholeMatch;

TEST_F(WholeMatch, ThreeComputerPlayersAgainstAnOrderedHumanBase) {
    Terrain* terrain = new Terrain(64, 0);
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            terrain->heights[x + y * 65] = 1.5f * sinf((float)x / 7.0f) * cosf((float)y / 9.0f) + 0.02f * (float)x;
        }
    }
    srand(2024);
    UnitManager* m = new UnitManager(terrain, 64);
    const float corners[4][2] = {{14, 14}, {50, 50}, {50, 14}, {14, 50}};
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < 3; ++k) {
            float x = corners[p][0] + (float)k * (corners[p][0] < 32 ? 1.0f : -1.0f);
            float y = corners[p][1] + (float)k * (corners[p][1] < 32 ? 1.0f : -1.0f);
            m->createUnit(kBlob, x, y, terrain->height(x, y) + 0.6f, p);
        }
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
            }
        }
        for (Unit* u : m->units) {
            u->hidden = !terrain->isVisible(u->position[0], u->position[1]);
        }
        m->selection.erase(std::remove_if(m->selection.begin(), m->selection.end(), [](Unit* u) { return u->hidden; }),
                           m->selection.end());
        m->update(dt);
        for (Unit* u : m->units) {
            income[u->player] += u->miningEffect == 4 ? (float)dt * 0.002f : 0.0f;
            anyTower |= u->type == kSlimeTower;
        }
        if ((sinceThink += dt) >= 1000) {
            sinceThink -= 1000;
            m->thinkComputerPlayers();
            if (m->gameTime / 1000 % 2 == 0) {
                commandHumanBase(m, frame);
            }
        }
        std::string problem = breach(m, income);
        ASSERT_EQ("", problem) << "frame " << frame << " at " << m->gameTime << " ms";
    }
    printf("match: result %d after %d s in %d frames\n", m->gameResult, m->gameTime / 1000, frame);
    EXPECT_NE(0, m->gameResult) << "the match did not end within 20 minutes";
    EXPECT_TRUE(m->gameTime > 120000 && anyTower);
    delete m;
    delete terrain;
}

}  // namespace
