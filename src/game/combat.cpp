#include "game/unit_manager.h"

#include <algorithm>
#include <cmath>

#include "app/sound.h"
#include "game/projectile.h"
#include "game/spatial_index.h"
#include "game/unit.h"
#include "game/unit_template.h"

namespace {

// Ranges are measured on the ground: a flyer overhead is as near as a unit beside it.
float distance2(const Unit* a, const Unit* b) {
    float dx = b->position[0] - a->position[0];
    float dy = b->position[1] - a->position[1];
    return sqrtf(dx * dx + dy * dy);
}

// Removes every occurrence of u; true when there was one.
bool eraseAll(std::vector<Unit*>& list, const Unit* u) {
    size_t before = list.size();
    list.erase(std::remove(list.begin(), list.end(), u), list.end());
    return list.size() != before;
}

}  // namespace

// Fires at the first foreign unit in range that the type can hit, in `units` order. The state stays as it
// is; the attack pause halts a moving unit for one attack interval.
void UnitManager::acquireTarget(Unit* s) {
    const UnitTemplate* st = templates[s->type];
    // Only units within the range on both axes (and a margin for rounding) can pass the distance test.
    float reach = st->range + 0.05f;
    std::vector<int>& candidates = nearby[0];
    unitIndex->query(s->position[0] - reach, s->position[1] - reach, s->position[0] + reach,
                     s->position[1] + reach, 0, candidates);
    for (size_t k = 0; k < candidates.size(); ++k) {
        Unit* t = units[candidates[k]];
        if (t == s || t->player == s->player) {
            continue;
        }
        // The human's units never fire into the fog.
        if (s->player == 0 && t->hidden) {
            continue;
        }
        if (!canHit(*st, *templates[t->type])) {
            continue;
        }
        if (distance2(s, t) > st->range) {
            continue;
        }
        s->target = t;
        attack(s, t);
        s->attackPause = st->attackInterval;
        return;
    }
}

// One attack: a homing shot, or for beam types this frame's share of the damage per second.
void UnitManager::attack(Unit* s, Unit* t) {
    const UnitTemplate* st = templates[s->type];
    if (!st->continuousDamage) {
        Projectile* p = new Projectile();
        p->player = s->player;
        for (int k = 0; k < 3; ++k) {
            p->position[k] = s->position[k];
        }
        p->damage = st->damage;
        p->target = t;
        p->source = s;
        p->kind = st->projectileKind;
        projectiles.push_back(p);
        s->cooldown = st->attackInterval;
    } else {
        s->beamEffect = st->projectileKind;
        t->life -= (float)st->damage / 1000.0f * (float)frameTime;
    }
}

// The Attack state: close in on the target, then fire whenever the cooldown allows. A target the type
// cannot hit ends the attack once it is in range.
void UnitManager::updateAttack(int slot, int dt) {
    Unit* s = units[slot];
    Unit* t = s->target;
    const UnitTemplate* st = templates[s->type];
    for (int k = 0; k < 3; ++k) {
        s->destination[k] = t->position[k];
    }
    if (distance2(s, t) > st->range) {
        stepTowards(slot, t->position[0], t->position[1], dt);
        return;
    }
    if (s->cooldown <= 0) {
        if (!canHit(*st, *templates[t->type])) {
            s->state = kIdle;
            return;
        }
        attack(s, t);
        if (!st->continuousDamage) {
            s->attackPause = st->attackInterval;
        }
    }
}

// Homing flight at 4 units per second; the impact deals the damage, draws retaliation from an idle target
// and the alert for the human. From then the shot fades for 2000 ms before it is deleted.
void UnitManager::updateProjectiles(int dt) {
    for (size_t i = 0; i < projectiles.size();) {
        Projectile* p = projectiles[i];
        if (p->impactTime < 1) {
            Unit* t = p->target;
            float v[3] = {t->position[0] - p->position[0], t->position[1] - p->position[1],
                          t->position[2] + 0.2f - p->position[2]};
            float d = sqrtf(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            if (d >= 0.15f) {
                float step = (float)dt * 0.004f;
                for (int k = 0; k < 3; ++k) {
                    p->position[k] += v[k] / d * step;
                }
            } else {
                t->life -= (float)p->damage;
                if (t->state == kIdle && p->source) {
                    order(t, kAttack, p->source);
                }
                if (t->player == 0) {
                    playSound(kSoundAttack);
                }
                p->impactTime = 1;
            }
            ++i;
            continue;
        }
        p->impactTime += frameTime;
        if (p->impactTime > 2000) {
            delete p;
            projectiles.erase(projectiles.begin() + i);
        } else {
            ++i;
        }
    }
}

// Units at 0 life or less leave `units` for `dyingUnits`, after every reference to them is dropped.
void UnitManager::removeDeadUnits(bool& changed) {
    for (size_t i = 0; i < units.size();) {
        Unit* u = units[i];
        if (u->life > 0.0f) {
            ++i;
            continue;
        }
        if (u->type == kSlimeTower) {
            players[u->player].towerCount -= 1;
        }
        for (size_t k = 0; k < projectiles.size(); ++k) {
            if (projectiles[k]->target == u) {
                projectiles[k]->impactTime += 1;
            }
        }
        changed |= eraseAll(selection, u);
        for (int g = 0; g < kGroupCount; ++g) {
            changed |= eraseAll(groups[g], u);
        }
        for (size_t k = 0; k < units.size(); ++k) {
            Unit* w = units[k];
            if (w->target == u && (w->state == kAttack || w->state == kChase)) {
                w->state = kIdle;
            }
        }
        for (size_t k = 0; k < projectiles.size(); ++k) {
            if (projectiles[k]->source == u) {
                projectiles[k]->source = 0;
            }
        }
        u->progress = 0.0f;
        dyingUnits.push_back(u);
        units.erase(units.begin() + i);
    }
}

// Dead units sink into the ground (air units fall faster) and are deleted when fully gone.
void UnitManager::sinkDyingUnits() {
    for (size_t i = 0; i < dyingUnits.size();) {
        Unit* u = dyingUnits[i];
        if (templates[u->type]->isAir) {
            u->progress += (float)frameTime / 1200.0f;
            u->position[2] -= (float)frameTime / 250.0f;
        } else {
            u->progress += (float)frameTime / 700.0f;
            u->position[2] -= (float)frameTime / 1000.0f;
        }
        if (u->progress >= 1.0f) {
            forgetUnit(u);
            delete u;
            dyingUnits.erase(dyingUnits.begin() + i);
        } else {
            ++i;
        }
    }
}

// Just before a dead unit is deleted: stale target pointers that the death pass left (units that had
// picked it up while idle or moving, fading projectiles) are cleared so nothing points at freed memory.
void UnitManager::forgetUnit(Unit* gone) {
    for (size_t k = 0; k < units.size(); ++k) {
        if (units[k]->target == gone) {
            units[k]->target = 0;
        }
    }
    for (size_t k = 0; k < dyingUnits.size(); ++k) {
        if (dyingUnits[k]->target == gone) {
            dyingUnits[k]->target = 0;
        }
    }
    for (size_t k = 0; k < projectiles.size(); ++k) {
        if (projectiles[k]->target == gone) {
            projectiles[k]->target = 0;
        }
    }
}
