#include "simulation_fixture.h"

#include <cstdlib>

#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

// Generated once, then flattened: bilinear heights of a zero grid are zero everywhere.
Terrain* SimulationTest::levelTerrain() {
    static Terrain* shared = 0;
    if (!shared) {
        shared = new Terrain(64, 0);
        for (int i = 0; i < 65 * 65; ++i) {
            shared->heights[i] = 0.0f;
        }
    }
    return shared;
}

void SimulationTest::SetUp() {
    GlTest::SetUp();
    terrain = levelTerrain();
    srand(kSeed);
    manager = new UnitManager(terrain, 64);
}

void SimulationTest::TearDown() {
    delete manager;
    manager = 0;
    GlTest::TearDown();
}

void SimulationTest::removeCrystals() {
    for (size_t i = 0; i < manager->crystals.size(); ++i) {
        delete manager->crystals[i];
    }
    manager->crystals.clear();
}

Unit* SimulationTest::spawn(int type, float x, float y, int player) {
    float z = manager->templates[type]->isAir ? 3.6f : 0.6f;
    return manager->createUnit(type, x, y, z, player);
}

bool SimulationTest::run(int frames, int dt) {
    bool changed = false;
    for (int i = 0; i < frames; ++i) {
        if (manager->update(dt)) {
            changed = true;
        }
    }
    return changed;
}
