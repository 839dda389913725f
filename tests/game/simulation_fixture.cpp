#include "simulation_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "game/crystal.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"

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
        for (int i = 0; i < 65 * 65; ++i) {
            level->heights[i] = 0.0f;
        }
    }
    terrain = level;
    srand(kSeed);
    manager = new UnitManager(terrain, 64);
}

void SimulationTest::TearDown() {
    delete manager;
    GlTest::TearDown();
}

void SimulationTest::removeCrystals() {
    for (size_t i = 0; i < manager->crystals.size(); ++i) {
        delete manager->crystals[i];
    }
    manager->crystals.clear();
}

Unit* SimulationTest::spawn(int type, float x, float y, int player) {
    return manager->createUnit(type, x, y, manager->templates[type]->isAir ? 3.6f : 0.6f, player);
}

bool SimulationTest::run(int frames, int dt) {
    bool changed = false;
    for (int i = 0; i < frames; ++i) {
        changed = manager->update(dt) || changed;
    }
    return changed;
}
