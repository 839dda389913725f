#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

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
    // Lets the next attack sound through its 20 s throttle.
    void armAttackSound() { gSoundLastPlayed[kSoundAttack] = SDL_GetTicks() - 30000u; }
    // An 8-damage shot already at its aim point: it hits in the next update.
    void incoming(Unit* source, Unit* target) {
        Projectile* p = new Projectile();
        p->damage = 8;
        p->target = target;
        p->source = source;
        p->position[0] = target->position[0];
        p->position[1] = target->position[1];
        p->position[2] = target->position[2] + 0.2f;
        manager->projectiles.push_back(p);
    }
};

TEST_F(Combat, AcquisitionTakesTheFirstHittableForeignUnitInRange) {
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 0);  // range 6.5
    spawn(kBlob, 21.0f, 20.0f, 0);                // own
    spawn(kBlob, 23.0f, 20.0f, 1)->hidden = true; // the human never fires into fog
    spawn(kBlob, 26.6f, 20.0f, 1);                // out of range
    Unit* first = spawn(kBlob, 26.5f, 20.0f, 1);  // exactly at range
    spawn(kBlob, 22.0f, 20.0f, 1);                // nearer, but later in the list
    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 1);
    Unit* hiddenHuman = spawn(kBlob, 44.0f, 40.0f, 0);
    hiddenHuman->hidden = true;                   // the computer does
    Unit* blob = spawn(kBlob, 10.0f, 50.0f, 0);
    Unit* muffin = spawn(kMuffin, 30.0f, 54.0f, 0);
    spawn(kBlob, 11.0f, 50.0f, 1);
    Unit* fly = spawn(kFly, 31.0f, 54.0f, 1);     // the Muffin hits ground only; the Fly both
    run(1, 100);
    EXPECT_EQ(first, drop->target);
    EXPECT_EQ(kIdle, drop->state);
    EXPECT_EQ(1250, drop->cooldown);
    EXPECT_EQ(1250, drop->attackPause);
    EXPECT_EQ(hiddenHuman, enemyDrop->target);
    EXPECT_EQ(nullptr, blob->target);
    EXPECT_EQ(nullptr, muffin->target);
    EXPECT_EQ(muffin, fly->target);
    ASSERT_EQ(3u, manager->projectiles.size());
    const Projectile* p = manager->projectiles[0];
    EXPECT_EQ(first, p->target);
    EXPECT_EQ(drop, p->source);
    EXPECT_EQ(8, p->damage);
    EXPECT_EQ(1, p->kind);
    EXPECT_EQ(0, p->player);
}

TEST_F(Combat, ShotsFlyAtFourPerSecondHitAndFadeFor2000MsOrFadeUnspentWhenTheTargetDies) {
    // 5.0 away, 5.004 to the aim point 0.2 above the target: 1.0 per 250 ms frame, so the shot hits in
    // frame 6, just when the 1250 ms cooldown lets the next one go.
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 1);
    Unit* blob = spawn(kBlob, 25.0f, 20.0f, 2);
    run(1, 250);
    ASSERT_EQ(1u, manager->projectiles.size());
    Projectile* first = manager->projectiles[0];
    EXPECT_NEAR(21.0f, first->position[0], 1e-3f);
    run(4, 250);
    EXPECT_EQ(0, first->impactTime);
    EXPECT_FLOAT_EQ(50.0f, blob->life);
    run(1, 250);
    EXPECT_EQ(1, first->impactTime);
    EXPECT_FLOAT_EQ(42.0f, blob->life);
    EXPECT_EQ(2u, manager->projectiles.size());
    EXPECT_EQ(1250, drop->cooldown);
    // Frame 11: the second shot hits (42 + 5 * 0.125 - 8) and the third leaves; frame 14 is 2000 ms after
    // the first impact.
    run(7, 250);
    EXPECT_FLOAT_EQ(34.625f + 2 * 0.125f, blob->life);
    EXPECT_EQ(3u, manager->projectiles.size());
    run(1, 250);
    EXPECT_EQ(2u, manager->projectiles.size());

    // The target dies with the third shot in flight: it stops, does no harm, and fades for 2000 ms.
    Projectile* third = manager->projectiles[1];
    blob->life = -1.0f;
    run(1, 250);
    EXPECT_EQ(1, third->impactTime);
    float x = third->position[0];
    run(7, 250);
    ASSERT_EQ(std::vector<Projectile*>{third}, manager->projectiles);
    EXPECT_FLOAT_EQ(x, third->position[0]);
    // The dead unit is deleted by now: nothing may still point at it.
    EXPECT_TRUE(manager->dyingUnits.empty());
    EXPECT_EQ(nullptr, drop->target);
    EXPECT_EQ(nullptr, third->target);
    run(1, 250);
    EXPECT_TRUE(manager->projectiles.empty());
}

