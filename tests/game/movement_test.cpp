#include "simulation_fixture.h"

typedef EmptyMapTest Movement;

// Blob: 0.1 per 100 ms frame. 2.05 away: 20 steps leave 0.05, measured on the ground; the 21st frame arrives.
TEST_F(Movement, SnapsOntoTheGoalWithinOneStep) {
    Unit* u = spawn(kBlob, 10.0f, 10.0f, 0);
    manager->order(u, kMove, At(12.05f, 10.0f));
    EXPECT_TRUE(!run(20, 100) && u->state == kMove);
    u->destination[2] = -50.0f;
    EXPECT_NEAR(0.05f, manager->distanceToDestination(u), 1e-5f);
    run(1, 100);
    EXPECT_TRUE(u->state == kIdle && xy(u->position) == "12.05,10");
}

// A Blob moves by (0.1, 0) from (10, 10), r = 0.9 between two Blobs: a unit of its layer in the way goes away
// from the mover's start by r - |side|, at most frameTime * 0.005. Towers and morphing units never give way,
// though a morphing mover still pushes.
TEST_F(Movement, MoverPushesUnitsOfItsLayerOutOfItsPathButNeverATowerOrAMorphingUnit) {
    struct Case { int type, state; float x, y; const char* after; int frameTime, moverState; };
    const Case cases[] = {
        {kBlob, kIdle, 10.5f, 10.0f, "11,10", 100, kMove},        // ahead: pushed on by 0.5
        {kBlob, kIdle, 10.7f, 10.0f, "10.75,10", 10, kMove},      // 10 ms frames: 0.05 at most
        {kFly, kIdle, 10.5f, 10.0f, "10.5,10", 100, kMove},       // another layer
        {kBlob, kIdle, 10.5f, 11.0f, "10.5,11", 100, kMove},      // 1.0 aside, outside r
        {kBlob, kIdle, 10.0f, 10.5f, "10,10.9", 100, kMove},      // 0.5 aside: r - 0.5
        {kBlob, kIdle, 9.5f, 10.0f, "9,10", 100, kMove},          // just behind, within r
        {kSlimeTower, kIdle, 10.5f, 10.0f, "10.5,10", 100, kMove},
        {kBlob, kMorph, 10.5f, 10.0f, "10.5,10", 100, kMove},
        {kBlob, kIdle, 10.5f, 10.0f, "11,10", 100, kMorph},
    };
    for (const Case& c : cases) {
        removeUnits();
        Unit* mover = spawn(kBlob, 10.0f, 10.0f, 0);
        Unit* other = spawn(c.type, c.x, c.y, 1);
        mover->state = c.moverState;
        other->state = c.state;
        manager->frameTime = c.frameTime;
        manager->moveUnit(mover, mover->position, At(10.1f, 10.0f), 0);
        EXPECT_EQ(c.moverState == kMorph ? "10,10" : "10.1,10", xy(mover->position));
        EXPECT_EQ(c.after, xy(other->position)) << c.x << "," << c.y;
    }
    // Moving 0.5 up the y axis reaches 0.5 + r ahead: a Blob 1.3 ahead is pushed on by 0.5.
    Unit* mover = spawn(kBlob, 30.0f, 30.0f, 0);
    Unit* ahead = spawn(kBlob, 30.0f, 31.3f, 1);
    manager->moveUnit(mover, mover->position, At(30.0f, 30.5f), 0);
    EXPECT_EQ("30,31.8", xy(ahead->position));
}
