#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

namespace {

// The test's own choices (which Blob splits, frame times) come from a private generator so that they do
// not disturb the game's rand() sequence.
class Choices {
public:
    explicit Choices(unsigned seed) : state(seed) {}
    int next(int n) {
        state = state * 1103515245u + 12345u;
        return (int)((state >> 16) % (unsigned)n);
    }

private:
    unsigned state;
};

bool isLive(const UnitManager* m, const Unit* u) {
    for (size_t i = 0; i < m->units.size(); ++i) {
        if (m->units[i] == u) {
            return true;
        }
    }
    return false;
}

bool isLiveOrSinking(const UnitManager* m, const Unit* u) {
    if (isLive(m, u)) {
        return true;
    }
    for (size_t i = 0; i < m->dyingUnits.size(); ++i) {
        if (m->dyingUnits[i] == u) {
            return true;
        }
    }
    return false;
}

// Everything that must hold after every frame. Returns a description of the first breach, or "".
std::string checkInvariants(const UnitManager* m, const float startCrystals[4], const float mined[4]) {
    char buf[256];
    int towers[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < m->units.size(); ++i) {
        const Unit* u = m->units[i];
        if (u->position[0] < 4.0f || u->position[0] > 60.0f || u->position[1] < 4.0f || u->position[1] > 60.0f) {
            snprintf(buf, sizeof buf, "unit at (%f, %f) outside the border", u->position[0], u->position[1]);
            return buf;
        }
        if (u->type < 0 || u->type > 8 || u->state < 0 || u->state > 7 || u->player < 0 || u->player > 3) {
            return "unit with an impossible type, state or player";
        }
        if (u->life > (float)m->templates[u->type]->maxLife + 1e-3f) {
            return "life above the type's maximum";
        }
        if ((u->state == kAttack || u->state == kChase) && !isLive(m, u->target)) {
            return "attacking or chasing a unit that is not alive";
        }
        if (u->target && !isLiveOrSinking(m, u->target)) {
            return "target pointer to a deleted unit";
        }
        if (u->state == kMine && !u->crystal) {
            return "mining without a crystal";
        }
        if (u->type == kSlimeTower) {
            towers[u->player] += 1;
        }
    }
    for (int p = 0; p < 4; ++p) {
        if (m->players[p].crystals < 0.0f) {
            return "a crystal account below zero";
        }
        if (m->players[p].towerCount != towers[p]) {
            return "tower count differs from the towers standing";
        }
        // Spending never creates money: the balance is at most what was there plus what was mined.
        if (m->players[p].crystals > startCrystals[p] + mined[p] + 1.0f) {
            return "more crystals than were ever mined";
        }
    }
    for (size_t i = 0; i < m->selection.size(); ++i) {
        if (!isLive(m, m->selection[i])) {
            return "selection holds a dead unit";
        }
    }
    for (int g = 0; g < 9; ++g) {
        for (size_t i = 0; i < m->groups[g].size(); ++i) {
            if (!isLive(m, m->groups[g][i])) {
                return "a control group holds a dead unit";
            }
        }
    }
    for (size_t i = 0; i < m->projectiles.size(); ++i) {
        const Projectile* p = m->projectiles[i];
        if (p->impactTime < 1 && !isLive(m, p->target)) {
            return "a flying projectile homes in on a dead unit";
        }
        if (p->target && !isLiveOrSinking(m, p->target)) {
            return "projectile target pointer to a deleted unit";
        }
        if (p->source && !isLive(m, p->source)) {
            return "projectile source is not alive";
        }
        if (p->impactTime > 2000) {
            return "projectile kept after its fade";
        }
    }
    for (size_t i = 0; i < m->dyingUnits.size(); ++i) {
        if (m->dyingUnits[i]->progress >= 1.0f) {
            return "a fully sunk unit was kept";
        }
    }
    return "";
}

class WholeMatch : public GlTest {};

// Three computer players on hard against a human base that mines, splits and morphs, attacks after five
// minutes and marches everything into the first enemy's base after seven; frame times from 1 to 120 ms.
// MATCH_TRACE=1 prints the unit counts and accounts every 30 simulated seconds.
TEST_F(WholeMatch, ThreeComputerPlayersAgainstAnOrderedHumanBase) {
    Terrain* terrain = new Terrain(64, 0);
    // Fixed rolling hills instead of the clock-seeded ones, so every run plays the same match.
    for (int y = 0; y <= 64; ++y) {
        for (int x = 0; x <= 64; ++x) {
            terrain->heights[x + y * 65] = 1.5f * sinf((float)x / 7.0f) * cosf((float)y / 9.0f) + 0.02f * (float)x;
        }
    }
    srand(2024);
    UnitManager* m = new UnitManager(terrain, 64);
    const int M = 64;
    const float starts[4][3][2] = {
        {{14, 14}, {15, 15}, {16, 16}},
        {{M - 14, M - 14}, {M - 15, M - 15}, {M - 16, M - 16}},
        {{M - 14, 14}, {M - 15, 15}, {M - 16, 16}},
        {{14, M - 14}, {15, M - 15}, {16, M - 16}}};
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < 3; ++k) {
            float x = starts[p][k][0];
            float y = starts[p][k][1];
            m->createUnit(0, x, y, terrain->maxHeightAround(x, y, 0.5f) + 0.5f, p);
        }
    }
    m->difficulty = 2;

    Choices choices(7);
    const int frameTimes[8] = {16, 33, 1, 50, 120, 7, 66, 25};
    float startCrystals[4];
    float mined[4] = {0, 0, 0, 0};
    for (int p = 0; p < 4; ++p) {
        startCrystals[p] = m->players[p].crystals;
    }
    int sinceThink = 0;
    int sinceOrders = 0;
    int frames = 0;
    size_t mostUnits = 0;
    size_t mostProjectiles = 0;
    bool anyDeath = false;
    bool anyTower = false;
    const int limit = 20 * 60 * 1000;
    while (m->gameResult == 0 && m->gameTime < limit) {
        int dt = frameTimes[frames % 8];
        ++frames;

        // What the World does before each step: fog from the human's units, hidden flags, selection.
        terrain->resetFog();
        for (size_t i = 0; i < m->units.size(); ++i) {
            if (m->units[i]->player == 0) {
                terrain->revealFog(m->units[i]->position[0], m->units[i]->position[1]);
            }
        }
        for (size_t i = 0; i < m->units.size(); ++i) {
            m->units[i]->hidden = !terrain->isVisible(m->units[i]->position[0], m->units[i]->position[1]);
        }
        for (size_t i = 0; i < m->dyingUnits.size(); ++i) {
            m->dyingUnits[i]->hidden =
                !terrain->isVisible(m->dyingUnits[i]->position[0], m->dyingUnits[i]->position[1]);
        }
        for (size_t i = 0; i < m->selection.size();) {
            if (m->selection[i]->hidden) {
                m->selection.erase(m->selection.begin() + i);
            } else {
                ++i;
            }
        }

        size_t dyingBefore = m->dyingUnits.size();
        m->update(dt);
        // Mining is the only income; count it from the units that mined this frame.
        for (size_t i = 0; i < m->units.size(); ++i) {
            if (m->units[i]->miningEffect == 4) {
                mined[m->units[i]->player] += (float)dt * 0.002f;
            }
        }
        if (m->dyingUnits.size() > dyingBefore) {
            anyDeath = true;
        }

        sinceThink += dt;
        if (sinceThink >= 1000) {
            sinceThink -= 1000;
            m->thinkComputerPlayers();
        }

        sinceOrders += dt;
        if (sinceOrders >= 2000) {
            sinceOrders = 0;
            std::vector<Unit*> blobs;
            std::vector<Unit*> fighters;
            for (size_t i = 0; i < m->units.size(); ++i) {
                Unit* u = m->units[i];
                if (u->player == 0) {
                    (u->type == kBlob ? blobs : fighters).push_back(u);
                }
            }
            int t = m->gameTime;
            if (t < 420000) {
                for (size_t i = 0; i < blobs.size(); ++i) {
                    Unit* b = blobs[i];
                    if (b->state == kIdle) {
                        m->selection.clear();
                        m->selection.push_back(b);
                        Crystal* c = m->nearestCrystal(b->position[0], b->position[1], b->position[2]);
                        if (c) {
                            m->orderSelection(kMine, c);
                        }
                    }
                }
                if (!blobs.empty() && blobs.size() < 8 && m->players[0].crystals >= 60.0f) {
                    m->order(blobs[choices.next((int)blobs.size())], kSplit, 0);
                }
                if (blobs.size() >= 5 && m->players[0].crystals > 40.0f) {
                    int slot = 0;
                    m->order(blobs[choices.next((int)blobs.size())], kMorph, &slot);
                }
                for (size_t i = 0; i < fighters.size(); ++i) {
                    if (fighters[i]->type == kMuffin && m->players[0].crystals > 70.0f) {
                        int slot = choices.next(2);  // Drop or Rotundus
                        m->order(fighters[i], kMorph, &slot);
                    }
                }
                // The army lives in group 1 (key 2); the previous selection is kept in group 9.
                m->storeGroup(8);
                m->selection = fighters;
                m->storeGroup(1);
                m->recallGroup(8);
                if (t >= 300000) {
                    m->recallGroup(1);
                    float target[3] = {(float)(M - 15), (float)(M - 15), 0.0f};
                    m->orderSelection(kAttackMove, target);
                    // And a right click on the first enemy in sight, as a player would.
                    for (size_t i = 0; i < m->units.size(); ++i) {
                        Unit* e = m->units[i];
                        if (e->player != 0 && !e->hidden) {
                            float at[3] = {e->position[0], e->position[1], e->position[2]};
                            m->commandAt(at);
                            break;
                        }
                    }
                }
            } else {
                // The end: every unit marches into the first enemy's base.
                m->selection = blobs;
                m->selection.insert(m->selection.end(), fighters.begin(), fighters.end());
                float target[3] = {(float)(M - 15), (float)(M - 15), 0.0f};
                for (size_t i = 0; i < m->selection.size(); ++i) {
                    if (m->selection[i]->state == kMorph || m->selection[i]->state == kSplit) {
                        m->order(m->selection[i], kIdle, 0);
                    }
                }
                m->orderSelection(kMove, target);
            }
        }

        for (size_t i = 0; i < m->units.size(); ++i) {
            if (m->units[i]->type == kSlimeTower) {
                anyTower = true;
            }
        }
        if (getenv("MATCH_TRACE") && m->gameTime / 30000 != (m->gameTime - dt) / 30000) {
            int count[4] = {0, 0, 0, 0};
            for (size_t i = 0; i < m->units.size(); ++i) count[m->units[i]->player]++;
            printf("%6d s: units %d %d %d %d crystals %.0f %.0f %.0f %.0f\n", m->gameTime / 1000, count[0], count[1],
                   count[2], count[3], m->players[0].crystals, m->players[1].crystals, m->players[2].crystals,
                   m->players[3].crystals);
        }
        if (m->units.size() > mostUnits) mostUnits = m->units.size();
        if (m->projectiles.size() > mostProjectiles) mostProjectiles = m->projectiles.size();
        std::string breach = checkInvariants(m, startCrystals, mined);
        if (!breach.empty()) {
            FAIL() << "frame " << frames << " at " << m->gameTime << " ms: " << breach;
        }
    }
    printf("match: result %d after %d ms in %d frames; at most %zu units and %zu projectiles\n", m->gameResult,
           m->gameTime, frames, mostUnits, mostProjectiles);
    EXPECT_NE(0, m->gameResult) << "the match did not end within 20 minutes";
    EXPECT_GT(m->gameTime, 120000);
    EXPECT_TRUE(anyDeath);
    EXPECT_TRUE(anyTower);
    delete m;
    delete terrain;
}

}  // namespace
