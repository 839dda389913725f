#include <gtest/gtest.h>

#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "simulation_fixture.h"

namespace {

class Movement : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
};

TEST_F(Movement, WalksAtItsSpeedAndSnapsOntoTheGoalOnArrival) {
    // Blob speed 1.0: 0.1 per 100 ms frame. 2.05 away: 20 steps leave 0.05, the 21st frame arrives.
    Unit* u = spawn(kBlob, 10.0f, 10.0f, 0);
    float p[3] = {12.05f, 10.0f, 0.0f};
    ASSERT_TRUE(manager->order(u, kMove, p));
    run(1, 100);
    EXPECT_NEAR(10.1f, u->position[0], 1e-5f);
    EXPECT_FLOAT_EQ(0.6f, u->position[2]);
    run(19, 100);
    EXPECT_EQ(kMove, u->state);
    EXPECT_NEAR(12.0f, u->position[0], 1e-4f);
    run(1, 100);
    EXPECT_EQ(kIdle, u->state);
    EXPECT_FLOAT_EQ(12.05f, u->position[0]);
    EXPECT_FLOAT_EQ(10.0f, u->position[1]);
}

TEST_F(Movement, DiagonalStepHasTheFullLength) {
    // Fly speed 2.9: 0.29 per 100 ms along (3, 4) / 5.
    Unit* fly = spawn(kFly, 10.0f, 10.0f, 0);
    float p[3] = {13.0f, 14.0f, 0.0f};
    manager->order(fly, kMove, p);
    run(1, 100);
    EXPECT_NEAR(10.174f, fly->position[0], 1e-5f);
    EXPECT_NEAR(10.232f, fly->position[1], 1e-5f);
    EXPECT_FLOAT_EQ(3.6f, fly->position[2]);  // air units fly 3.0 above the ground-unit height
}

// A chased unit that keeps running away: no progress, so the chaser waits 750 ms three times and gives up.
TEST_F(Movement, StuckUnitWaitsTwiceMoreAndThenStops) {
    Unit* chaser = spawn(kMuffin, 10.0f, 10.0f, 0);
    Unit* runner = spawn(kBlob, 20.0f, 10.0f, 0);  // own unit: never a target of acquisition
    manager->order(chaser, kChase, runner);
    int waitsSeen = 0;
    int frame = 0;
    for (; frame < 40 && chaser->state == kChase; ++frame) {
        runner->position[0] += 1.0f;
        int waitBefore = chaser->waitTime;
        manager->update(100);
        if (waitBefore <= 0 && chaser->waitTime == 750) {
            ++waitsSeen;
        }
    }
    // Frame 1 progress, 2 stuck 100 ms, 3 stuck 200 ms > 150: wait; 8 frames of waiting (750 -> -50),
    // then one stuck frame starts the next wait: frames 3, 12 and 21 start waits, frame 29 gives up.
    EXPECT_EQ(3, waitsSeen);
    EXPECT_EQ(29, frame);
    EXPECT_EQ(kIdle, chaser->state);
    EXPECT_EQ(0, chaser->retries);
}

TEST_F(Movement, ProgressWinsBackStuckTime) {
    Unit* u = spawn(kBlob, 10.0f, 10.0f, 0);
    float p[3] = {30.0f, 10.0f, 0.0f};
    manager->order(u, kMove, p);
    u->stuckTime = 120;
    u->bestDistance = 25.0f;
    run(1, 100);
    EXPECT_EQ(20, u->stuckTime);
    EXPECT_NEAR(19.9f, u->bestDistance, 1e-4f);
    run(1, 100);
    EXPECT_EQ(0, u->stuckTime);
}

TEST_F(Movement, MoverPushesAUnitInItsPathButNeverATower) {
    // r = (0.9 + 0.9) / 2 = 0.9; the blocker 0.5 ahead is pushed straight on by min(0.9, 100 * 0.005).
    Unit* mover = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* blocker = spawn(kBlob, 10.5f, 10.0f, 1);
    float to[3] = {10.1f, 10.0f, 0.0f};
    manager->frameTime = 100;
    manager->moveUnit(mover, mover->position, to, 0);
    EXPECT_FLOAT_EQ(10.1f, mover->position[0]);
    EXPECT_FLOAT_EQ(11.0f, blocker->position[0]);
    EXPECT_FLOAT_EQ(10.0f, blocker->position[1]);

    // With 10 ms frames the push is at most 0.05.
    manager->frameTime = 10;
    float to2[3] = {10.2f, 10.0f, 0.0f};
    blocker->position[0] = 10.6f;
    manager->moveUnit(mover, mover->position, to2, 0);
    EXPECT_FLOAT_EQ(10.65f, blocker->position[0]);

    Unit* tower = spawn(kSlimeTower, 30.7f, 32.0f, 1);
    Unit* climber = spawn(kBlob, 30.7f, 31.5f, 0);
    float up[3] = {30.7f, 31.6f, 0.0f};
    manager->frameTime = 100;
    manager->moveUnit(climber, climber->position, up, 0);
    EXPECT_FLOAT_EQ(30.7f, tower->position[0]);
    EXPECT_FLOAT_EQ(32.0f, tower->position[1]);
    EXPECT_FLOAT_EQ(31.6f, climber->position[1]);
}