TEST_F(Combat, BeamsDamagePerMillisecondAgainstRegeneration) {
    // Muffin: 6 per second = 0.006 per ms within 3.0; the Blob regenerates 0.0005 per ms up to 50.
    Unit* blob = spawn(kBlob, 22.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 1);
    run(1, 100);
    EXPECT_NEAR(49.4f, blob->life, 1e-4f);
    EXPECT_EQ(1, muffin->beamEffect);
    EXPECT_EQ(0, muffin->cooldown);
    EXPECT_TRUE(manager->projectiles.empty());
    run(9, 100);
    EXPECT_NEAR(44.45f, blob->life, 1e-3f);
    blob->position[0] = 23.5f;
    run(1, 200);
    EXPECT_NEAR(44.55f, blob->life, 1e-3f);
    EXPECT_EQ(-1, muffin->beamEffect);

    // A Slime Tower burns air units at 8 per second within 7.0 and stays where it is.
    Unit* tower = spawn(kSlimeTower, 30.0f, 40.0f, 1);
    Unit* fly = spawn(kFly, 36.9f, 40.0f, 0);
    fly->life = 100.0f;
    run(1, 500);
    EXPECT_NEAR(96.25f, fly->life, 1e-4f);
    EXPECT_EQ(2, tower->beamEffect);
    EXPECT_FLOAT_EQ(30.0f, tower->position[0]);
}

TEST_F(Combat, IdleUnitsRetaliateAndOnlyHitsOnTheHumanSoundTheThrottledAlert) {
    // The Drop's shot travels 6.003 at 1.0 per frame and hits the Muffin in frame 7.
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 26.0f, 20.0f, 1);
    armAttackSound();
    unsigned int before = SDL_GetTicks();
    run(6, 250);
    EXPECT_FLOAT_EQ(60.0f, muffin->life);
    run(1, 250);
    EXPECT_FLOAT_EQ(52.0f, muffin->life);
    EXPECT_EQ(kAttack, muffin->state);
    EXPECT_EQ(drop, muffin->target);
    unsigned int played = gSoundLastPlayed[kSoundAttack];
    EXPECT_GE(played, before);

    // A second human unit hit soon after: no second alert. A Blob cannot fight back.
    Unit* blob = spawn(kBlob, 40.0f, 40.0f, 0);
    incoming(drop, blob);
    SDL_Delay(2);
    run(1, 10);
    EXPECT_FLOAT_EQ(42.0f, blob->life);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_EQ(played, gSoundLastPlayed[kSoundAttack]);

    // A computer unit hit while armed: it answers, silently.
    Unit* enemy = spawn(kRotundus, 50.0f, 50.0f, 2);
    armAttackSound();
    played = gSoundLastPlayed[kSoundAttack];
    incoming(muffin, enemy);
    run(1, 10);
    EXPECT_EQ(kAttack, enemy->state);
    EXPECT_EQ(muffin, enemy->target);
    EXPECT_EQ(played, gSoundLastPlayed[kSoundAttack]);
}

