#include <cmath>
#include <vector>

#include "simulation_fixture.h"

typedef SimulationTest CrystalField;

TEST_F(CrystalField, ClustersOfThreeSixCellsInsideTheEdge) {
    UnitManager large(terrain, 128);
    for (const UnitManager* m : {manager, &large}) {
        ASSERT_EQ(m == manager ? 36u : 144u, m->crystals.size());
        for (size_t k = 0; k < m->crystals.size(); k += 3) {
            // The centre from the first crystal (+0.35, +0.25); the others at (-0.25, +0.25), (+0.15, -0.25).
            Crystal* const* c = &m->crystals[k];
            float x = c[0]->position[0] - 0.35f, y = c[0]->position[1] - 0.25f;
            EXPECT_TRUE(x >= 6.0f && x <= m->mapSize - 6.0f && y >= 6.0f && y <= m->mapSize - 6.0f) << x << ", " << y;
            EXPECT_EQ(xy(At(x - 0.25f, y + 0.25f)), xy(c[1]->position));
            EXPECT_EQ(xy(At(x + 0.15f, y - 0.25f)), xy(c[2]->position));
            EXPECT_TRUE(c[1]->position[2] == 0.2f && c[2]->amount == 2500.0f);
        }
    }
}

typedef EmptyMapTest Economy;

TEST_F(Economy, BlobsWalkIntoReachMineTwoPerSecondEachAndMoveOnWhenTheCrystalRunsOut) {
    // Reach 3.25; 0.5 per 500 ms frame: 5.0, 4.5, 4.0, 3.5 walk, 3.0 mines.
    Crystal* c = addCrystal(25.0f, 20.0f);
    Crystal* next = addCrystal(24.0f, 21.0f);
    Crystal* far = addCrystal(40.0f, 40.0f);
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 1);
    manager->order(a, kMine, c);
    run(4, 500);
    EXPECT_TRUE(xy(a->position) == "22,20" && manager->players[1].crystals == 100.9f);
    run(1, 500);
    EXPECT_TRUE(a->miningEffect == 4 && c->glow == 1.25f);  // 500 / 400
    // A second Blob on the same crystal: the player gains four per second; the glow stops at 2.
    Unit* b = spawn(kBlob, 26.0f, 20.0f, 1);
    manager->order(b, kMine, c);
    run(1, 1000);
    EXPECT_TRUE(c->amount == 2495.0f && c->glow == 2.0f && fabsf(manager->players[1].crystals - 105.9f) < 1e-3f);
    // A crystal is left only when it is run dry: the first miner leaves half a crystal and stays (though
    // another crystal is nearer to it), the second takes it below 0 and goes on to the nearest live one.
    c->amount = 1.5f;
    run(1, 500);
    EXPECT_TRUE(c->amount == -0.5f && a->crystal == c && b->crystal == next);
    far->amount = next->amount = 0.0f;
    run(1, 500);
    EXPECT_EQ(kIdle, a->state);
}

// A split costs 50, and the human hears an order that cannot be paid.
TEST_F(Economy, SplitCostsFiftyTakesTenSecondsAndTheChildJoinsASelectedParent) {
    Unit* parent = spawn(kBlob, 20.0f, 20.0f, 0);
    manager->players[0].crystals = 49.99f;
    manager->order(parent, kSplit, 0);
    EXPECT_TRUE(parent->state == kIdle && soundPlayed(kSoundCrystal) && !soundPlayed(kSoundSplat));
    manager->players[0].crystals = 50.0f;
    manager->selection.push_back(parent);
    manager->order(parent, kSplit, 0);
    EXPECT_TRUE(soundPlayed(kSoundSplat) && manager->players[0].crystals == 0.0f);
    EXPECT_TRUE(!run(3, 2500) && parent->progress == 0.75f);
    ASSERT_TRUE(run(1, 2500) && manager->units.size() == 2u);
    // The parent steps aside to (19.75, 19.75) and heads 0.1 further in x and y; the child stands at +0.5.
    EXPECT_TRUE(xy(parent->position) == "19.75,19.75" && parent->state == kMove);
    EXPECT_NEAR(0.1f, fabsf(parent->destination[0] - 19.75f), 1e-5f);
    EXPECT_NEAR(0.1f, fabsf(parent->destination[1] - 19.75f), 1e-5f);
    Unit* child = manager->units[1];
    EXPECT_TRUE(child->player == 0 && child->state == kIdle && xy(child->position) == "20.25,20.25");
    EXPECT_EQ((std::vector<Unit*>{parent, child}), manager->selection);
}

