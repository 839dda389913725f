#include "game/unit_manager.h"

#include <cmath>

#include "game/unit.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// One simulation step of dt milliseconds. The order of the passes matters: units act on this frame's
// state, projectiles fly after every unit has fired, and the dead are unlinked only at the end.
bool UnitManager::update(int dt) {
    gameTime += dt;
    frameTime = dt;
    bool changed = false;
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
            stepTowardsDestination(u, dt);
            break;
        case kAttack:
            updateAttack(u, dt);
            break;
        case kMine:
            updateMining(u, dt);
            break;
        case kSplit:
            updateSplit(u, changed);
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
void UnitManager::stepTowardsDestination(Unit* u, int dt) {
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
        moveUnit(u, u->position, u->destination, 0);
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
    stepTowards(u, u->destination[0], u->destination[1], dt);
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
void UnitManager::stepTowards(Unit* u, float x, float y, int dt) {
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
    moveUnit(u, u->position, next, 0);
}

// Moves u from `from` to `to`, pushing units of the same layer (ground or air) out of the swept path.
// Pushed units push in turn, three levels deep at most. Static and morphing units push but never move.
// Positions stay inside [4, mapSize - 4] and stand on the ground (air units 3.0 above it).
void UnitManager::moveUnit(Unit* u, const float* from, const float* to, int depth) {
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
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* v = units[i];
        if (v == u) {
            continue;
        }
        const UnitTemplate* vt = templates[v->type];
        if (vt->isAir != t->isAir) {
            continue;
        }
        // `from` is usually u's own position: once a push chain shoves u back, the rest is measured from there.
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
            moveUnit(v, v->position, pushed, depth + 1);
        }
    }
    if (t->speed > 0.0f && u->state != kMorph) {
        float x = clampToMap(to[0]);
        float y = clampToMap(to[1]);
        u->position[0] = x;
        u->position[1] = y;
        u->position[2] = terrain->height(x, y) + 0.6f + (t->isAir ? 3.0f : 0.0f);
    }
}

// Into [4, mapSize - 4]: the border strip where the camera cannot follow is never walked on.
float UnitManager::clampToMap(float v) const {
    float low = 4.0f;
    float high = (float)mapSize - 4.0f;
    return v < low ? low : (v > high ? high : v);
}
