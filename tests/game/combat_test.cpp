#include <gtest/gtest.h>

#include <SDL.h>

#include "app/sound.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

class Combat : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
    }
    // Lets the next attack sound through the 20 s throttle.
    void armAttackSound() { gSoundLastPlayed[kSoundAttack] = SDL_GetTicks() - 30000u; }
};

TEST_F(Combat, AcquisitionTakesTheFirstUnitInRangeInCreationOrder) {
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 0);
    spawn(kBlob, 26.6f, 20.0f, 1);                // 6.6 > 6.5: out of range
    Unit* first = spawn(kBlob, 26.5f, 20.0f, 1);  // exactly at range: in
    spawn(kBlob, 22.0f, 20.0f, 1);                // nearer, but later in the list
    run(1, 100);
    EXPECT_EQ(first, drop->target);
    EXPECT_EQ(kIdle, drop->state);  // acquisition does not change the state
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_EQ(1250, drop->cooldown);
    EXPECT_EQ(1250, drop->attackPause);
    Projectile* p = manager->projectiles[0];
    EXPECT_EQ(first, p->target);
    EXPECT_EQ(drop, p->source);
    EXPECT_EQ(8, p->damage);
    EXPECT_EQ(1, p->kind);
    EXPECT_EQ(0, p->player);
}

TEST_F(Combat, BlobsNeverAcquireAndTypesOnlyAcquireWhatTheyCanHit) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 30.0f, 30.0f, 0);
    spawn(kBlob, 21.0f, 20.0f, 1);
    Unit* fly = spawn(kFly, 31.0f, 30.0f, 1);  // air: the Muffin hits ground only
    run(3, 100);
    EXPECT_EQ(nullptr, blob->target);
    EXPECT_EQ(nullptr, muffin->target);
    EXPECT_EQ(-1, muffin->beamEffect);
    // The Fly hits both layers and fires back at the Muffin; nothing else fired.
    EXPECT_EQ(muffin, fly->target);
    for (size_t i = 0; i < manager->projectiles.size(); ++i) {
        EXPECT_EQ(fly, manager->projectiles[i]->source);
    }
}

TEST_F(Combat, HumanUnitsNeverFireIntoFogComputerUnitsDo) {
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 0);
    Unit* hiddenEnemy = spawn(kBlob, 24.0f, 20.0f, 1);
    hiddenEnemy->hidden = true;
    run(1, 100);
    EXPECT_EQ(nullptr, drop->target);
    EXPECT_TRUE(manager->projectiles.empty());

    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 1);
    Unit* hiddenHuman = spawn(kBlob, 44.0f, 40.0f, 0);
    hiddenHuman->hidden = true;
    run(1, 100);
    EXPECT_EQ(hiddenHuman, enemyDrop->target);
    EXPECT_EQ(1u, manager->projectiles.size());
}

TEST_F(Combat, ShotsFlyAtFourUnitsPerSecondAndRepeatEveryAttackInterval) {
    // 5.0 away (5.004 in 3D, aiming 0.2 above the target): with 250 ms frames the shot moves 1.0 per
    // frame in frames 1 to 5 and hits in frame 6, exactly when the 1250 ms cooldown allows the next shot.
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 1);
    Unit* blob = spawn(kBlob, 25.0f, 20.0f, 2);
    run(1, 250);
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_NEAR(21.0f, manager->projectiles[0]->position[0], 1e-3f);
    run(4, 250);
    EXPECT_EQ(1u, manager->projectiles.size());
    EXPECT_FLOAT_EQ(50.0f, blob->life);
    run(1, 250);
    EXPECT_EQ(2u, manager->projectiles.size());
    EXPECT_FLOAT_EQ(42.0f, blob->life);
    EXPECT_GE(manager->projectiles[0]->impactTime, 1);
    EXPECT_EQ(0, manager->projectiles[1]->impactTime);
    EXPECT_EQ(1250, drop->cooldown);
}

TEST_F(Combat, ContinuousDamagePerMillisecondAgainstRegeneration) {
    // Muffin: 6 damage per second = 0.006 per ms; the Blob regenerates 0.0005 per ms, never above 50.
    Unit* blob = spawn(kBlob, 22.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 1);
    run(1, 100);
    EXPECT_NEAR(49.4f, blob->life, 1e-4f);  // regeneration came first and was capped
    EXPECT_EQ(1, muffin->beamEffect);
    EXPECT_EQ(0, muffin->cooldown);
    EXPECT_TRUE(manager->projectiles.empty());
    run(9, 100);
    EXPECT_NEAR(50.0f - 10 * 0.6f + 9 * 0.05f, blob->life, 1e-3f);
    // Out of range (3.0) the beam stops and regeneration alone remains.
    blob->position[0] = 23.5f;
    float before = blob->life;
    run(1, 200);
    EXPECT_NEAR(before + 0.1f, blob->life, 1e-4f);
    EXPECT_EQ(-1, muffin->beamEffect);
}

