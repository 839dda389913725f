#include "game/unit_manager.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/spatial_index.h"
#include "game/unit.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// Clusters of three crystals at random cells, kept six cells away from the map edge. The rand() calls
// happen in a fixed order so a seeded match always gets the same field.
void UnitManager::createCrystalField() {
    int m = mapSize;
    int clusters = (m / 16) * (m / 20);
    for (int k = 0; k < clusters; ++k) {
        float x = (float)(rand() % m) + 0.5f;
        float y = (float)(rand() % m) + 0.5f;
        if (x < 6.0f) {
            x = (float)(rand() % 3 + 6);
        }
        if (y < 6.0f) {
            y = (float)(rand() % 3 + 6);
        }
        if (x > (float)(m - 6)) {
            x = (float)((m - 6) - rand() % 3);
        }
        if (y > (float)(m - 6)) {
            y = (float)((m - 6) - rand() % 3);
        }
        const float offsets[3][2] = {{0.35f, 0.25f}, {-0.25f, 0.25f}, {0.15f, -0.25f}};
        for (int c = 0; c < 3; ++c) {
            float cx = x + offsets[c][0];
            float cy = y + offsets[c][1];
            crystals.push_back(new Crystal(cx, cy, terrain->height(cx, cy) + 0.2f));
        }
    }
}

// The nearest live crystal other than one standing exactly at the point (3D distance).
Crystal* UnitManager::nearestCrystal(float x, float y, float z) const {
    Crystal* best = 0;
    float bestDistance = 4096.0f;
    for (size_t i = 0; i < crystals.size(); ++i) {
        Crystal* c = crystals[i];
        float dx = c->position[0] - x;
        float dy = c->position[1] - y;
        float dz = c->position[2] - z;
        float d = sqrtf(dx * dx + dy * dy + dz * dz);
        if (d != 0.0f && c->amount > 0.0f && d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

// Only Blobs mine; any crystal is taken, the callers choose live ones.
bool UnitManager::orderMine(Unit* u, Crystal* c) {
    if (u->type != kBlob || u->isBusy()) {
        return false;
    }
    u->state = kMine;
    u->crystal = c;
    return true;
}

// A split needs at least the price; only the human hears the refusal.
bool UnitManager::orderSplit(Unit* u) {
    if (u->type != kBlob || u->isBusy()) {
        return false;
    }
    PlayerState& owner = players[u->player];
    if (owner.crystals < (float)kSplitPrice) {
        if (u->player == 0) {
            playSound(kSoundCrystal);
        }
        return false;
    }
    owner.crystals -= (float)kSplitPrice;
    u->state = kSplit;
    u->progress = 0.0f;
    if (u->player == 0) {
        playSound(kSoundSplat);
    }
    return true;
}

// A morph needs strictly more than the target's cost; empty slots and missing towers refuse silently.
bool UnitManager::orderMorph(Unit* u, int slot) {
    if (u->isBusy() || slot < 0 || slot > 2) {
        return false;
    }
    int next = templates[u->type]->morphTargets[slot];
    if (next == -1) {
        return false;
    }
    const UnitTemplate* nt = templates[next];
    PlayerState& owner = players[u->player];
    if (nt->needsTower && owner.towerCount < 1) {
        return false;
    }
    if (owner.crystals <= (float)nt->cost) {
        if (u->player == 0) {
            playSound(kSoundCrystal);
        }
        return false;
    }
    owner.crystals -= (float)nt->cost;
    u->state = kMorph;
    u->progress = 0.0f;
    u->morphTarget = next;
    if (u->player == 0) {
        playSound(kSoundSplat);
    }
    return true;
}

// Stop during a split or morph gives the full price back; the progress is simply abandoned.
void UnitManager::refund(Unit* u) {
    if (u->state == kSplit) {
        players[u->player].crystals += (float)kSplitPrice;
    } else if (u->state == kMorph) {
        players[u->player].crystals += (float)templates[u->morphTarget]->cost;
    }
}

// Walk into reach of the crystal, then mine it at the full rate; an exhausted crystal sends the Blob on to
// the nearest live one, or leaves it idle when none is left.
void UnitManager::updateMining(int slot, int dt) {
    Unit* u = units[slot];
    Crystal* c = u->crystal;
    for (int k = 0; k < 3; ++k) {
        u->destination[k] = c->position[k];
    }
    float dx = c->position[0] - u->position[0];
    float dy = c->position[1] - u->position[1];
    float length = sqrtf(dx * dx + dy * dy);
    if (length > kMiningReach) {
        stepTowards(slot, c->position[0], c->position[1], dt);
        return;
    }
    u->miningEffect = 4;
    float mined = (float)frameTime * kMiningRate;
    c->amount -= mined;
    players[u->player].crystals += mined;
    if (u->player == 0 && boostMode) {
        players[u->player].crystals += (float)frameTime * kBoostMiningExtra;
    }
    if (c->amount <= 0.0f) {
        Crystal* next = nearestCrystal(u->position[0], u->position[1], u->position[2]);
        if (!next) {
            u->state = kIdle;
        } else {
            order(u, kMine, next);
        }
    }
    Crystal* glowing = u->crystal;
    glowing->glow += (float)frameTime / 400.0f;
    if (glowing->glow > 2.0f) {
        glowing->glow = 2.0f;
    }
}

// Ten seconds (one in boost mode), then the parent steps aside and a new idle Blob appears next to it;
// a selected parent brings its child into the selection.
void UnitManager::updateSplit(int slot, bool& changed) {
    Unit* u = units[slot];
    if (u->player == 0 && boostMode) {
        u->progress += (float)frameTime * 0.001f;
    } else {
        u->progress += (float)frameTime * 0.0001f;
    }
    if (u->progress < 1.0f) {
        return;
    }
    float x = u->position[0] - 0.25f;
    float y = u->position[1] - 0.25f;
    u->position[0] = x;
    u->position[1] = y;
    u->position[2] = terrain->height(x, y) + 0.6f;
    unitIndex->moved(slot, u->position);
    u->state = kMove;
    u->destination[0] = rand() % 2 == 0 ? x + 0.1f : x - 0.1f;
    u->destination[1] = rand() % 2 == 0 ? y + 0.1f : y - 0.1f;
    Unit* child = createUnit(kBlob, x + 0.5f, y + 0.5f, terrain->height(x + 0.5f, y + 0.5f) + 0.6f, u->player);
    unitIndex->moved((int)units.size() - 1, child->position);
    if (std::find(selection.begin(), selection.end(), u) != selection.end()) {
        selection.push_back(child);
    }
    changed = true;
}

// Progress by the target type's morph time (nine times faster in boost mode). Ground to air rises 3.0
// over the morph. On completion the unit keeps its life fraction under the new maximum.
void UnitManager::updateMorph(Unit* u, bool& changed) {
    const UnitTemplate* from = templates[u->type];
    const UnitTemplate* to = templates[u->morphTarget];
    float f = (float)frameTime / (float)to->morphTime;
    bool boosted = u->player == 0 && boostMode;
    u->progress += f;
    if (boosted) {
        u->progress += 8.0f * f;
    }
    if (!from->isAir && to->isAir) {
        u->position[2] += (boosted ? 30.0f : 3.0f) * f;
    }
    if (u->progress < 1.0f) {
        return;
    }
    u->state = kIdle;
    u->life = (float)to->maxLife * u->life / (float)from->maxLife;
    u->type = to->id;
    if (to->id == kSlimeTower) {
        players[u->player].towerCount += 1;
    }
    changed = true;
}
