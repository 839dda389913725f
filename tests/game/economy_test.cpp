#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

typedef SimulationTest CrystalField;

// Cluster centre of crystal triple k, from its first crystal (+0.35, +0.25).
void clusterCentre(const UnitManager* m, size_t k, float& x, float& y) {
    x = m->crystals[3 * k]->position[0] - 0.35f;
    y = m->crystals[3 * k]->position[1] - 0.25f;
}

// A centre is either a random cell's middle inside the margin, or a whole cell pulled in from an edge.
bool validCentreCoordinate(float c) {
    float whole = floorf(c + 0.01f);
    bool half = fabsf(c - (floorf(c) + 0.5f)) < 1e-3f;
    if (half) {
        return c >= 6.0f && c <= 58.0f;
    }
    return fabsf(c - whole) < 1e-3f && ((whole >= 6.0f && whole <= 8.0f) || (whole >= 56.0f && whole <= 58.0f));
}

TEST_F(CrystalField, SmallMapHasTwelveClustersOfThreeInsideTheMargin) {
    ASSERT_EQ(36u, manager->crystals.size());
    for (size_t k = 0; k < 12; ++k) {
        float x, y;
        clusterCentre(manager, k, x, y);
        EXPECT_TRUE(validCentreCoordinate(x)) << "cluster " << k << " x " << x;
        EXPECT_TRUE(validCentreCoordinate(y)) << "cluster " << k << " y " << y;
        EXPECT_NEAR(x - 0.25f, manager->crystals[3 * k + 1]->position[0], 1e-4f);
        EXPECT_NEAR(y + 0.25f, manager->crystals[3 * k + 1]->position[1], 1e-4f);
        EXPECT_NEAR(x + 0.15f, manager->crystals[3 * k + 2]->position[0], 1e-4f);
        EXPECT_NEAR(y - 0.25f, manager->crystals[3 * k + 2]->position[1], 1e-4f);
        for (int c = 0; c < 3; ++c) {
            const Crystal* crystal = manager->crystals[3 * k + c];
            EXPECT_FLOAT_EQ(0.2f, crystal->position[2]);  // level ground + 0.2
            EXPECT_FLOAT_EQ(2500.0f, crystal->amount);
            EXPECT_FLOAT_EQ(0.0f, crystal->glow);
        }
    }
}

TEST_F(CrystalField, DrawsXThenYFromRandAndRepeatsForTheSameSeed) {
    // A seed whose first two draws land inside the margin, so the first centre is (rx + 0.5, ry + 0.5).
    unsigned seed = 1;
    int rx = 0;
    int ry = 0;
    for (; seed < 100; ++seed) {
        srand(seed);
        rx = rand() % 64;
        ry = rand() % 64;
        if (rx >= 6 && rx <= 57 && ry >= 6 && ry <= 57 && rx != ry) {
            break;
        }
    }
    srand(seed);
    UnitManager first(terrain, 64);
    EXPECT_FLOAT_EQ((float)rx + 0.5f + 0.35f, first.crystals[0]->position[0]);
    EXPECT_FLOAT_EQ((float)ry + 0.5f + 0.25f, first.crystals[0]->position[1]);

    srand(seed);
    UnitManager again(terrain, 64);
    ASSERT_EQ(first.crystals.size(), again.crystals.size());
    for (size_t i = 0; i < again.crystals.size(); ++i) {
        EXPECT_FLOAT_EQ(first.crystals[i]->position[0], again.crystals[i]->position[0]);
        EXPECT_FLOAT_EQ(first.crystals[i]->position[1], again.crystals[i]->position[1]);
    }
}

TEST_F(CrystalField, LargeMapHasFortyEightClusters) {
    UnitManager large(terrain, 128);
    EXPECT_EQ(144u, large.crystals.size());
}