TEST_F(Combat, SlimeTowerBurnsGroundAndAirAtEightPerSecond) {
    Unit* tower = spawn(kSlimeTower, 30.0f, 30.0f, 1);
    Unit* fly = spawn(kFly, 36.9f, 30.0f, 0);
    fly->life = 100.0f;
    run(1, 500);
    EXPECT_NEAR(100.0f + 0.25f - 4.0f, fly->life, 1e-4f);
    EXPECT_EQ(2, tower->beamEffect);
    EXPECT_FLOAT_EQ(30.0f, tower->position[0]);
}

TEST_F(Combat, IdleUnitHitByAShotRetaliatesAndTheAlertIsThrottled) {
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 0);  // range 3: cannot answer from 6 away on its own
    Unit* drop = spawn(kDrop, 26.0f, 20.0f, 1);
    armAttackSound();
    unsigned int before = SDL_GetTicks();
    int frames = 0;
    while (muffin->life >= 60.0f && frames < 20) {
        manager->update(250);
        ++frames;
    }
    ASSERT_LT(frames, 20);
    EXPECT_NEAR(52.0f, muffin->life, 1e-4f);
    EXPECT_EQ(kAttack, muffin->state);
    EXPECT_EQ(drop, muffin->target);
    unsigned int played = gSoundLastPlayed[kSoundAttack];
    EXPECT_GE(played, before);

    // A second human unit hit right after: no second alert within 20 s.
    Unit* blob = spawn(kBlob, 26.0f, 26.0f, 0);
    muffin->life = 1000.0f;  // keep the Muffin out of the way
    manager->order(muffin, kIdle, 0);
    muffin->position[0] = 10.0f;
    drop->cooldown = 0;
    drop->target = 0;
    frames = 0;
    SDL_Delay(5);
    while (blob->life >= 50.0f && frames < 20) {
        manager->update(250);
        ++frames;
    }
    ASSERT_LT(frames, 20);
    EXPECT_EQ(played, gSoundLastPlayed[kSoundAttack]);
}

TEST_F(Combat, HitsOnComputerUnitsMakeNoSound) {
    spawn(kDrop, 20.0f, 20.0f, 0);
    Unit* target = spawn(kBlob, 24.0f, 20.0f, 1);
    gSoundLastPlayed[kSoundAttack] = 12345u;  // far in the past or future: either way a play would change it
    for (int i = 0; i < 10 && target->life >= 50.0f; ++i) {
        manager->update(250);
    }
    EXPECT_LT(target->life, 50.0f);
    EXPECT_EQ(12345u, gSoundLastPlayed[kSoundAttack]);
}

TEST_F(Combat, AirOnlyAttackerWalksIntoRangeOfAGroundTargetAndGivesUp) {
    // Slimy speed 2.8: 0.28 per 100 ms. From 10 away it is at 6.08 after 14 frames, 5.8 after 15;
    // frame 16 finds the target in range (6.0) and unhittable.
    Unit* slimy = spawn(kSlimy, 20.0f, 20.0f, 0);
    Unit* blob = spawn(kBlob, 30.0f, 20.0f, 1);
    manager->order(slimy, kAttack, blob);
    ASSERT_EQ(kAttack, slimy->state);
    run(15, 100);
    EXPECT_EQ(kAttack, slimy->state);
    EXPECT_NEAR(24.2f, slimy->position[0], 1e-3f);
    EXPECT_FLOAT_EQ(30.0f, slimy->destination[0]);
    run(1, 100);
    EXPECT_EQ(kIdle, slimy->state);
    EXPECT_NEAR(24.2f, slimy->position[0], 1e-3f);
    EXPECT_FLOAT_EQ(50.0f, blob->life);
    EXPECT_EQ(-1, slimy->beamEffect);
}

TEST_F(Combat, AttackStateClosesInThenFiresWithAPause) {
    Unit* rotundus = spawn(kRotundus, 20.0f, 20.0f, 0);  // range 6.0, speed 1.7, interval 1400
    Unit* enemy = spawn(kBlob, 27.0f, 20.0f, 1);
    manager->order(rotundus, kAttack, enemy);
    run(5, 100);  // 0.17 per frame: 7.0 -> 6.15
    EXPECT_NEAR(20.85f, rotundus->position[0], 1e-3f);
    EXPECT_TRUE(manager->projectiles.empty());
    run(1, 100);  // 6.15 > 6: one more step to 5.98
    EXPECT_TRUE(manager->projectiles.empty());
    run(1, 100);
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_EQ(1400, rotundus->cooldown);
    EXPECT_EQ(1400, rotundus->attackPause);
    EXPECT_EQ(kAttack, rotundus->state);
}