TEST_F(Movement, PushingSkipsTheOtherLayerAndSideStepsBeyondTheBody) {
    Unit* mover = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* flyer = spawn(kFly, 10.5f, 10.0f, 1);
    Unit* aside = spawn(kBlob, 10.5f, 11.0f, 1);  // 1.0 to the side, outside r = 0.9
    float to[3] = {10.1f, 10.0f, 0.0f};
    manager->frameTime = 100;
    manager->moveUnit(mover, mover->position, to, 0);
    EXPECT_FLOAT_EQ(10.5f, flyer->position[0]);
    EXPECT_FLOAT_EQ(10.5f, aside->position[0]);
    EXPECT_FLOAT_EQ(11.0f, aside->position[1]);
    // A unit 0.5 to the side and level with the mover is pushed away sideways by r - |side| = 0.4.
    aside->position[1] = 10.5f;
    aside->position[0] = 10.1f;
    float to2[3] = {10.2f, 10.0f, 0.0f};
    manager->moveUnit(mover, mover->position, to2, 0);
    EXPECT_NEAR(10.1f, aside->position[0], 1e-5f);
    EXPECT_NEAR(10.9f, aside->position[1], 1e-5f);
}

TEST_F(Movement, PushesChainThreeDeepAndNoFurther) {
    // A row of Blobs 0.5 apart; each push moves the next one 0.5 on, which reaches the one after it.
    Unit* mover = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* row[5];
    for (int i = 0; i < 5; ++i) {
        row[i] = spawn(kBlob, 10.5f + 0.5f * (float)i, 10.0f, 1);
    }
    float to[3] = {10.0f, 10.0f, 0.0f};
    manager->frameTime = 100;
    manager->moveUnit(mover, mover->position, to, 0);
    // Depths 1, 2 and 3 move (row[3] is reached at depth 3 from row[1]); row[4] is only ever reached by
    // a push at depth 4, which is dropped.
    EXPECT_FLOAT_EQ(11.0f, row[0]->position[0]);
    EXPECT_FLOAT_EQ(11.5f, row[1]->position[0]);
    EXPECT_FLOAT_EQ(12.0f, row[2]->position[0]);
    EXPECT_FLOAT_EQ(12.5f, row[3]->position[0]);
    EXPECT_FLOAT_EQ(12.5f, row[4]->position[0]);
}

TEST_F(Movement, PositionsStayInsideTheBorderAndFollowTheGround) {
    Unit* u = spawn(kBlob, 5.0f, 30.0f, 0);
    float out[3] = {1.0f, 70.0f, 0.0f};
    manager->frameTime = 16;
    manager->moveUnit(u, u->position, out, 0);
    EXPECT_FLOAT_EQ(4.0f, u->position[0]);
    EXPECT_FLOAT_EQ(60.0f, u->position[1]);

    // A slope rising 0.5 per cell along x: ground height at x = 20.5 is 10.25.
    float* saved = new float[65 * 65];
    for (int i = 0; i < 65 * 65; ++i) {
        saved[i] = terrain->heights[i];
        terrain->heights[i] = 0.5f * (float)(i % 65);
    }
    float to[3] = {20.5f, 30.0f, 0.0f};
    manager->moveUnit(u, u->position, to, 0);
    EXPECT_FLOAT_EQ(10.85f, u->position[2]);
    Unit* fly = spawn(kFly, 20.0f, 40.0f, 0);
    manager->moveUnit(fly, fly->position, to, 0);
    EXPECT_FLOAT_EQ(13.85f, fly->position[2]);
    for (int i = 0; i < 65 * 65; ++i) {
        terrain->heights[i] = saved[i];
    }
    delete[] saved;
}

TEST_F(Movement, MorphingUnitIsNotDisplacedButStillPushes) {
    Unit* morpher = spawn(kBlob, 10.0f, 10.0f, 0);
    int slot = 0;
    manager->order(morpher, kMorph, &slot);
    ASSERT_EQ(kMorph, morpher->state);
    Unit* other = spawn(kBlob, 10.5f, 10.0f, 1);
    float to[3] = {10.1f, 10.0f, 0.0f};
    manager->frameTime = 100;
    manager->moveUnit(morpher, morpher->position, to, 0);
    EXPECT_FLOAT_EQ(10.0f, morpher->position[0]);
    EXPECT_FLOAT_EQ(11.0f, other->position[0]);
}

TEST_F(Movement, DistanceToDestinationIgnoresHeight) {
    Unit* u = spawn(kFly, 10.0f, 10.0f, 0);
    u->destination[0] = 13.0f;
    u->destination[1] = 14.0f;
    u->destination[2] = -50.0f;
    EXPECT_FLOAT_EQ(5.0f, manager->distanceToDestination(u));
}

}  // namespace
