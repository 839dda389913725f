#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

typedef SimulationTest CrystalField;

TEST_F(CrystalField, TwelveClustersOfThreeOnASmallMapFortyEightOnALargeOne) {
    ASSERT_EQ(36u, manager->crystals.size());
    for (size_t k = 0; k < 12; ++k) {
        // Centre from the first crystal (+0.35, +0.25); the others sit at (-0.25, +0.25), (+0.15, -0.25).
        Crystal* const* c = &manager->crystals[3 * k];
        float x = c[0]->position[0] - 0.35f;
        float y = c[0]->position[1] - 0.25f;
        EXPECT_TRUE(x >= 6.0f && x <= 58.0f && y >= 6.0f && y <= 58.0f) << x << ", " << y;
        EXPECT_NEAR(x - 0.25f, c[1]->position[0], 1e-4f);
        EXPECT_NEAR(y + 0.25f, c[1]->position[1], 1e-4f);
        EXPECT_NEAR(x + 0.15f, c[2]->position[0], 1e-4f);
        EXPECT_NEAR(y - 0.25f, c[2]->position[1], 1e-4f);
        for (int i = 0; i < 3; ++i) {
            EXPECT_FLOAT_EQ(0.2f, c[i]->position[2]);
            EXPECT_FLOAT_EQ(2500.0f, c[i]->amount);
        }
    }
    UnitManager large(terrain, 128);
    EXPECT_EQ(144u, large.crystals.size());
}

TEST_F(CrystalField, BothCoordinatesAreDrawnBeforeAnEdgeRedraw) {
    // For a seed whose first draws give x inside, below 6 or above 58 (y inside), the first centre is
    // (x + 0.5, y + 0.5), (third draw % 3 + 6, y + 0.5) or (58 - third draw % 3, y + 0.5).
    for (int edge = 0; edge < 3; ++edge) {
        SCOPED_TRACE(edge);
        unsigned seed = 0;
        int rx = 0, ry = 0, r3 = 0;
        bool found = false;
        while (!found && seed < 100000) {
            srand(++seed);
            rx = rand() % 64;
            ry = rand() % 64;
            r3 = rand();
            bool xFits = edge == 0 ? rx >= 6 && rx <= 57 : (edge == 1 ? rx < 6 : rx > 57);
            found = xFits && ry >= 6 && ry <= 57;
        }
        ASSERT_TRUE(found);
        float x = edge == 0 ? (float)rx + 0.5f : (edge == 1 ? (float)(r3 % 3 + 6) : (float)(58 - r3 % 3));
        srand(seed);
        UnitManager m(terrain, 64);
        EXPECT_FLOAT_EQ(x + 0.35f, m.crystals[0]->position[0]);
        EXPECT_FLOAT_EQ((float)ry + 0.75f, m.crystals[0]->position[1]);
    }
}

class Economy : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
        arm(kSoundSplat);
        arm(kSoundCrystal);
    }
    // Lets the next splat or crystal sound through its throttle.
    void arm(int sound) { armed[sound] = gSoundLastPlayed[sound] = SDL_GetTicks() - 30000u; }
    bool played(int sound) const { return gSoundLastPlayed[sound] != armed[sound]; }
    Crystal* addCrystal(float x, float y) {
        manager->crystals.push_back(new Crystal(x, y, 0.2f));
        return manager->crystals.back();
    }

    unsigned int armed[3];
};

TEST_F(Economy, EachMiningBlobTakesTwoPerSecondAndBoostOnlyPaysTheHuman) {
    Crystal* c = addCrystal(22.0f, 20.0f);
    Crystal* e = addCrystal(42.0f, 40.0f);
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* human = spawn(kBlob, 40.0f, 40.0f, 0);
    manager->order(a, kMine, c);
    manager->order(human, kMine, e);
    manager->boostMode = true;
    run(1, 1000);
    EXPECT_FLOAT_EQ(2498.0f, c->amount);
    EXPECT_FLOAT_EQ(102.9f, manager->players[1].crystals);
    EXPECT_EQ(4, a->miningEffect);
    EXPECT_FLOAT_EQ(2.0f, c->glow);  // 1000 / 400, capped
    EXPECT_FLOAT_EQ(2498.0f, e->amount);
    EXPECT_NEAR(120.9f, manager->players[0].crystals, 1e-3f);

    // Two Blobs on one crystal: four per second; when it runs out both move on to the one left.
    Unit* b = spawn(kBlob, 24.0f, 20.0f, 1);
    manager->order(b, kMine, c);
    run(1, 1000);
    EXPECT_FLOAT_EQ(2494.0f, c->amount);
    EXPECT_FLOAT_EQ(106.9f, manager->players[1].crystals);
    run(623, 1000);
    EXPECT_FLOAT_EQ(2.0f, c->amount);
    run(1, 1000);
    EXPECT_FLOAT_EQ(-2.0f, c->amount);
    EXPECT_EQ(e, a->crystal);
    EXPECT_EQ(e, b->crystal);
    EXPECT_EQ(kMine, b->state);
}