class Economy : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
    Crystal* addCrystal(float x, float y) {
        Crystal* c = new Crystal(x, y, 0.2f);
        manager->crystals.push_back(c);
        return c;
    }
    // Lets the next splat or crystal sound through its throttle.
    void armSound(int index) { gSoundLastPlayed[index] = SDL_GetTicks() - 30000u; }
};

TEST_F(Economy, OneBlobMinesTwoCrystalsPerSecondTwoBlobsFour) {
    Crystal* c = addCrystal(22.0f, 20.0f);
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 1);
    manager->order(a, kMine, c);
    EXPECT_EQ(kMine, a->state);
    EXPECT_EQ(c, a->crystal);
    run(1, 1000);
    EXPECT_FLOAT_EQ(2498.0f, c->amount);
    EXPECT_FLOAT_EQ(102.9f, manager->players[1].crystals);
    EXPECT_EQ(4, a->miningEffect);
    EXPECT_FLOAT_EQ(2.0f, c->glow);  // 1000 / 400 = 2.5, capped

    Unit* b = spawn(kBlob, 24.0f, 20.0f, 1);
    manager->order(b, kMine, c);
    run(1, 1000);
    EXPECT_FLOAT_EQ(2494.0f, c->amount);
    EXPECT_FLOAT_EQ(106.9f, manager->players[1].crystals);
}

TEST_F(Economy, ACrystalLasts1250SecondsForOneBlob625ForTwo) {
    Crystal* c = addCrystal(22.0f, 20.0f);
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 2);
    manager->order(a, kMine, c);
    run(1249, 1000);
    EXPECT_FLOAT_EQ(2.0f, c->amount);
    EXPECT_EQ(kMine, a->state);
    run(1, 1000);
    EXPECT_LE(c->amount, 0.0f);
    EXPECT_EQ(kIdle, a->state);  // no other crystal left

    Crystal* d = addCrystal(22.0f, 22.0f);  // both Blobs already within reach
    Unit* b = spawn(kBlob, 23.0f, 22.0f, 2);
    manager->order(a, kMine, d);
    manager->order(b, kMine, d);
    run(624, 1000);
    EXPECT_GT(d->amount, 0.0f);
    run(1, 1000);
    EXPECT_LE(d->amount, 0.0f);
}

TEST_F(Economy, BoostModeMultipliesOnlyTheHumansIncome) {
    Crystal* c = addCrystal(22.0f, 20.0f);
    Crystal* e = addCrystal(42.0f, 40.0f);
    Unit* human = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* computer = spawn(kBlob, 40.0f, 40.0f, 1);
    manager->order(human, kMine, c);
    manager->order(computer, kMine, e);
    manager->boostMode = true;
    run(1, 1000);
    EXPECT_NEAR(120.9f, manager->players[0].crystals, 1e-3f);
    EXPECT_FLOAT_EQ(2498.0f, c->amount);
    EXPECT_FLOAT_EQ(102.9f, manager->players[1].crystals);
}

TEST_F(Economy, BlobWalksIntoReachBeforeMining) {
    // Reach 3.25; speed 1.0 at 500 ms frames: 5.0, 4.5, 4.0, 3.5 walk, then 3.0 mines.
    Crystal* c = addCrystal(25.0f, 20.0f);
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 3);
    manager->order(a, kMine, c);
    run(4, 500);
    EXPECT_NEAR(22.0f, a->position[0], 1e-4f);
    EXPECT_FLOAT_EQ(100.9f, manager->players[3].crystals);
    EXPECT_FLOAT_EQ(25.0f, a->destination[0]);
    run(1, 500);
    EXPECT_EQ(4, a->miningEffect);
    EXPECT_NEAR(101.9f, manager->players[3].crystals, 1e-4f);
    EXPECT_NEAR(22.0f, a->position[0], 1e-4f);
}

