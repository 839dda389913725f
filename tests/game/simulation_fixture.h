#ifndef GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H
#define GELMARCH_TESTS_GAME_SIMULATION_FIXTURE_H

#include "support/gl_test.h"

class Terrain;
class UnitManager;
class Unit;

// A 64 map whose ground is made level at height 0 after generation, so a ground unit stands at z 0.6 and
// an air unit at 3.6 everywhere; the terrain is shared by all tests of the process. Each test gets a fresh
// manager, built right after srand(kSeed), with the crystal field removed unless a test keeps it.
class SimulationTest : public GlTest {
protected:
    static const unsigned kSeed = 1234;

    void SetUp() override;
    void TearDown() override;

    // Deletes the crystal field so that crystals neither get picked nor sought.
    void removeCrystals();
    // A unit standing on the level ground (air types at flying height).
    Unit* spawn(int type, float x, float y, int player);
    // Runs `frames` updates of dt each; returns whether any of them returned true.
    bool run(int frames, int dt);

    static Terrain* levelTerrain();

    Terrain* terrain;
    UnitManager* manager;
};

#endif
