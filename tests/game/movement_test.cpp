#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "scene/terrain.h"
#include "simulation_fixture.h"

namespace {

typedef EmptyMapTest Movement;

TEST_F(Movement, WalksStraightAtItsSpeedSnapsOntoTheGoalAndProgressPaysBackStuckTime) {
    // Blob: 0.1 per 100 ms frame. 2.05 away: 20 steps leave 0.05, the 21st frame arrives.
    Unit* u = spawn(kBlob, 10.0f, 10.0f, 0);
    manager->order(u, kMove, At(12.05f, 10.0f));
    run(20, 100);
    EXPECT_EQ(kMove, u->state);
    run(1, 100);
    EXPECT_EQ(kIdle, u->state);
    EXPECT_EQ("12.05,10", xy(u->position));
    // Fly: 0.29 per 100 ms along (3, 4) / 5; the distance left is measured on the ground.
    Unit* fly = spawn(kFly, 10.0f, 10.0f, 0);
    manager->order(fly, kMove, At(13.0f, 14.0f));
    run(1, 100);
    EXPECT_EQ("10.174,10.232", xy(fly->position));
    fly->destination[2] = -50.0f;
    EXPECT_NEAR(4.71f, manager->distanceToDestination(fly), 1e-5f);
    // 19.85 left beats the 20 noted: 120 ms of stuck time become 20, then 0.
    manager->order(u, kMove, At(32.0f, 10.0f));
    u->stuckTime = 120;
    u->bestDistance = 20.0f;
    run(1, 100);
    EXPECT_EQ(20, u->stuckTime);
    EXPECT_NEAR(19.85f, u->bestDistance, 1e-4f);
    run(1, 100);
    EXPECT_EQ(0, u->stuckTime);
}

// A chased unit that keeps running away: no progress, so the chaser waits 750 ms three times and gives up.
// Frame 1 progresses, 2 is stuck 100 ms, 3 200 ms > 150: wait. 750 ms run out in frames 4..11 and one stuck
// frame starts the next wait: waits from frames 3, 12 and 21; frame 29 gives up.
TEST_F(Movement, StuckUnitWaitsTwiceMoreAndThenStops) {
    Unit* chaser = spawn(kMuffin, 10.0f, 10.0f, 0);
    Unit* runner = spawn(kBlob, 20.0f, 10.0f, 0);  // own unit: never a target of acquisition
    manager->order(chaser, kChase, runner);
    std::vector<int> waitStarts;
    int frame = 0;
    while (frame < 40 && chaser->state == kChase) {
        ++frame;
        runner->position[0] += 1.0f;
        int waitBefore = chaser->waitTime;
        manager->update(100);
        if (waitBefore <= 0 && chaser->waitTime == 750) {
            waitStarts.push_back(frame);
        }
    }
    EXPECT_EQ(std::vector<int>({3, 12, 21}), waitStarts);
    EXPECT_EQ(29, frame);
    EXPECT_EQ(kIdle, chaser->state);
}

// A shot fired on the way holds an attack-move for the shooter's attack interval; game time sums the frames.
TEST_F(Movement, AttackMoveStandsStillWhileItsShotPauses) {
    Unit* drop = spawn(kDrop, 10.0f, 10.0f, 0);   // speed 1.8, interval 1250
    Unit* enemy = spawn(kBlob, 10.0f, 15.0f, 1);  // inside the range 6.5
    manager->order(drop, kAttackMove, At(30.0f, 10.0f));
    run(1, 100);
    enemy->hidden = true;  // no second shot into the fog
    run(12, 100);          // the pause is down to 50
    EXPECT_EQ(10.0f, drop->position[0]);
    run(1, 100);
    EXPECT_NEAR(10.18f, drop->position[0], 1e-5f);
    EXPECT_EQ(kAttackMove, drop->state);
    EXPECT_EQ(1400, manager->gameTime);
}

// One move of a Blob by (0.1, 0) from (10, 10) with 100 ms frames, r = 0.9 between two Blobs; where each
// other unit ends. Pushes go away from the mover's start, r - |side| but at most frameTime * 0.005. Towers
// and morphing units are never moved, but a morphing mover still pushes.
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

// Rows of Blobs pushed from the left: the x every row unit ends at.
TEST_F(Movement, PushesChainThreeDeepAndPushedUnitsPushBack) {
    struct Row {
        float spacing, moverTo, expected[5];
    } rows[2] = {
        // 1.0 apart: a 0.5 step reaches 0.5 + 0.9 ahead, so each pushed unit moves 0.5 and reaches only the
        // next; no pusher is within r behind, so none is pushed back. The fourth push (depth 4) is dropped.
        {1.0f, 10.5f, {11.5f, 12.5f, 13.5f, 14.0f, 15.0f}},
        // 0.5 apart: the first shoves the mover back and is shoved on to 11.0; standing there it pushes the
        // second (carrying the first, third and fourth on), then, standing at 11.5, the third (throwing the
        // first two back to 11.0, carrying the last two on). A pushed-back mover measures from where it stands.
        {0.5f, 10.0f, {11.0f, 11.0f, 12.5f, 13.0f, 13.0f}},
    };
    manager->frameTime = 100;
    for (int k = 0; k < 2; ++k) {
        float y = 10.0f + 20.0f * (float)k;
        Unit* mover = spawn(kBlob, 10.0f, y, 0);
        Unit* row[5];
        for (int i = 0; i < 5; ++i) {
            row[i] = spawn(kBlob, 10.0f + rows[k].spacing * (float)(i + 1), y, 1);
        }
        manager->moveUnit(mover, mover->position, At(rows[k].moverTo, y), 0);
        EXPECT_EQ(rows[k].moverTo, mover->position[0]);
        for (int i = 0; i < 5; ++i) {
            EXPECT_FLOAT_EQ(rows[k].expected[i], row[i]->position[0]) << "row " << k << " unit " << i;
        }
    }
}

TEST_F(Movement, PositionsStayInsideTheBorderAndFollowTheGround) {
    Unit* u = spawn(kBlob, 5.0f, 30.0f, 0);
    manager->moveUnit(u, u->position, At(1.0f, 70.0f), 0);
    EXPECT_EQ("4,60", xy(u->position));
    // A slope rising 0.5 per cell along x: the ground at x = 20.5 is 10.25 high.
    std::vector<float> saved(terrain->heights, terrain->heights + 65 * 65);
    for (int i = 0; i < 65 * 65; ++i) {
        terrain->heights[i] = 0.5f * (float)(i % 65);
    }
    manager->moveUnit(u, u->position, At(20.5f, 30.0f), 0);
    Unit* fly = spawn(kFly, 20.0f, 40.0f, 0);
    manager->moveUnit(fly, fly->position, At(20.5f, 30.0f), 0);
    std::copy(saved.begin(), saved.end(), terrain->heights);
    EXPECT_FLOAT_EQ(10.85f, u->position[2]);
    EXPECT_FLOAT_EQ(13.85f, fly->position[2]);
}

}  // namespace
