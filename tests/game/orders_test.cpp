#include <gtest/gtest.h>

#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

typedef EmptyMapTest Orders;

TEST_F(Orders, MoveIsClampedNearTheEdgeAttackMoveHasAStrictMarginOutsidePointsAreRefused) {
    Unit* u = spawn(kDrop, 10.0f, 10.0f, 0);
    u->retries = 0;
    EXPECT_TRUE(manager->order(u, kMove, At(2.0f, 61.0f)));
    EXPECT_EQ(kMove, u->state);
    EXPECT_EQ("4,60", xy(u->destination));
    EXPECT_FLOAT_EQ(0.2f, u->destination[2]);
    EXPECT_EQ(1000.0f, u->bestDistance);
    EXPECT_EQ(2, u->retries);
    EXPECT_FALSE(manager->order(u, kMove, At(0.0f, 30.0f)));
    EXPECT_FALSE(manager->order(u, kMove, At(30.0f, 64.0f)));
    EXPECT_FALSE(manager->order(u, kMove, At(30.0f, 30.0f, 16.0f)));
    EXPECT_FALSE(manager->order(u, kAttackMove, At(5.0f, 30.0f)));
    EXPECT_FALSE(manager->order(u, kAttackMove, At(30.0f, 59.0f)));
    EXPECT_EQ(kMove, u->state);  // the refused orders changed nothing
    EXPECT_EQ("4,60", xy(u->destination));
    EXPECT_TRUE(manager->order(u, kAttackMove, At(5.5f, 58.5f)));
    EXPECT_EQ(kAttackMove, u->state);
    EXPECT_EQ("5.5,58.5", xy(u->destination));
}

TEST_F(Orders, TowerTakesNoPathOrderAndBlobNoFightingOrder) {
    Unit* tower = spawn(kSlimeTower, 10.0f, 10.0f, 1);
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 0);
    At p(30.0f, 30.0f);
    EXPECT_FALSE(manager->order(tower, kMove, p) || manager->order(tower, kAttackMove, p));
    manager->order(tower, kAttack, blob);
    manager->order(tower, kChase, blob);
    EXPECT_EQ(kIdle, tower->state);
    EXPECT_FALSE(manager->order(blob, kAttackMove, p));
    manager->order(blob, kAttack, tower);
    manager->order(blob, kChase, tower);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_TRUE(tower->target == nullptr && blob->target == nullptr);
    EXPECT_TRUE(manager->order(blob, kMove, p));
    // An order that needs an argument and lacks it is refused, not followed into a crash.
    Unit* drop = spawn(kDrop, 14.0f, 10.0f, 0);
    EXPECT_FALSE(manager->order(drop, kMove, 0));
    manager->order(drop, kAttack, 0);
    manager->order(drop, kMorph, 0);
    EXPECT_EQ(kIdle, drop->state);
}

TEST_F(Orders, AttackAndChaseTakeTheTargetAHiddenOneBecomesAttackMoveForTheHuman) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 30.0f, 25.0f, 1);
    drop->retries = 0;
    EXPECT_FALSE(manager->order(drop, kAttack, enemy));  // accepted, but only paths report true
    EXPECT_EQ(kAttack, drop->state);
    EXPECT_EQ(enemy, drop->target);
    EXPECT_EQ(2, drop->retries);
    manager->order(drop, kChase, enemy);
    EXPECT_EQ(kChase, drop->state);
    enemy->hidden = true;
    EXPECT_TRUE(manager->order(drop, kAttack, enemy));
    EXPECT_EQ(kAttackMove, drop->state);
    EXPECT_EQ("30,25", xy(drop->destination));
    // A computer player's unit attacks a unit hidden from the human directly.
    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 2);
    drop->hidden = true;
    manager->order(enemyDrop, kAttack, drop);
    EXPECT_EQ(kAttack, enemyDrop->state);
    EXPECT_EQ(drop, enemyDrop->target);
}

TEST_F(Orders, SplittingAndMorphingUnitsObeyOnlyStopWhichRefunds) {
    Unit* blob = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* muffin = spawn(kMuffin, 20.0f, 10.0f, 3);
    int slot = 0;  // Muffin -> Drop, 50
    manager->order(blob, kSplit, 0);
    manager->order(muffin, kMorph, &slot);
    ASSERT_EQ(kSplit, blob->state);
    ASSERT_EQ(kMorph, muffin->state);
    At p(30.0f, 30.0f);
    EXPECT_FALSE(manager->order(blob, kMove, p) || manager->order(muffin, kAttackMove, p));
    manager->order(blob, kMorph, &slot);
    manager->order(blob, kSplit, 0);
    EXPECT_EQ(kSplit, blob->state);
    EXPECT_FLOAT_EQ(50.9f, manager->players[0].crystals);  // charged once
    EXPECT_FLOAT_EQ(50.9f, manager->players[3].crystals);
    manager->update(3000);
    for (int twice = 0; twice < 2; ++twice) {  // a second Stop gives nothing more
        manager->order(blob, kIdle, 0);
        manager->order(muffin, kIdle, 0);
    }
    EXPECT_TRUE(blob->state == kIdle && muffin->state == kIdle);
    EXPECT_EQ(kMuffin, muffin->type);
    EXPECT_FLOAT_EQ(100.9f, manager->players[0].crystals);
    EXPECT_FLOAT_EQ(100.9f, manager->players[3].crystals);
}

TEST_F(Orders, RightClickOnlyCommandsOwnUnitsToAttackEnemiesMineLiveCrystalsOrMove) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* blob = spawn(kBlob, 11.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 20.0f, 20.0f, 1);
    spawn(kBlob, 25.0f, 25.0f, 0);
    Crystal* crystal = new Crystal(30.0f, 30.0f, 0.2f);
    manager->crystals.push_back(crystal);
    manager->selection.push_back(enemy);
    EXPECT_FALSE(manager->orderSelection(kMove, At(25.0f, 25.0f)));
    manager->selection.push_back(drop);
    manager->selection.push_back(blob);
    manager->commandAt(At(20.0f, 20.0f, 0.6f));
    EXPECT_EQ(kAttack, drop->state);
    EXPECT_EQ(enemy, drop->target);
    EXPECT_EQ(kIdle, blob->state);  // a Blob cannot attack
    manager->commandAt(At(25.0f, 25.0f, 0.6f));  // on an own unit
    EXPECT_TRUE(drop->state == kMove && blob->state == kMove && enemy->state == kIdle);
    EXPECT_TRUE(manager->orderSelection(kMove, At(25.0f, 25.0f)));  // some of the selection took it
    // An own Blob standing on the crystal: the crystal still wins over a move.
    spawn(kBlob, 30.0f, 30.0f, 0)->position[2] = 0.2f;
    manager->commandAt(At(30.1f, 30.0f, 0.2f));
    EXPECT_EQ(kMine, blob->state);
    EXPECT_EQ(crystal, blob->crystal);
    EXPECT_EQ(kMove, drop->state);  // only Blobs mine
    crystal->amount = 0.0f;  // an exhausted crystal is just ground
    manager->commandAt(At(30.1f, 30.0f, 0.2f));
    EXPECT_EQ(kMove, blob->state);
}

}  // namespace