TEST_F(Economy, ExhaustedCrystalSendsTheBlobToTheNearestLiveOne) {
    Crystal* c1 = addCrystal(22.0f, 20.0f);
    Crystal* far = addCrystal(40.0f, 40.0f);
    Crystal* near = addCrystal(24.0f, 20.0f);
    c1->amount = 1.0f;
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 1);
    manager->order(a, kMine, c1);
    run(1, 1000);
    EXPECT_EQ(kMine, a->state);
    EXPECT_EQ(near, a->crystal);
    EXPECT_FLOAT_EQ(2.0f, near->glow);  // the glow goes to the new crystal
    EXPECT_FLOAT_EQ(0.0f, c1->glow);
    EXPECT_FLOAT_EQ(-1.0f, c1->amount);
    (void)far;
}

TEST_F(Economy, OnlyIdleBlobsTakeMineOrdersAndAnyCrystalIsAccepted) {
    Crystal* c = addCrystal(22.0f, 20.0f);
    c->amount = 0.0f;
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 1);
    manager->order(muffin, kMine, c);
    EXPECT_EQ(kIdle, muffin->state);
    Unit* blob = spawn(kBlob, 30.0f, 20.0f, 1);
    manager->order(blob, kMine, c);
    EXPECT_EQ(kMine, blob->state);
}

TEST_F(Economy, SplitNeedsFiftyAndOnlyTheHumanHearsTheRefusal) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->players[0].crystals = 49.99f;
    armSound(kSoundCrystal);
    armSound(kSoundSplat);
    unsigned int armedSplat = gSoundLastPlayed[kSoundSplat];
    unsigned int before = SDL_GetTicks();
    manager->order(a, kSplit, 0);
    EXPECT_EQ(kIdle, a->state);
    EXPECT_GE(gSoundLastPlayed[kSoundCrystal], before);
    EXPECT_EQ(armedSplat, gSoundLastPlayed[kSoundSplat]);

    manager->players[0].crystals = 50.0f;
    manager->order(a, kSplit, 0);
    EXPECT_EQ(kSplit, a->state);
    EXPECT_FLOAT_EQ(0.0f, manager->players[0].crystals);
    EXPECT_GE(gSoundLastPlayed[kSoundSplat], before);

    Unit* c = spawn(kBlob, 30.0f, 30.0f, 1);
    manager->players[1].crystals = 10.0f;
    armSound(kSoundCrystal);
    unsigned int armedCrystal = gSoundLastPlayed[kSoundCrystal];
    manager->order(c, kSplit, 0);
    EXPECT_EQ(kIdle, c->state);
    EXPECT_EQ(armedCrystal, gSoundLastPlayed[kSoundCrystal]);

    Unit* muffin = spawn(kMuffin, 40.0f, 30.0f, 1);
    manager->players[1].crystals = 100.0f;
    manager->order(muffin, kSplit, 0);
    EXPECT_EQ(kIdle, muffin->state);
    EXPECT_FLOAT_EQ(100.0f, manager->players[1].crystals);
}

TEST_F(Economy, SplitTakesTenSecondsAndTheChildJoinsTheSelection) {
    Unit* parent = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->selection.push_back(parent);
    manager->order(parent, kSplit, 0);
    EXPECT_FALSE(run(3, 2500));  // 0.75
    EXPECT_FLOAT_EQ(0.75f, parent->progress);
    EXPECT_EQ(1u, manager->units.size());
    EXPECT_TRUE(run(1, 2500));
    ASSERT_EQ(2u, manager->units.size());
    Unit* child = manager->units[1];
    EXPECT_FLOAT_EQ(19.75f, parent->position[0]);
    EXPECT_FLOAT_EQ(19.75f, parent->position[1]);
    EXPECT_EQ(kMove, parent->state);
    EXPECT_NEAR(0.1f, fabsf(parent->destination[0] - 19.75f), 1e-5f);
    EXPECT_NEAR(0.1f, fabsf(parent->destination[1] - 19.75f), 1e-5f);
    EXPECT_EQ(kBlob, child->type);
    EXPECT_EQ(0, child->player);
    EXPECT_EQ(kIdle, child->state);
    EXPECT_FLOAT_EQ(20.25f, child->position[0]);
    EXPECT_FLOAT_EQ(20.25f, child->position[1]);
    EXPECT_FLOAT_EQ(0.6f, child->position[2]);
    EXPECT_FLOAT_EQ(50.0f, child->life);
    ASSERT_EQ(2u, manager->selection.size());
    EXPECT_EQ(child, manager->selection[1]);
}