TEST_F(Economy, BlobWalksIntoReachThenMovesOnToTheNearestLiveCrystalOrStops) {
    // Reach 3.25; 0.5 per 500 ms frame: 5.0, 4.5, 4.0, 3.5 walk, 3.0 mines.
    Crystal* c = addCrystal(25.0f, 20.0f);
    Crystal* far = addCrystal(40.0f, 40.0f);
    Crystal* next = addCrystal(24.0f, 21.0f);
    c->amount = 0.5f;
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 3);
    manager->order(a, kMine, c);
    run(4, 500);
    EXPECT_NEAR(22.0f, a->position[0], 1e-4f);
    EXPECT_FLOAT_EQ(100.9f, manager->players[3].crystals);
    run(1, 500);
    EXPECT_NEAR(101.9f, manager->players[3].crystals, 1e-4f);
    EXPECT_FLOAT_EQ(-0.5f, c->amount);
    EXPECT_EQ(kMine, a->state);
    EXPECT_EQ(next, a->crystal);
    EXPECT_FLOAT_EQ(1.25f, next->glow);  // the glow goes to the new crystal
    EXPECT_FLOAT_EQ(0.0f, c->glow);
    far->amount = 0.0f;
    next->amount = 0.5f;
    run(1, 500);
    EXPECT_EQ(kIdle, a->state);

    // Only Blobs mine, but they take any crystal, even an exhausted one.
    Unit* muffin = spawn(kMuffin, 30.0f, 30.0f, 3);
    manager->order(muffin, kMine, c);
    EXPECT_EQ(kIdle, muffin->state);
    manager->order(a, kMine, c);
    EXPECT_EQ(kMine, a->state);
}

TEST_F(Economy, SplitCostsFiftyAndOnlyTheHumanHearsTheRefusal) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->players[0].crystals = 49.99f;
    manager->order(a, kSplit, 0);
    EXPECT_EQ(kIdle, a->state);
    EXPECT_TRUE(played(kSoundCrystal));
    EXPECT_FALSE(played(kSoundSplat));
    manager->players[0].crystals = 50.0f;
    manager->order(a, kSplit, 0);
    EXPECT_EQ(kSplit, a->state);
    EXPECT_FLOAT_EQ(0.0f, manager->players[0].crystals);
    EXPECT_TRUE(played(kSoundSplat));

    arm(kSoundCrystal);
    Unit* c = spawn(kBlob, 30.0f, 30.0f, 1);
    Unit* muffin = spawn(kMuffin, 40.0f, 30.0f, 1);
    manager->players[1].crystals = 49.0f;
    manager->order(c, kSplit, 0);
    EXPECT_EQ(kIdle, c->state);
    EXPECT_FALSE(played(kSoundCrystal));
    manager->players[1].crystals = 100.0f;
    manager->order(muffin, kSplit, 0);
    EXPECT_EQ(kIdle, muffin->state);
    EXPECT_FLOAT_EQ(100.0f, manager->players[1].crystals);

    // Stopped 9 seconds in: the 50 come back and no second Blob appears.
    run(9, 1000);
    manager->order(a, kIdle, 0);
    EXPECT_FLOAT_EQ(50.0f, manager->players[0].crystals);
    EXPECT_EQ(kIdle, a->state);
    run(5, 1000);
    EXPECT_EQ(3u, manager->units.size());
}

TEST_F(Economy, SplitTakesTenSecondsAndTheChildJoinsTheSelection) {
    Unit* parent = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->selection.push_back(parent);
    manager->order(parent, kSplit, 0);
    EXPECT_FALSE(run(3, 2500));
    EXPECT_FLOAT_EQ(0.75f, parent->progress);
    // The parent's new destination takes one rand() for x, then one for y.
    srand(7);
    float dx = rand() % 2 == 0 ? 0.1f : -0.1f;
    float dy = rand() % 2 == 0 ? 0.1f : -0.1f;
    srand(7);
    EXPECT_TRUE(run(1, 2500));
    ASSERT_EQ(2u, manager->units.size());
    EXPECT_FLOAT_EQ(19.75f, parent->position[0]);
    EXPECT_FLOAT_EQ(19.75f, parent->position[1]);
    EXPECT_EQ(kMove, parent->state);
    EXPECT_FLOAT_EQ(19.75f + dx, parent->destination[0]);
    EXPECT_FLOAT_EQ(19.75f + dy, parent->destination[1]);
    Unit* child = manager->units[1];
    EXPECT_EQ(kBlob, child->type);
    EXPECT_EQ(kIdle, child->state);
    EXPECT_FLOAT_EQ(20.25f, child->position[0]);
    EXPECT_FLOAT_EQ(20.25f, child->position[1]);
    EXPECT_EQ((std::vector<Unit*>{parent, child}), manager->selection);

    // In boost mode a human split takes one second; an unselected parent adds nobody to the selection.
    manager->boostMode = true;
    manager->order(child, kSplit, 0);
    manager->selection = {parent};
    run(3, 250);
    EXPECT_EQ(2u, manager->units.size());
    run(1, 250);
    EXPECT_EQ(3u, manager->units.size());
    EXPECT_EQ(std::vector<Unit*>{parent}, manager->selection);
}

