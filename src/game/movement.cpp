#include "game/unit_manager.h"

#include <algorithm>
#include <cmath>

#include "game/spatial_index.h"
#include "game/unit.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// One simulation step of dt milliseconds. The order of the passes matters: units act on this frame's
// state, projectiles fly after every unit has fired, and the dead are unlinked only at the end.
bool UnitManager::update(int dt) {
    gameTime += dt;
    frameTime = dt;
    bool changed = false;
    unitIndex->rebuild(mapSize);
    // The size is read again every time: a Blob born from a split acts in the same pass.
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        const UnitTemplate* t = templates[u->type];
        u->miningEffect = 0;
        u->beamEffect = -1;
        u->life += (float)frameTime / 2000.0f;
        if (u->life > (float)t->maxLife) {
            u->life = (float)t->maxLife;
        }
        if (u->cooldown > 0) {
            u->cooldown -= dt;
        }
        if (u->attackPause > 0) {
            u->attackPause -= dt;
        }
        if (u->type != kBlob && u->cooldown <= 0 &&
            (u->state == kIdle || u->state == kAttackMove || u->state == kChase || u->state == kMine)) {
            acquireTarget(u);
        }
        switch (u->state) {
        case kMove:
        case kAttackMove:
        case kChase:
            stepTowardsDestination((int)i, dt);
            break;
        case kAttack:
            updateAttack((int)i, dt);
            break;
        case kMine:
            updateMining((int)i, dt);
            break;
        case kSplit:
            updateSplit((int)i, changed);
            break;
        case kMorph:
            updateMorph(u, changed);
            break;
        default:
            break;
        }
    }
    updateProjectiles(dt);
    removeDeadUnits(changed);
    sinkDyingUnits();
    return changed;
}

// Move, AttackMove and Chase: one step towards the goal, with stuck detection. A unit that has made no
// progress for 150 ms waits 750 ms; after its retries are used up it gives up and stands.
void UnitManager::stepTowardsDestination(int slot, int dt) {
    Unit* u = units[slot];
    if (u->state == kChase) {
        for (int k = 0; k < 3; ++k) {
            u->destination[k] = u->target->position[k];
        }
    }
    float dx = u->destination[0] - u->position[0];
    float dy = u->destination[1] - u->position[1];
    float step = templates[u->type]->speed * (float)dt / 1000.0f;
    float length = sqrtf(dx * dx + dy * dy);
    if (length < step) {
        u->state = kIdle;
        moveSlot(u, slot, u->position, u->destination, 0);
        return;
    }
    if (u->attackPause > 0) {
        return;
    }
    if (u->waitTime > 0) {
        u->waitTime -= dt;
        if (u->waitTime <= 0) {
            if (u->retries <= 0) {
                u->state = kIdle;
            } else {
                u->retries -= 1;
            }
        }
        return;
    }
    stepTowards(slot, u->destination[0], u->destination[1], dt);
    float r = distanceToDestination(u);
    if (r <= u->bestDistance) {
        u->stuckTime -= dt;
        if (u->stuckTime < 0) {
            u->stuckTime = 0;
        }
        u->bestDistance = r;
    } else {
        u->stuckTime += dt;
        if (u->stuckTime > 150) {
            u->waitTime = 750;
        }
    }
}

// One step of the type's speed towards (x, y); skipped during an attack pause. No stuck detection here:
// attacking and mining call it directly.
void UnitManager::stepTowards(int slot, float x, float y, int dt) {
    Unit* u = units[slot];
    if (u->attackPause > 0) {
        return;
    }
    float dx = x - u->position[0];
    float dy = y - u->position[1];
    float length = sqrtf(dx * dx + dy * dy);
    if (length <= 0.0f) {
        return;
    }
    float step = templates[u->type]->speed * (float)dt / 1000.0f;
    float next[3] = {u->position[0] + dx / length * step, u->position[1] + dy / length * step, 0.0f};
    moveSlot(u, slot, u->position, next, 0);
}

void UnitManager::moveUnit(Unit* u, const float* from, const float* to, int depth) {
    unitIndex->rebuild(mapSize);
    int slot = (int)(std::find(units.begin(), units.end(), u) - units.begin());
    moveSlot(u, slot < (int)units.size() ? slot : -1, from, to, depth);
}

// Moves u (filed under `slot`, or -1 for a unit outside `units`) from `from` to `to`, pushing units of the
// same layer (ground or air) out of the swept path. Pushed units push in turn, three levels deep at most.
// Static and morphing units push but never move. Positions stay inside [4, mapSize - 4] and stand on the
// ground (air units 3.0 above it). The unit index must be current.
void UnitManager::moveSlot(Unit* u, int slot, const float* from, const float* to, int depth) {
    if (depth > 3) {
        return;
    }
    float mx = to[0] - from[0];
    float my = to[1] - from[1];
    float motion = sqrtf(mx * mx + my * my);
    float angle = atan2f(my, mx);
    float cosA = cosf(angle);
    float sinA = sinf(angle);
    const UnitTemplate* t = templates[u->type];
    float maxPush = (float)frameTime * 0.005f;
    // The strip reaches r across the path and r beyond its ends, so its corners lie r * sqrt(2) out;
    // 1.5 r and a little more keeps every unit that can be hit inside the rectangle asked for.
    float reach = (t->size + largestSize) * 0.75f + 0.05f;
    std::vector<int>& candidates = nearby[depth];
    int first = 0;
    for (;;) {
        // `from` is usually u's own position: once a push chain shoves u back, the rest is measured from
        // there, and every push may have moved units into or out of the strip, so it is asked for again.
        float endX = from[0] + motion * cosA;
        float endY = from[1] + motion * sinA;
        unitIndex->query(std::min(from[0], endX) - reach, std::min(from[1], endY) - reach,
                         std::max(from[0], endX) + reach, std::max(from[1], endY) + reach, first, candidates);
        size_t k = 0;
        for (; k < candidates.size(); ++k) {
            Unit* v = units[candidates[k]];
            if (v == u) {
                continue;
            }
            const UnitTemplate* vt = templates[v->type];
            if (vt->isAir != t->isAir) {
                continue;
            }
            float ox = v->position[0] - from[0];
            float oy = v->position[1] - from[1];
            float r = (t->size + vt->size) * 0.5f;
            float along = ox * cosA + oy * sinA;
            float side = -ox * sinA + oy * cosA;
            if (along >= -r && along <= motion + r && fabsf(side) < r) {
                float push = r - fabsf(side);
                if (push > maxPush) {
                    push = maxPush;
                }
                float b = atan2f(v->position[1] - from[1], v->position[0] - from[0]);
                float pushed[3] = {v->position[0] + push * cosf(b), v->position[1] + push * sinf(b), 0.0f};
                moveSlot(v, candidates[k], v->position, pushed, depth + 1);
                break;
            }
        }
        if (k == candidates.size()) {
            break;
        }
        first = candidates[k] + 1;
    }
    if (t->speed > 0.0f && u->state != kMorph) {
        float x = clampToMap(to[0]);
        float y = clampToMap(to[1]);
        u->position[0] = x;
        u->position[1] = y;
        u->position[2] = terrain->height(x, y) + 0.6f + (t->isAir ? 3.0f : 0.0f);
        unitIndex->moved(slot, u->position);
    }
}

// Into [4, mapSize - 4]: the border strip where the camera cannot follow is never walked on.
float UnitManager::clampToMap(float v) const {
    float low = 4.0f;
    float high = (float)mapSize - 4.0f;
    return v < low ? low : (v > high ? high : v);
}