TEST_F(Economy, UnselectedSplitLeavesTheSelectionAloneAndBoostTakesOneSecond) {
    Unit* parent = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* other = spawn(kBlob, 30.0f, 30.0f, 0);
    manager->selection.push_back(other);
    manager->boostMode = true;
    manager->order(parent, kSplit, 0);
    run(3, 250);
    EXPECT_EQ(2u, manager->units.size());
    run(1, 250);
    EXPECT_EQ(3u, manager->units.size());
    EXPECT_EQ(1u, manager->selection.size());
}

TEST_F(Economy, StoppingASplitAfterNineSecondsRefundsAndMakesNoChild) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->order(a, kSplit, 0);
    run(9, 1000);
    EXPECT_NEAR(0.9f, a->progress, 1e-4f);
    manager->order(a, kIdle, 0);
    EXPECT_FLOAT_EQ(100.9f, manager->players[0].crystals);
    EXPECT_EQ(kIdle, a->state);
    run(5, 1000);
    EXPECT_EQ(1u, manager->units.size());
}

TEST_F(Economy, MorphNeedsMoreThanTheCost) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    int muffinSlot = 0;
    manager->players[0].crystals = 25.0f;
    armSound(kSoundCrystal);
    unsigned int before = SDL_GetTicks();
    manager->order(a, kMorph, &muffinSlot);
    EXPECT_EQ(kIdle, a->state);
    EXPECT_FLOAT_EQ(25.0f, manager->players[0].crystals);
    EXPECT_GE(gSoundLastPlayed[kSoundCrystal], before);

    manager->players[0].crystals = 26.0f;
    manager->order(a, kMorph, &muffinSlot);
    EXPECT_EQ(kMorph, a->state);
    EXPECT_EQ(kMuffin, a->morphTarget);
    EXPECT_FLOAT_EQ(1.0f, manager->players[0].crystals);
    EXPECT_FLOAT_EQ(0.0f, a->progress);
}

TEST_F(Economy, EmptySlotsFinalTypesAndMissingTowersRefuseSilently) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 24.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 28.0f, 20.0f, 0);
    manager->players[0].crystals = 1000.0f;
    armSound(kSoundCrystal);
    unsigned int armed = gSoundLastPlayed[kSoundCrystal];
    int slotX = 1;
    int slotZ = 0;
    int slotC = 2;
    manager->order(blob, kMorph, &slotX);  // Blob X is empty
    manager->order(drop, kMorph, &slotZ);  // Drop is final
    manager->order(muffin, kMorph, &slotC);  // Fly needs a tower
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_EQ(kIdle, drop->state);
    EXPECT_EQ(kIdle, muffin->state);
    EXPECT_FLOAT_EQ(1000.0f, manager->players[0].crystals);
    EXPECT_EQ(armed, gSoundLastPlayed[kSoundCrystal]);
}

