#include <vector>

#include "app/globals.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "simulation_fixture.h"

typedef EmptyMapTest Orders;
typedef std::vector<Unit*> Units;

// Points near the edge: a move is pulled inside [4, 60], an attack-move keeps a strict margin of 5 and is
// not clamped, and anything outside the map (or too high) is refused without changing the unit.
TEST_F(Orders, PathOrdersClampOrRefusePointsNearTheEdge) {
    struct Case { int code; float x, y, z; const char* goal; };
    const Case cases[] = {
        {kMove, 0.5f, 61.0f, 0.0f, "4,60"}, {kMove, 63.5f, 0.5f, 0.0f, "60,4"}, {kAttackMove, 30.0f, 59.0f, 0.0f, 0},
        {kMove, 0.0f, 30.0f, 0.0f, 0}, {kMove, 30.0f, 30.0f, 16.0f, 0}, {kAttackMove, 5.0f, 30.0f, 0.0f, 0},
        {kAttackMove, 5.5f, 58.5f, 0.0f, "5.5,58.5"}, {kMove, 64.0f, 30.0f, 0.0f, 0}, {kMove, 30.0f, 64.0f, 0.0f, 0},
    };
    for (const Case& c : cases) {
        Unit* u = spawn(kDrop, 10.0f, 10.0f, 0);
        u->retries = 0;
        EXPECT_EQ(c.goal != 0, manager->order(u, c.code, At(c.x, c.y, c.z))) << c.x << "," << c.y;
        EXPECT_EQ(c.goal ? c.code : kIdle, u->state);
        EXPECT_EQ(c.goal ? c.goal : "0,0", xy(u->destination));
        // An accepted order starts a fresh path to a point on the ground.
        EXPECT_TRUE(u->destination[2] == (c.goal ? 0.2f : 0.0f) && u->retries == (c.goal ? 2 : 0));
    }
}

// Towers take no path or fighting order, Blobs no fighting order; a splitting or morphing unit obeys only
// Stop, which refunds the price once. An unknown order, or one without its argument, is refused, not a crash.
TEST_F(Orders, EachUnitTakesOnlyTheOrdersItCanCarryOut) {
    Unit* tower = spawn(kSlimeTower, 10.0f, 10.0f, 1);
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* splitter = spawn(kBlob, 30.0f, 10.0f, 0);
    Unit* morpher = spawn(kMuffin, 40.0f, 10.0f, 3);
    int slot = 0;
    manager->order(splitter, kSplit, 0);
    manager->order(morpher, kMorph, &slot);  // a Drop, 50
    At p(30.0f, 30.0f);
    for (Unit* u : {tower, blob, splitter, morpher}) {
        EXPECT_EQ(u == blob, manager->order(u, kMove, p));
        EXPECT_FALSE(manager->order(u, kAttackMove, p));
        manager->order(u, kAttack, tower == u ? blob : tower);
        manager->order(u, kChase, tower == u ? blob : tower);
        if (u->isBusy()) {
            manager->order(u, kMorph, &slot);
            manager->order(u, kSplit, 0);
        }
        EXPECT_EQ(nullptr, u->target);
    }
    EXPECT_TRUE(tower->state == kIdle && blob->state == kMove && splitter->state == kSplit && morpher->state == kMorph);
    EXPECT_TRUE(manager->players[0].crystals == 50.9f && manager->players[3].crystals == 50.9f);
    manager->update(3000);
    for (int twice = 0; twice < 2; ++twice) {
        manager->order(splitter, kIdle, 0);
        manager->order(morpher, kIdle, 0);
    }
    EXPECT_TRUE(splitter->state == kIdle && morpher->state == kIdle && morpher->type == kMuffin);
    EXPECT_TRUE(manager->players[0].crystals == 100.9f && manager->players[3].crystals == 100.9f);
    EXPECT_FALSE(manager->order(morpher, kMove, 0) || manager->order(morpher, kAttack, 0) ||
                 manager->order(morpher, kMorph, 0) || manager->order(morpher, 8, p));
}

