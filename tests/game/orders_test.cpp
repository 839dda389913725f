#include <gtest/gtest.h>

#include "app/sound.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

class Orders : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
};

TEST_F(Orders, MoveNearTheEdgeIsClampedOutsideTheMapIsRefused) {
    Unit* u = spawn(kBlob, 10.0f, 10.0f, 0);
    float nearEdge[3] = {2.0f, 61.0f, 0.0f};
    EXPECT_TRUE(manager->order(u, kMove, nearEdge));
    EXPECT_EQ(kMove, u->state);
    EXPECT_FLOAT_EQ(4.0f, u->destination[0]);
    EXPECT_FLOAT_EQ(60.0f, u->destination[1]);
    EXPECT_FLOAT_EQ(0.2f, u->destination[2]);
    EXPECT_FLOAT_EQ(1000.0f, u->bestDistance);
    EXPECT_EQ(2, u->retries);

    float onEdge[3] = {0.0f, 30.0f, 0.0f};
    float farEdge[3] = {30.0f, 64.0f, 0.0f};
    float tooHigh[3] = {30.0f, 30.0f, 16.0f};
    EXPECT_FALSE(manager->order(u, kMove, onEdge));
    EXPECT_FALSE(manager->order(u, kMove, farEdge));
    EXPECT_FALSE(manager->order(u, kMove, tooHigh));
    // A refused order leaves the accepted one in place.
    EXPECT_FLOAT_EQ(4.0f, u->destination[0]);
}

TEST_F(Orders, AttackMoveHasAStrictMarginAndNoClamping) {
    Unit* u = spawn(kDrop, 10.0f, 10.0f, 0);
    float atFive[3] = {5.0f, 30.0f, 0.0f};
    EXPECT_FALSE(manager->order(u, kAttackMove, atFive));
    EXPECT_EQ(kIdle, u->state);
    float inside[3] = {5.5f, 58.5f, 0.0f};
    EXPECT_TRUE(manager->order(u, kAttackMove, inside));
    EXPECT_EQ(kAttackMove, u->state);
    EXPECT_FLOAT_EQ(5.5f, u->destination[0]);
    EXPECT_FLOAT_EQ(58.5f, u->destination[1]);
    float atFiftyNine[3] = {30.0f, 59.0f, 0.0f};
    EXPECT_FALSE(manager->order(u, kAttackMove, atFiftyNine));
}

TEST_F(Orders, TowerRefusesEveryPathOrderBlobRefusesFighting) {
    Unit* tower = spawn(kSlimeTower, 10.0f, 10.0f, 1);
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* enemy = spawn(kBlob, 30.0f, 30.0f, 1);
    float p[3] = {30.0f, 30.0f, 0.0f};
    EXPECT_FALSE(manager->order(tower, kMove, p));
    EXPECT_FALSE(manager->order(tower, kAttackMove, p));
    manager->order(tower, kAttack, blob);
    manager->order(tower, kChase, blob);
    EXPECT_EQ(kIdle, tower->state);
    EXPECT_EQ(nullptr, tower->target);

    EXPECT_FALSE(manager->order(blob, kAttackMove, p));
    manager->order(blob, kAttack, enemy);
    EXPECT_EQ(kIdle, blob->state);
    manager->order(blob, kChase, enemy);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_TRUE(manager->order(blob, kMove, p));
}

TEST_F(Orders, AttackAndChaseSetTheTargetAndResetThePath) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 30.0f, 30.0f, 1);
    drop->bestDistance = 3.0f;
    drop->retries = 0;
    EXPECT_FALSE(manager->order(drop, kAttack, enemy));  // accepted, but only paths report true
    EXPECT_EQ(kAttack, drop->state);
    EXPECT_EQ(enemy, drop->target);
    EXPECT_FLOAT_EQ(1000.0f, drop->bestDistance);
    EXPECT_EQ(2, drop->retries);
    manager->order(drop, kChase, enemy);
    EXPECT_EQ(kChase, drop->state);
}

TEST_F(Orders, HumanAttackOnAHiddenUnitBecomesAttackMoveComputerAttacksDirectly) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* hiddenEnemy = spawn(kBlob, 30.0f, 25.0f, 1);
    hiddenEnemy->hidden = true;
    EXPECT_TRUE(manager->order(drop, kAttack, hiddenEnemy));
    EXPECT_EQ(kAttackMove, drop->state);
    EXPECT_FLOAT_EQ(30.0f, drop->destination[0]);
    EXPECT_FLOAT_EQ(25.0f, drop->destination[1]);
    EXPECT_FLOAT_EQ(0.2f, drop->destination[2]);

    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 2);
    Unit* hiddenHuman = spawn(kBlob, 35.0f, 35.0f, 0);
    hiddenHuman->hidden = true;
    manager->order(enemyDrop, kAttack, hiddenHuman);
    EXPECT_EQ(kAttack, enemyDrop->state);
    EXPECT_EQ(hiddenHuman, enemyDrop->target);
}

