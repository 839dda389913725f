#include "game/unit_manager.h"

#include <cstdlib>

#include "game/unit.h"
#include "game/unit_template.h"

// Every decision of players 1..3 for one wall-clock second, then the outcome of the match. All random
// choices come from rand() in a fixed order; the orders go through `order` like the human's.
void UnitManager::thinkComputerPlayers() {
    std::vector<Unit*> blobs[kPlayerCount];
    std::vector<Unit*> fighters[kPlayerCount];
    int workerWeight[kPlayerCount] = {0, 0, 0, 0};
    bool hasTower[kPlayerCount] = {false, false, false, false};

    // Census. A splitting Blob counts the worker it is about to make; a morphing one no longer counts.
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        int p = u->player;
        if (u->type == kBlob) {
            blobs[p].push_back(u);
            if (u->state == kSplit) {
                workerWeight[p] += 2;
            } else if (u->state != kMorph) {
                workerWeight[p] += 1;
            }
        } else {
            fighters[p].push_back(u);
        }
        if (u->type == kSlimeTower || (u->state == kMorph && u->morphTarget == kSlimeTower)) {
            hasTower[p] = true;
        }
    }

    int d = difficulty;
    int t = gameTime;
    int cap = 3 * d + 2 + t / 50000;
    if (cap > 3 * d + 6) {
        cap = 3 * d + 6;
    }
    // The reserve grows by 40 crystals a minute so that later upgrades leave money for workers.
    float reserve = (float)t / 60000.0f * 40.0f;
    if (reserve > 800.0f) {
        reserve = 800.0f;
    }

    // Expansion: one split per call below the worker cap, an occasional one at it.
    for (int p = 1; p < kPlayerCount; ++p) {
        int count = (int)blobs[p].size();
        if (count <= 0) {
            continue;
        }
        if (workerWeight[p] >= cap && rand() % (10 - 2 * d) != 0) {
            continue;
        }
        int k = rand() % count;
        order(blobs[p][k], kSplit, 0);
    }

    // Mining: idle workers go to the nearest live crystal.
    for (int p = 1; p < kPlayerCount; ++p) {
        for (size_t i = 0; i < blobs[p].size(); ++i) {
            Unit* b = blobs[p][i];
            if (b->state != kIdle) {
                continue;
            }
            Crystal* c = nearestCrystal(b->position[0], b->position[1], b->position[2]);
            if (c) {
                order(b, kMine, c);
            }
        }
    }

    // Upgrading: a random fighter tries a random morph slot; Muffins favour the Fly once a tower exists.
    for (int p = 1; p < kPlayerCount; ++p) {
        int count = (int)fighters[p].size();
        if (count <= 0 || players[p].crystals < reserve) {
            continue;
        }
        int slot = rand() % 3;
        int k = rand() % count;
        Unit* u = fighters[p][k];
        if (u->type == kMuffin) {
            if (rand() % 4 != 0 && hasTower[p]) {
                slot = 2;
            }
        }
        order(u, kMorph, &slot);
    }

    // Arming: with more workers than the cap, turn one into a Muffin or (one at a time, not early) a tower.
    for (int p = 1; p < kPlayerCount; ++p) {
        int count = (int)blobs[p].size();
        if (count <= 0 || players[p].crystals < reserve || workerWeight[p] <= cap) {
            continue;
        }
        int slot = rand() % 3;
        if (slot == 2 && !(t >= 200000 - 70000 * d && !hasTower[p])) {
            continue;
        }
        int k = rand() % count;
        order(blobs[p][k], kMorph, &slot);
    }

    // Attack waves every 25 to 35 seconds once the difficulty's grace period is over.
    if (t > 150000 - 25000 * d) {
        for (int p = 1; p < kPlayerCount; ++p) {
            if (t - players[p].lastWaveTime <= rand() % 10000 + 25000) {
                continue;
            }
            players[p].lastWaveTime = t;
            // Without a foreign unit there is nobody to attack; drawing a victim would never end.
            if (units.size() == blobs[p].size() + fighters[p].size()) {
                continue;
            }
            Unit* victim = units[rand() % units.size()];
            while (victim->player == p) {
                victim = units[rand() % units.size()];
            }
            for (size_t i = 0; i < units.size(); ++i) {
                Unit* w = units[i];
                if (w->player == p && w->type != kBlob && rand() % 3 != 0) {
                    order(w, kChase, victim);
                }
            }
        }
    }

    // Outcome: losing wins over winning when both happen in the same second.
    if (blobs[0].empty() && fighters[0].empty()) {
        gameResult = 1;
    } else if (units.size() == blobs[0].size() + fighters[0].size()) {
        gameResult = 2;
    }
}