TEST_F(Orders, RightClickOnlyCommandsOwnUnitsToAttackEnemiesMineLiveCrystalsOrMove) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);
    Unit* blob = spawn(kBlob, 11.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 2);
    spawn(kBlob, 25.0f, 25.0f, 0);
    Crystal* crystal = addCrystal(30.0f, 30.0f);
    manager->selection = {enemy};
    EXPECT_FALSE(manager->orderSelection(kMove, At(25.0f, 25.0f)));
    manager->selection = {enemy, drop, blob};
    manager->commandAt(At(20.0f, 20.0f, 0.6f));
    EXPECT_TRUE(drop->state == kAttack && drop->target == enemy && blob->state == kIdle);
    // The human cannot aim into the fog: the attack becomes an attack-move to where the target stands.
    // A computer player's attack on a hidden unit of the human's stays an attack (and, not a path, says false).
    enemy->hidden = drop->hidden = true;
    manager->commandAt(At(20.0f, 20.0f, 0.6f));
    EXPECT_TRUE(drop->state == kAttackMove && xy(drop->destination) == "20,20");
    EXPECT_FALSE(manager->order(enemyDrop, kAttack, drop));
    EXPECT_TRUE(enemyDrop->state == kAttack && enemyDrop->target == drop);
    manager->commandAt(At(25.0f, 25.0f, 0.6f));  // on an own unit
    EXPECT_TRUE(drop->state == kMove && blob->state == kMove && enemy->state == kIdle);
    EXPECT_TRUE(manager->orderSelection(kMove, At(25.0f, 25.0f)));  // some of the selection took it
    manager->commandAt(At(30.4f, 30.0f, 0.2f));  // outside the crystal's picking radius
    EXPECT_EQ(nullptr, blob->crystal);
    EXPECT_TRUE(!manager->players[0].isComputer && manager->players[1].isComputer && manager->players[3].isComputer);
    // An own Blob standing on the crystal: the crystal still wins over a move. Only Blobs mine.
    spawn(kBlob, 30.0f, 30.0f, 0)->position[2] = 0.2f;
    manager->commandAt(At(30.1f, 30.0f, 0.2f));
    EXPECT_TRUE(blob->state == kMine && blob->crystal == crystal && drop->state == kMove);
    crystal->amount = 0.0f;  // an exhausted crystal is just ground
    manager->commandAt(At(30.1f, 30.0f, 0.2f));
    EXPECT_EQ(kMove, blob->state);
}

// A camera straight above the map through an orthographic box on a 640 x 480 window: a unit at map (x, y)
// shows at pixel (x * 10, y * 7.5).
TEST_F(Orders, ClicksAndBoxesSelectAndGroupsStoreAndRecall) {
    gScreenWidth = 640;
    gScreenHeight = 480;
    MatrixStack projection, modelview(4);
    projection.ortho(0.0f, 64.0f, 0.0f, 64.0f, -100.0f, 100.0f);
    modelview.loadIdentity();
    Frustum frustum;
    frustum.extract(projection, modelview);
    Unit* a = spawn(kBlob, 16.0f, 16.0f, 0);      // (160, 120)
    Unit* b = spawn(kBlob, 32.0f, 32.0f, 0);      // (320, 240)
    spawn(kBlob, 48.0f, 16.0f, 0);                // (480, 120)
    Unit* enemy = spawn(kBlob, 20.0f, 20.0f, 1);  // (200, 150)
    spawn(kBlob, 60.0f, 60.0f, 1)->hidden = true;
    // A click replaces the selection or toggles one unit; it passes over a hidden unit.
    manager->clickSelect(16.0f, 16.0f, 0.6f, false);
    manager->clickSelect(32.0f, 32.0f, 0.6f, true);
    EXPECT_EQ(Units({a, b}), manager->selection);
    manager->storeGroup(2);
    manager->clickSelect(16.0f, 16.0f, 0.6f, true);   // toggles a off
    manager->clickSelect(30.0f, 30.0f, 0.6f, false);  // nothing there
    manager->clickSelect(60.0f, 60.0f, 0.6f, false);  // hidden
    EXPECT_EQ(Units({b}), manager->selection);
    manager->recallGroup(5);  // empty: no change
    manager->recallGroup(2);
    EXPECT_EQ(Units({a, b}), manager->selection);
    // A box takes the units whose screen points are inside, own units winning.
    manager->boxSelect(330.0f, 250.0f, 150.0f, 110.0f, frustum, false);  // corners in any order
    EXPECT_EQ(Units({a, b}), manager->selection);
    manager->boxSelect(190.0f, 140.0f, 210.0f, 160.0f, frustum, false);  // only the enemy inside
    EXPECT_EQ(Units({enemy}), manager->selection);
    // Additive: a joins and the enemy already selected makes way for it; a is not taken twice.
    manager->boxSelect(150.0f, 110.0f, 210.0f, 160.0f, frustum, true);
    EXPECT_EQ(Units({a}), manager->selection);
    manager->boxSelect(150.0f, 110.0f, 330.0f, 250.0f, frustum, true);
    EXPECT_EQ(Units({a, b}), manager->selection);
}