// Every morph of the tree: refused without a tower where the type needs one, refused at exactly its cost,
// paid and completed in its time otherwise; a completed Slime Tower counts for its owner.
TEST_F(Economy, EachMorphCostsItsPriceTakesItsTimeAndTheAirAndHeavyTypesNeedATower) {
    struct Row { int from, slot, to, cost, seconds; bool tower; };
    const Row rows[] = {
        {kBlob, 0, kMuffin, 25, 10, false},       {kBlob, 1, -1, 0, 0, false},
        {kBlob, 2, kSlimeTower, 400, 70, false},  {kMuffin, 0, kDrop, 50, 15, false},
        {kMuffin, 1, kRotundus, 50, 15, false},   {kMuffin, 2, kFly, 75, 20, true},
        {kRotundus, 0, kMonsterpillow, 150, 30, true}, {kFly, 0, kBomber, 75, 25, true},
        {kFly, 1, kSlimy, 50, 10, true},          {kDrop, 0, -1, 0, 0, false},
    };
    for (Row r : rows) {
        SCOPED_TRACE(testing::Message() << r.from << " slot " << r.slot);
        removeUnits();
        Unit* u = spawn(r.from, 30.0f, 30.0f, 2);
        PlayerState& owner = manager->players[2];
        owner.towerCount = 0;
        owner.crystals = 1000.0f;
        manager->order(u, kMorph, &r.slot);
        EXPECT_EQ(r.to < 0 || r.tower ? kIdle : kMorph, u->state);
        if (r.to < 0) {
            continue;
        }
        owner.towerCount = 1;
        manager->order(u, kIdle, 0);
        owner.crystals = (float)r.cost;
        manager->order(u, kMorph, &r.slot);
        EXPECT_EQ(kIdle, u->state);
        owner.crystals = (float)r.cost + 0.5f;
        manager->order(u, kMorph, &r.slot);
        EXPECT_TRUE(u->state == kMorph && u->morphTarget == r.to && owner.crystals == 0.5f);
        EXPECT_FALSE(run(1, r.seconds * 500));
        EXPECT_TRUE(run(1, r.seconds * 500) && u->type == r.to && u->state == kIdle);
        EXPECT_EQ(r.to == kSlimeTower ? 2 : 1, owner.towerCount);
    }
}

// Muffin -> Drop, 15 s in four 3750 ms frames: before the last, 28.125 of 60 regenerates by 1.875 to 30,
// which becomes 50 of 100. Muffin -> Fly (20 s) rises 3.0 over the morph: 1.6875 after 11.25 s. Boost makes
// the human's morphs nine times as fast, and only the human's.
TEST_F(Economy, AMorphKeepsTheLifeFractionRisesIntoTheAirAndBoostSpeedsUpTheHuman) {
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 2);
    Unit* flyer = spawn(kMuffin, 30.0f, 30.0f, 3);
    int z = 0, c = 2;
    manager->players[3].towerCount = 1;
    manager->boostMode = true;
    manager->order(muffin, kMorph, &z);
    manager->order(flyer, kMorph, &c);
    run(3, 3750);
    muffin->life = 28.125f;
    EXPECT_TRUE(muffin->type == kMuffin && flyer->position[2] == 2.2875f);
    run(1, 3750);
    EXPECT_TRUE(muffin->type == kDrop && muffin->life == 50.0f);
    Unit* human = spawn(kMuffin, 44.0f, 40.0f, 0);
    manager->order(human, kMorph, &z);
    run(1, 100);
    EXPECT_NEAR(9.0f * 100.0f / 15000.0f, human->progress, 1e-6f);
}
