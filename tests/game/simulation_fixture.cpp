#include "simulation_fixture.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// Deletes every object of an owning list and empties it.
template <class T>
static void clearOwned(std::vector<T*>& items) {
    for (T* item : items) {
        delete item;
    }
    items.clear();
}

std::string xy(const float* p) {
    char text[64];
    snprintf(text, sizeof text, "%g,%g", p[0], p[1]);
    return text;
}

void SimulationTest::SetUp() {
    GlTest::SetUp();
    // Generated once, then flattened: bilinear heights of a zero grid are zero everywhere.
    static Terrain* level = 0;
    if (!level) {
        level = new Terrain(64, 0);
        std::fill(level->heights, level->heights + 65 * 65, 0.0f);
    }
    terrain = level;
    srand(kSeed);
    manager = new UnitManager(terrain, 64);
    for (int s = 0; s < 3; ++s) {
        armSound(s);
    }
}

void SimulationTest::TearDown() {
    delete manager;
    GlTest::TearDown();
}

void SimulationTest::removeCrystals() { clearOwned(manager->crystals); }

void SimulationTest::removeUnits() {
    manager->selection.clear();
    for (std::vector<Unit*>& group : manager->groups) {
        group.clear();
    }
    clearOwned(manager->units);
    clearOwned(manager->dyingUnits);
    clearOwned(manager->projectiles);
}

Unit* SimulationTest::spawn(int type, float x, float y, int player) {
    return manager->createUnit(type, x, y, manager->templates[type]->isAir ? 3.6f : 0.6f, player);
}

Crystal* SimulationTest::addCrystal(float x, float y) {
    manager->crystals.push_back(new Crystal(x, y, 0.2f));
    return manager->crystals.back();
}

bool SimulationTest::run(int frames, int dt) {
    bool changed = false;
    for (int i = 0; i < frames; ++i) {
        changed = manager->update(dt) || changed;
    }
    return changed;
}

void SimulationTest::armSound(int sound) { armed[sound] = gSoundLastPlayed[sound] = SDL_GetTicks() - 30000u; }

bool SimulationTest::soundPlayed(int sound) const { return gSoundLastPlayed[sound] != armed[sound]; }