TEST_F(Economy, MorphNeedsMoreThanTheCostAndRefusesEmptySlotsAndMissingTowersSilently) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 24.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 28.0f, 20.0f, 0);
    int z = 0, x = 1, c = 2;
    manager->players[0].crystals = 25.0f;
    manager->order(a, kMorph, &z);  // Muffin costs 25
    EXPECT_EQ(kIdle, a->state);
    EXPECT_TRUE(played(kSoundCrystal));

    arm(kSoundCrystal);
    manager->players[0].crystals = 1000.0f;
    manager->order(a, kMorph, &x);       // empty slot
    manager->order(drop, kMorph, &z);    // final type
    manager->order(muffin, kMorph, &c);  // the Fly needs a tower
    EXPECT_EQ(kIdle, a->state);
    EXPECT_EQ(kIdle, drop->state);
    EXPECT_EQ(kIdle, muffin->state);
    EXPECT_FLOAT_EQ(1000.0f, manager->players[0].crystals);
    EXPECT_FALSE(played(kSoundCrystal));

    manager->players[0].crystals = 26.0f;
    manager->order(a, kMorph, &z);
    EXPECT_EQ(kMorph, a->state);
    EXPECT_EQ(kMuffin, a->morphTarget);
    EXPECT_FLOAT_EQ(1.0f, manager->players[0].crystals);
    EXPECT_TRUE(played(kSoundSplat));
}

TEST_F(Economy, TowerCosts400TakesSeventySecondsAndUnlocksTheTowerTypes) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* muffin = spawn(kMuffin, 30.0f, 30.0f, 1);
    int slot = 2;  // Blob: Slime Tower; Muffin: Fly
    manager->players[1].crystals = 400.0f;
    manager->order(blob, kMorph, &slot);
    EXPECT_EQ(kIdle, blob->state);
    manager->players[1].crystals = 500.0f;
    manager->order(blob, kMorph, &slot);
    EXPECT_FLOAT_EQ(100.0f, manager->players[1].crystals);
    EXPECT_FALSE(run(3, 17500));
    EXPECT_EQ(kBlob, blob->type);
    EXPECT_TRUE(run(1, 17500));
    EXPECT_EQ(kSlimeTower, blob->type);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_EQ(1, manager->players[1].towerCount);
    EXPECT_FLOAT_EQ(400.0f, blob->life);  // 50 of 50 becomes 400 of 400

    manager->players[1].crystals = 75.5f;
    manager->order(muffin, kMorph, &slot);
    EXPECT_EQ(kFly, muffin->morphTarget);
}

TEST_F(Economy, AMorphKeepsTheLifeFractionAndRisesIntoTheAir) {
    // Muffin -> Drop, 15 s in four 3750 ms frames: before the last, 28.125 of 60 regenerates by 1.875 to
    // 30, which becomes 50 of 100.
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 2);
    int z = 0, c = 2;
    manager->order(muffin, kMorph, &z);
    run(3, 3750);
    muffin->life = 28.125f;
    run(1, 3750);
    EXPECT_EQ(kDrop, muffin->type);
    EXPECT_FLOAT_EQ(50.0f, muffin->life);

    // Muffin -> Fly (20 s) rises 3.0 over the morph; Fly -> Bomber stays at its height.
    Unit* flyer = spawn(kMuffin, 30.0f, 30.0f, 3);
    manager->players[3].towerCount = 1;
    manager->order(flyer, kMorph, &c);
    run(2, 5000);
    EXPECT_FLOAT_EQ(2.1f, flyer->position[2]);
    run(2, 5000);
    EXPECT_EQ(kFly, flyer->type);
    EXPECT_FLOAT_EQ(3.6f, flyer->position[2]);
    manager->players[3].crystals = 500.0f;
    manager->order(flyer, kMorph, &z);
    run(5, 5000);
    EXPECT_EQ(kBomber, flyer->type);
    EXPECT_FLOAT_EQ(3.6f, flyer->position[2]);
}

TEST_F(Economy, BoostedMorphRunsNineTimesAsFastForTheHumanOnly) {
    Unit* human = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* computer = spawn(kMuffin, 40.0f, 40.0f, 1);
    int z = 0;
    manager->boostMode = true;
    manager->order(human, kMorph, &z);
    manager->order(computer, kMorph, &z);
    run(1, 1250);  // 1250 / 15000 = 1/12
    EXPECT_FLOAT_EQ(0.75f, human->progress);
    EXPECT_NEAR(1.0f / 12.0f, computer->progress, 1e-6f);
    run(1, 1250);
    EXPECT_EQ(kDrop, human->type);
    EXPECT_EQ(kMuffin, computer->type);
}

}  // namespace