TEST_F(Combat, AttackStateClosesInThenFiresOrGivesUpOnAnUnhittableTarget) {
    // Rotundus: speed 1.7 (0.17 per 100 ms), range 6.0, interval 1400. 7.0 -> 6.15 after five steps,
    // 5.98 after six; the seventh frame fires.
    Unit* rotundus = spawn(kRotundus, 20.0f, 20.0f, 0);
    Unit* enemy = spawn(kBlob, 27.0f, 20.0f, 1);
    manager->order(rotundus, kAttack, enemy);
    run(5, 100);
    EXPECT_NEAR(20.85f, rotundus->position[0], 1e-3f);
    run(1, 100);
    EXPECT_TRUE(manager->projectiles.empty());
    run(1, 100);
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_EQ(1400, rotundus->cooldown);
    EXPECT_EQ(1400, rotundus->attackPause);
    EXPECT_EQ(kAttack, rotundus->state);

    // Slimy (air only, 0.28 per 100 ms) on a ground unit 10 away: 5.8 after 15 steps, then it stands.
    Unit* slimy = spawn(kSlimy, 20.0f, 40.0f, 0);
    Unit* blob = spawn(kBlob, 30.0f, 40.0f, 1);
    manager->order(slimy, kAttack, blob);
    run(15, 100);
    EXPECT_EQ(kAttack, slimy->state);
    EXPECT_NEAR(24.2f, slimy->position[0], 1e-3f);
    EXPECT_FLOAT_EQ(30.0f, slimy->destination[0]);
    run(1, 100);
    EXPECT_EQ(kIdle, slimy->state);
    EXPECT_NEAR(24.2f, slimy->position[0], 1e-3f);
    EXPECT_FLOAT_EQ(50.0f, blob->life);
}

TEST_F(Combat, DeathUnlinksSelectionGroupsAttackersAndShots) {
    Unit* victim = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* bystander = spawn(kRotundus, 10.0f, 10.0f, 0);
    Unit* attacker = spawn(kRotundus, 40.0f, 40.0f, 1);
    Unit* chaser = spawn(kMuffin, 45.0f, 45.0f, 2);
    manager->selection = {victim, bystander, victim};
    manager->groups[2] = {victim, bystander};
    manager->groups[5] = {victim};
    manager->order(attacker, kAttack, victim);
    manager->order(chaser, kChase, victim);
    incoming(victim, bystander);
    manager->projectiles[0]->position[0] += 4.1f;  // 0.4 per frame: hits in frame 11
    victim->life = -5.0f;
    EXPECT_TRUE(manager->update(100));
    EXPECT_EQ(std::vector<Unit*>{bystander}, manager->selection);
    EXPECT_EQ(std::vector<Unit*>{bystander}, manager->groups[2]);
    EXPECT_TRUE(manager->groups[5].empty());
    EXPECT_EQ(kIdle, attacker->state);
    EXPECT_EQ(kIdle, chaser->state);
    EXPECT_EQ(std::vector<Unit*>{victim}, manager->dyingUnits);
    EXPECT_EQ(3u, manager->units.size());
    // The dead shooter's shot still hits, but draws no retaliation; a death nobody had selected or grouped
    // needs no new command panel.
    EXPECT_EQ(nullptr, manager->projectiles[0]->source);
    attacker->life = -5.0f;
    EXPECT_FALSE(run(10, 100));
    EXPECT_EQ(2u, manager->units.size());
    EXPECT_FLOAT_EQ(112.0f, bystander->life);
    EXPECT_EQ(kIdle, bystander->state);
}

TEST_F(Combat, DeadUnitsSinkFor700MsOnTheGroundAnd1200MsInTheAir) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* fly = spawn(kFly, 30.0f, 30.0f, 1);
    blob->life = -1.0f;
    run(1, 350);
    EXPECT_FLOAT_EQ(0.5f, blob->progress);
    EXPECT_FLOAT_EQ(0.25f, blob->position[2]);  // 0.6 - 350 / 1000
    run(1, 350);
    EXPECT_TRUE(manager->dyingUnits.empty());
    fly->life = -1.0f;
    run(1, 600);
    EXPECT_FLOAT_EQ(0.5f, fly->progress);
    EXPECT_FLOAT_EQ(1.2f, fly->position[2]);  // 3.6 - 600 / 250
    run(1, 300);
    EXPECT_EQ(1u, manager->dyingUnits.size());
    run(1, 300);
    EXPECT_TRUE(manager->dyingUnits.empty());
}

TEST_F(Combat, TowerDeathLowersTheCountAndAMorphUnderWayGoesOn) {
    Unit* tower = spawn(kSlimeTower, 20.0f, 20.0f, 2);
    manager->players[2].towerCount = 1;
    Unit* muffin = spawn(kMuffin, 40.0f, 40.0f, 2);
    int flySlot = 2;
    manager->order(muffin, kMorph, &flySlot);
    ASSERT_EQ(kMorph, muffin->state);
    tower->life = -1.0f;
    run(1, 100);
    EXPECT_EQ(0, manager->players[2].towerCount);
    run(200, 100);
    EXPECT_EQ(kFly, muffin->type);
}

}  // namespace