TEST_F(Orders, BusyUnitsIgnoreEverythingButStop) {
    Unit* blob = spawn(kBlob, 10.0f, 10.0f, 0);
    manager->order(blob, kSplit, 0);
    ASSERT_EQ(kSplit, blob->state);
    float p[3] = {30.0f, 30.0f, 0.0f};
    int slot = 0;
    EXPECT_FALSE(manager->order(blob, kMove, p));
    manager->order(blob, kMorph, &slot);
    manager->order(blob, kSplit, 0);
    EXPECT_EQ(kSplit, blob->state);
    EXPECT_FLOAT_EQ(50.9f, manager->players[0].crystals);  // charged once only
    manager->order(blob, kIdle, 0);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_FLOAT_EQ(100.9f, manager->players[0].crystals);
}

TEST_F(Orders, OrderSelectionOnlyCommandsTheHumansUnits) {
    Unit* own = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 12.0f, 10.0f, 1);
    manager->selection.push_back(enemy);
    manager->selection.push_back(own);
    float p[3] = {20.0f, 20.0f, 0.0f};
    EXPECT_TRUE(manager->orderSelection(kMove, p));
    EXPECT_EQ(kMove, own->state);
    EXPECT_EQ(kIdle, enemy->state);
    manager->selection.clear();
    manager->selection.push_back(enemy);
    EXPECT_FALSE(manager->orderSelection(kMove, p));
}

TEST_F(Orders, RightClickAttacksEnemiesMinesCrystalsOrMoves) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* blob = spawn(kBlob, 11.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* friendUnit = spawn(kBlob, 25.0f, 25.0f, 0);
    manager->crystals.push_back(new Crystal(30.0f, 30.0f, 0.2f));
    manager->selection.push_back(drop);
    manager->selection.push_back(blob);

    float onEnemy[3] = {20.0f, 20.0f, 0.6f};
    manager->commandAt(onEnemy);
    EXPECT_EQ(kAttack, drop->state);
    EXPECT_EQ(enemy, drop->target);
    EXPECT_EQ(kIdle, blob->state);  // a Blob cannot attack

    float onFriend[3] = {25.0f, 25.0f, 0.6f};
    manager->commandAt(onFriend);
    EXPECT_EQ(kMove, drop->state);
    EXPECT_EQ(kMove, blob->state);
    EXPECT_FLOAT_EQ(25.0f, blob->destination[0]);
    EXPECT_EQ(nullptr, friendUnit->target);

    float onCrystal[3] = {30.1f, 30.0f, 0.2f};
    manager->commandAt(onCrystal);
    EXPECT_EQ(kMine, blob->state);
    EXPECT_EQ(manager->crystals[0], blob->crystal);
    EXPECT_EQ(kMove, drop->state);  // only Blobs mine

    // Own unit standing on a crystal: the crystal wins over a move.
    Unit* onTop = spawn(kBlob, 30.0f, 30.0f, 0);
    onTop->position[2] = 0.2f;
    manager->selection.clear();
    manager->selection.push_back(blob);
    manager->order(blob, kIdle, 0);
    manager->commandAt(onCrystal);
    EXPECT_EQ(kMine, blob->state);
}

TEST_F(Orders, StopRefundsAMorphAtTheTargetsCost) {
    Unit* muffin = spawn(kMuffin, 10.0f, 10.0f, 3);
    manager->players[3].crystals = 60.0f;
    int slot = 0;  // Drop, 50
    manager->order(muffin, kMorph, &slot);
    ASSERT_EQ(kMorph, muffin->state);
    EXPECT_FLOAT_EQ(10.0f, manager->players[3].crystals);
    manager->update(3000);
    manager->order(muffin, kIdle, 0);
    EXPECT_EQ(kIdle, muffin->state);
    EXPECT_EQ(kMuffin, muffin->type);
    EXPECT_FLOAT_EQ(60.0f, manager->players[3].crystals);
    // A second Stop gives nothing more.
    manager->order(muffin, kIdle, 0);
    EXPECT_FLOAT_EQ(60.0f, manager->players[3].crystals);
}

}  // namespace

namespace {

typedef SimulationTest OrdersWithoutArgument;

TEST_F(OrdersWithoutArgument, AreRefusedInsteadOfCrashing) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* blob = spawn(kBlob, 14.0f, 10.0f, 0);
    EXPECT_FALSE(manager->order(drop, kMove, 0));
    EXPECT_FALSE(manager->order(drop, kAttackMove, 0));
    manager->order(drop, kAttack, 0);
    manager->order(drop, kChase, 0);
    manager->order(drop, kMorph, 0);
    manager->order(blob, kMine, 0);
    EXPECT_EQ(kIdle, drop->state);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_FLOAT_EQ(100.9f, manager->players[0].crystals);
}

}  // namespace
