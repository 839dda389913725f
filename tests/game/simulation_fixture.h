#ifndef GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H
#define GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H

#include <string>

#include "support/gl_test.h"

class Crystal;
class Terrain;
class UnitManager;
class Unit;

// A point where an order or a move wants float[3]; lives until the end of the statement.
struct At {
    float v[3];
    At(float x, float y, float z = 0.0f) : v{x, y, z} {}
    operator float*() { return v; }
};

// "x,y" to six significant digits, so one check covers both coordinates.
std::string xy(const float* p);

// A 64 map levelled to height 0 (ground units stand at z 0.6, air units at 3.6), shared by the process,
// and a fresh manager per test, built right after srand(kSeed) with its crystal field.
class SimulationTest : public GlTest {
protected:
    static const unsigned kSeed = 1234;
    void SetUp() override;
    void TearDown() override;
    // Delete the crystal field, or every unit, dying unit and projectile (emptying the selection and groups).
    void removeCrystals();
    void removeUnits();
    // A unit on the level ground (air types at flying height), and a full crystal.
    Unit* spawn(int type, float x, float y, int player);
    Crystal* addCrystal(float x, float y);
    // Runs `frames` updates of dt each; returns whether any of them returned true.
    bool run(int frames, int dt);
    // Lets the next play of a sound through its throttle; soundPlayed tells whether one came since.
    void armSound(int sound);
    bool soundPlayed(int sound) const;

    Terrain* terrain;
    UnitManager* manager;
    unsigned int armed[3];
};

// The same without crystals, for units alone on the map.
class EmptyMapTest : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
};

#endif