TEST_F(Economy, TowerCosts400TakesSeventySecondsAndUnlocksTheTowerTypes) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* muffin = spawn(kMuffin, 30.0f, 30.0f, 1);
    int towerSlot = 2;
    int flySlot = 2;
    manager->players[1].crystals = 400.0f;
    manager->order(blob, kMorph, &towerSlot);
    EXPECT_EQ(kIdle, blob->state);
    manager->players[1].crystals = 500.0f;
    manager->order(blob, kMorph, &towerSlot);
    EXPECT_EQ(kMorph, blob->state);
    EXPECT_FLOAT_EQ(100.0f, manager->players[1].crystals);
    EXPECT_FALSE(run(3, 17500));  // 52.5 s
    EXPECT_EQ(kBlob, blob->type);
    EXPECT_EQ(0, manager->players[1].towerCount);
    EXPECT_TRUE(run(1, 17500));
    EXPECT_EQ(kSlimeTower, blob->type);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_EQ(1, manager->players[1].towerCount);
    EXPECT_FLOAT_EQ(400.0f, blob->life);  // 50 of 50 becomes 400 of 400

    manager->players[1].crystals = 75.5f;
    manager->order(muffin, kMorph, &flySlot);
    EXPECT_EQ(kMorph, muffin->state);
    EXPECT_EQ(kFly, muffin->morphTarget);
}

TEST_F(Economy, LifeFractionIsKeptThroughAMorph) {
    // Muffin -> Drop, 15 s in four 3750 ms frames. Before the last frame 28.125 of 60 regenerates by
    // 1.875 to 30, which becomes 50 of 100.
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 2);
    int dropSlot = 0;
    manager->order(muffin, kMorph, &dropSlot);
    run(3, 3750);
    EXPECT_FLOAT_EQ(0.75f, muffin->progress);
    muffin->life = 28.125f;
    run(1, 3750);
    EXPECT_EQ(kDrop, muffin->type);
    EXPECT_FLOAT_EQ(50.0f, muffin->life);
}

TEST_F(Economy, AGroundToAirMorphRisesThreeUnits) {
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 3);
    manager->players[3].towerCount = 1;
    int flySlot = 2;
    manager->order(muffin, kMorph, &flySlot);
    run(2, 5000);  // 20 s morph, half done
    EXPECT_FLOAT_EQ(2.1f, muffin->position[2]);
    run(2, 5000);
    EXPECT_EQ(kFly, muffin->type);
    EXPECT_FLOAT_EQ(3.6f, muffin->position[2]);

    // Air to air keeps its height.
    manager->players[3].crystals = 500.0f;
    int bomberSlot = 0;
    manager->order(muffin, kMorph, &bomberSlot);
    run(5, 5000);
    EXPECT_EQ(kBomber, muffin->type);
    EXPECT_FLOAT_EQ(3.6f, muffin->position[2]);
}

TEST_F(Economy, BoostedMorphRunsNineTimesAsFastForTheHumanOnly) {
    Unit* human = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* computer = spawn(kMuffin, 40.0f, 40.0f, 1);
    int dropSlot = 0;
    manager->boostMode = true;
    manager->order(human, kMorph, &dropSlot);
    manager->order(computer, kMorph, &dropSlot);
    run(1, 1250);  // f = 1250 / 15000 = 1/12
    EXPECT_FLOAT_EQ(0.75f, human->progress);
    EXPECT_NEAR(1.0f / 12.0f, computer->progress, 1e-6f);
    EXPECT_TRUE(run(1, 1250));
    EXPECT_EQ(kDrop, human->type);
    EXPECT_EQ(kMuffin, computer->type);
}

}  // namespace

namespace {

typedef SimulationTest SplitAtTheBorder;

TEST_F(SplitAtTheBorder, BothBlobsStayInsideTheWalkableBorder) {
    removeCrystals();
    Unit* low = spawn(kBlob, 4.0f, 4.0f, 1);
    Unit* high = spawn(kBlob, 60.0f, 60.0f, 2);
    manager->order(low, kSplit, 0);
    manager->order(high, kSplit, 0);
    run(4, 2500);
    ASSERT_EQ(4u, manager->units.size());
    EXPECT_FLOAT_EQ(4.0f, low->position[0]);            // not 3.75
    EXPECT_FLOAT_EQ(4.5f, manager->units[2]->position[0]);
    EXPECT_FLOAT_EQ(59.75f, high->position[1]);
    EXPECT_FLOAT_EQ(60.0f, manager->units[3]->position[1]);  // not 60.25
}

}  // namespace
