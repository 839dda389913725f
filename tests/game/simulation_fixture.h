#ifndef GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H
#define GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "support/gl_test.h"

// A point where an order or a move wants float[3]; lives until the end of the statement.
struct At {
    float v[3];
    At(float x, float y, float z = 0.0f) : v{x, y, z} {}
    operator float*() { return v; }
};

// "x,y" to six significant digits, so one check covers both coordinates.
inline std::string xy(const float* p) {
    char text[64];
    snprintf(text, sizeof text, "%g,%g", p[0], p[1]);
    return text;
}

// A 64 map levelled to height 0 (ground units stand at z 0.6, air units at 3.6), shared by the process,
// and a fresh manager per test, built right after srand(1234) with its crystal field.
class SimulationTest : public GlTest {
protected:
    Terrain* terrain;
    UnitManager* manager;
    unsigned int armedAt;

    void SetUp() override {
        GlTest::SetUp();
        // Generated once, then flattened: bilinear heights of a zero grid are zero everywhere.
        static Terrain* level = 0;
        if (!level) {
            level = new Terrain(64, 0);
            std::fill(level->heights, level->heights + 65 * 65, 0.0f);
        }
        terrain = level;
        srand(1234);
        manager = new UnitManager(terrain, 64);
        armedAt = SDL_GetTicks() - 30000u;
        std::fill(gSoundLastPlayed, gSoundLastPlayed + 3, armedAt);
    }
    void TearDown() override {
        delete manager;
        GlTest::TearDown();
    }
    // Deletes every object of an owning list and empties it.
    template <class T>
    static void clearOwned(std::vector<T*>& items) {
        for (T* item : items) {
            delete item;
        }
        items.clear();
    }
    // Deletes every unit, dying unit and projectile, emptying the selection and the groups first.
    void removeUnits() {
        manager->selection.clear();
        for (std::vector<Unit*>& group : manager->groups) {
            group.clear();
        }
        clearOwned(manager->units);
        clearOwned(manager->dyingUnits);
        clearOwned(manager->projectiles);
    }
    // A unit on the level ground (air types at flying height).
    Unit* spawn(int type, float x, float y, int player) {
        return manager->createUnit(type, x, y, manager->templates[type]->isAir ? 3.6f : 0.6f, player);
    }
    Crystal* addCrystal(float x, float y) {
        manager->crystals.push_back(new Crystal(x, y, 0.2f));
        return manager->crystals.back();
    }
    // Runs `frames` updates of dt each; returns whether any of them returned true.
    bool run(int frames, int dt) {
        bool changed = false;
        for (int i = 0; i < frames; ++i) {
            changed = manager->update(dt) || changed;
        }
        return changed;
    }
    // Whether a sound got past its throttle since SetUp, which lets the next play of each through.
    bool soundPlayed(int sound) const { return gSoundLastPlayed[sound] != armedAt; }
};

// The same without crystals, for units alone on the map.
class EmptyMapTest : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        clearOwned(manager->crystals);
    }
};

#endif