TEST_F(Combat, ShotAtAUnitThatDiesFirstDoesNoDamageAndFadesFor2000Ms) {
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 1);
    Unit* victim = spawn(kBlob, 25.0f, 20.0f, 2);
    run(1, 250);
    ASSERT_EQ(1u, manager->projectiles.size());
    Projectile* p = manager->projectiles[0];
    victim->life = -1.0f;  // stays below 0 after this frame's regeneration
    run(1, 250);  // the death marks the shot as spent: impactTime 1
    ASSERT_EQ(1u, manager->dyingUnits.size());
    EXPECT_EQ(1, p->impactTime);
    float x = p->position[0];
    run(7, 250);  // 1 + 7 * 250 = 1751: still fading, no longer moving
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_FLOAT_EQ(x, p->position[0]);
    EXPECT_TRUE(manager->dyingUnits.empty());
    // The dead unit is gone: neither the shooter nor the shot may still point at it.
    EXPECT_EQ(nullptr, drop->target);
    EXPECT_EQ(nullptr, p->target);
    run(1, 250);  // 2001 > 2000
    EXPECT_TRUE(manager->projectiles.empty());
}

TEST_F(Combat, DeathUnlinksSelectionGroupsAndAttackers) {
    Unit* victim = spawn(kBlob, 20.0f, 20.0f, 0);
    Unit* bystander = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* attacker = spawn(kRotundus, 40.0f, 40.0f, 1);
    Unit* chaser = spawn(kMuffin, 45.0f, 45.0f, 2);
    manager->selection.push_back(victim);
    manager->selection.push_back(bystander);
    manager->selection.push_back(victim);
    manager->groups[2].push_back(victim);
    manager->groups[2].push_back(bystander);
    manager->groups[5].push_back(victim);
    manager->order(attacker, kAttack, victim);
    manager->order(chaser, kChase, victim);
    run(1, 100);
    victim->life = -5.0f;
    EXPECT_TRUE(manager->update(100));
    ASSERT_EQ(1u, manager->selection.size());
    EXPECT_EQ(bystander, manager->selection[0]);
    ASSERT_EQ(1u, manager->groups[2].size());
    EXPECT_EQ(bystander, manager->groups[2][0]);
    EXPECT_TRUE(manager->groups[5].empty());
    EXPECT_EQ(kIdle, attacker->state);
    EXPECT_EQ(kIdle, chaser->state);
    EXPECT_EQ(3u, manager->units.size());
    ASSERT_EQ(1u, manager->dyingUnits.size());
    EXPECT_EQ(victim, manager->dyingUnits[0]);

    // A death nobody had selected or grouped needs no new command panel.
    attacker->life = -5.0f;
    EXPECT_FALSE(manager->update(100));
    EXPECT_EQ(2u, manager->units.size());
}

TEST_F(Combat, ShotOfADeadShooterStillHitsButDrawsNoRetaliation) {
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 26.0f, 20.0f, 1);
    run(1, 250);
    ASSERT_EQ(1u, manager->projectiles.size());
    drop->life = -1.0f;
    run(1, 250);
    EXPECT_EQ(nullptr, manager->projectiles[0]->source);
    for (int i = 0; i < 10 && muffin->life >= 60.0f; ++i) {
        manager->update(250);
    }
    EXPECT_NEAR(52.0f, muffin->life, 1e-4f);
    EXPECT_EQ(kIdle, muffin->state);
}

TEST_F(Combat, DeadUnitsSinkFor700MsOnTheGroundAnd1200MsInTheAir) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 1);
    blob->life = -1.0f;
    run(1, 350);
    ASSERT_EQ(1u, manager->dyingUnits.size());
    EXPECT_FLOAT_EQ(0.5f, blob->progress);
    EXPECT_FLOAT_EQ(0.25f, blob->position[2]);  // 0.6 - 350 / 1000
    run(1, 350);
    EXPECT_TRUE(manager->dyingUnits.empty());

    Unit* fly = spawn(kFly, 30.0f, 30.0f, 1);
    fly->life = -1.0f;
    run(1, 600);
    ASSERT_EQ(1u, manager->dyingUnits.size());
    EXPECT_FLOAT_EQ(0.5f, fly->progress);
    EXPECT_FLOAT_EQ(1.2f, fly->position[2]);  // 3.6 - 600 / 250
    run(1, 400);
    EXPECT_EQ(1u, manager->dyingUnits.size());  // 0.8333
    run(1, 200);
    EXPECT_TRUE(manager->dyingUnits.empty());
}

TEST_F(Combat, TowerDeathLowersTheCountAndAMorphUnderWayGoesOn) {
    Unit* tower = spawn(kSlimeTower, 20.0f, 20.0f, 2);
    manager->players[2].towerCount = 1;
    manager->players[2].crystals = 500.0f;
    Unit* muffin = spawn(kMuffin, 40.0f, 40.0f, 2);
    int slot = 2;  // Fly, needs a tower
    manager->order(muffin, kMorph, &slot);
    ASSERT_EQ(kMorph, muffin->state);
    tower->life = -1.0f;
    run(1, 100);
    EXPECT_EQ(0, manager->players[2].towerCount);
    run(200, 100);  // 20 s
    EXPECT_EQ(kFly, muffin->type);
    EXPECT_EQ(kIdle, muffin->state);
}

}  // namespace
