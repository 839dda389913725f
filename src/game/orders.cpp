#include "game/unit_manager.h"

#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// Every command goes through here: human input, the command panel, retaliation, mining and the computer
// players. Refused orders change nothing. True only for an accepted Move or AttackMove.
bool UnitManager::order(Unit* u, int code, void* arg) {
    // Every order but Stop and Split needs its argument; a missing one is refused like any misfit.
    if (!arg && code != kIdle && code != kSplit) {
        return false;
    }
    switch (code) {
    case kMove:
        return orderMove(u, static_cast<const float*>(arg));
    case kIdle:
        refund(u);
        u->state = kIdle;
        return false;
    case kSplit:
        orderSplit(u);
        return false;
    case kMorph:
        orderMorph(u, *static_cast<const int*>(arg));
        return false;
    case kAttack:
    case kChase: {
        Unit* t = static_cast<Unit*>(arg);
        if (!canFight(u)) {
            return false;
        }
        // The human cannot aim at what the fog hides: go there and fight whatever is found.
        if (code == kAttack && t->hidden && u->player == 0) {
            return orderAttackMove(u, t->position);
        }
        u->resetPath();
        u->state = code;
        u->target = t;
        return false;
    }
    case kAttackMove:
        return orderAttackMove(u, static_cast<const float*>(arg));
    case kMine:
        orderMine(u, static_cast<Crystal*>(arg));
        return false;
    default:
        return false;
    }
}

// Only the human's own units among the selection take orders.
bool UnitManager::orderSelection(int code, void* arg) {
    bool any = false;
    for (size_t i = 0; i < selection.size(); ++i) {
        if (selection[i]->player == 0 && order(selection[i], code, arg)) {
            any = true;
        }
    }
    return any;
}

// The right-click order: attack a foreign unit, mine a crystal, or walk there.
void UnitManager::commandAt(float point[3]) {
    Unit* u = unitAt(point[0], point[1], point[2]);
    Crystal* c = crystalAt(point[0], point[1], point[2]);
    if (u && u->player != 0) {
        orderSelection(kAttack, u);
    } else if (c) {
        orderSelection(kMine, c);
    } else {
        orderSelection(kMove, point);
    }
}

// A unit that can both move and do damage; the only ones that take fighting orders.
bool UnitManager::canFight(const Unit* u) const {
    const UnitTemplate* t = templates[u->type];
    return !u->isBusy() && t->damage > 0 && t->speed > 0.0f;
}

// Points near the map edge are accepted but the goal is pulled inside the walkable border.
bool UnitManager::orderMove(Unit* u, const float* p) {
    if (u->isBusy() || templates[u->type]->speed <= 0.0f) {
        return false;
    }
    float size = (float)mapSize;
    if (!(p[0] > 0.0f && p[0] < size && p[1] > 0.0f && p[1] < size && p[2] > -16.0f && p[2] < 16.0f)) {
        return false;
    }
    u->resetPath();
    u->destination[0] = clampToMap(p[0]);
    u->destination[1] = clampToMap(p[1]);
    u->destination[2] = terrain->height(p[0], p[1]) + 0.2f;
    u->state = kMove;
    return true;
}

// Attack-move keeps a wider margin from the edge and takes the point as given.
bool UnitManager::orderAttackMove(Unit* u, const float* p) {
    if (!canFight(u)) {
        return false;
    }
    float high = (float)mapSize - 5.0f;
    if (!(p[0] > 5.0f && p[0] < high && p[1] > 5.0f && p[1] < high && p[2] > -16.0f && p[2] < 16.0f)) {
        return false;
    }
    u->resetPath();
    u->destination[0] = p[0];
    u->destination[1] = p[1];
    u->destination[2] = terrain->height(p[0], p[1]) + 0.2f;
    u->state = kAttackMove;
    return true;
}
