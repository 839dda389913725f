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

class Combat : public EmptyMapTest {
protected:
    // An 8-damage shot already at its aim point: it hits in the next update.
    void incoming(Unit* source, Unit* target) {
        Projectile* p = new Projectile();
        p->damage = 8;
        p->target = target;
        p->source = source;
        for (int k = 0; k < 3; ++k) {
            p->position[k] = target->position[k] + (k == 2 ? 0.2f : 0.0f);
        }
        manager->projectiles.push_back(p);
    }
};

TEST_F(Combat, AcquisitionTakesTheFirstForeignUnitInRangeAndTheHumanNeverFiresIntoFog) {
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 0);
    spawn(kBlob, 21.0f, 20.0f, 0);                 // own
    spawn(kBlob, 23.0f, 20.0f, 1)->hidden = true;  // in the fog
    Unit* first = spawn(kBlob, 26.0f, 20.0f, 1);
    spawn(kBlob, 22.0f, 20.0f, 1);                 // nearer, but later in the list
    Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 1);
    Unit* hiddenHuman = spawn(kBlob, 44.0f, 40.0f, 0);
    hiddenHuman->hidden = true;                    // the computer fires into the fog
    run(1, 100);
    EXPECT_EQ(first, drop->target);
    EXPECT_EQ(kIdle, drop->state);
    EXPECT_EQ(1250, drop->attackPause);
    EXPECT_EQ(hiddenHuman, enemyDrop->target);
    ASSERT_EQ(2u, manager->projectiles.size());
    const Projectile* p = manager->projectiles[0];
    EXPECT_TRUE(p->target == first && p->source == drop && p->kind == 1 && p->player == 0);

    // A beam keeps burning 0.006 per ms against the 0.0005 of regeneration while the Blob stays within 3.0.
    removeUnits();
    Unit* blob = spawn(kBlob, 22.0f, 20.0f, 0);
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 1);
    run(10, 100);
    EXPECT_NEAR(44.45f, blob->life, 1e-3f);
    EXPECT_TRUE(manager->projectiles.empty());
    blob->position[0] = 23.5f;
    run(1, 200);
    EXPECT_NEAR(44.55f, blob->life, 1e-3f);
    EXPECT_EQ(-1, muffin->beamEffect);
}

TEST_F(Combat, ShotsFlyAtFourPerSecondHitAndFadeFor2000MsOrFadeUnspentWhenTheTargetDies) {
    // 5.004 to the aim point 0.2 above the target at 1.0 per 250 ms frame: the shot hits in frame 6, just
    // when the 1250 ms reload lets the next one go.
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 1);
    Unit* blob = spawn(kBlob, 25.0f, 20.0f, 2);
    run(1, 250);
    Projectile* first = manager->projectiles[0];
    EXPECT_NEAR(21.0f, first->position[0], 1e-3f);
    run(4, 250);
    EXPECT_EQ(0, first->impactTime);
    EXPECT_FLOAT_EQ(50.0f, blob->life);
    run(1, 250);
    EXPECT_EQ(1, first->impactTime);
    EXPECT_FLOAT_EQ(42.0f, blob->life);
    EXPECT_EQ(2u, manager->projectiles.size());
    // Frame 11: the second shot hits (42 + 5 * 0.125 - 8, then two frames of regeneration) and the third
    // leaves; frame 14 is 2000 ms after the first impact.
    run(7, 250);
    EXPECT_FLOAT_EQ(34.875f, blob->life);
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
    EXPECT_TRUE(manager->dyingUnits.empty() && drop->target == nullptr && third->target == nullptr);
    run(1, 250);
    EXPECT_TRUE(manager->projectiles.empty());
}

TEST_F(Combat, IdleUnitsRetaliateAndOnlyHitsOnTheHumanSoundTheThrottledAlert) {
    // The Drop's shot travels 6.003 at 1.0 per frame and hits the Muffin in frame 7.
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 26.0f, 20.0f, 1);
    run(6, 250);
    EXPECT_FLOAT_EQ(60.0f, muffin->life);
    run(1, 250);
    EXPECT_FLOAT_EQ(52.0f, muffin->life);
    EXPECT_TRUE(muffin->state == kAttack && muffin->target == drop);
    EXPECT_TRUE(soundPlayed(kSoundAttack));
    unsigned int played = gSoundLastPlayed[kSoundAttack];

    // A second human unit hit soon after: no second alert. A Blob cannot fight back.
    Unit* blob = spawn(kBlob, 40.0f, 40.0f, 0);
    incoming(drop, blob);
    SDL_Delay(2);
    run(1, 10);
    EXPECT_FLOAT_EQ(42.0f, blob->life);
    EXPECT_EQ(kIdle, blob->state);
    EXPECT_EQ(played, gSoundLastPlayed[kSoundAttack]);

    // A computer unit hit while the alert is free: it answers, silently. A busy unit does not answer.
    Unit* enemy = spawn(kRotundus, 50.0f, 50.0f, 2);
    Unit* walker = spawn(kRotundus, 50.0f, 10.0f, 2);
    manager->order(walker, kMove, At(50.0f, 20.0f));
    armSound(kSoundAttack);
    incoming(muffin, enemy);
    incoming(muffin, walker);
    run(1, 10);
    EXPECT_TRUE(enemy->state == kAttack && enemy->target == muffin);
    EXPECT_EQ(kMove, walker->state);
    EXPECT_FALSE(soundPlayed(kSoundAttack));
}

TEST_F(Combat, AttackStateClosesInThenFiresOrGivesUpOnAnUnhittableTarget) {
    // Rotundus: 0.17 per 100 ms, range 6.0. 7.0 -> 6.15 after five steps, 5.98 after six; the seventh fires.
    Unit* rotundus = spawn(kRotundus, 20.0f, 20.0f, 0);
    Unit* enemy = spawn(kBlob, 27.0f, 20.0f, 1);
    manager->order(rotundus, kAttack, enemy);
    run(5, 100);
    EXPECT_NEAR(20.85f, rotundus->position[0], 1e-3f);
    run(1, 100);
    EXPECT_TRUE(manager->projectiles.empty());
    run(1, 100);
    ASSERT_EQ(1u, manager->projectiles.size());
    EXPECT_TRUE(rotundus->cooldown == 1400 && rotundus->attackPause == 1400 && rotundus->state == kAttack);

    // Slimy (air only, 0.28 per 100 ms) on a ground unit 10 away: 5.8 after 15 steps, then it stands.
    Unit* slimy = spawn(kSlimy, 20.0f, 40.0f, 0);
    Unit* blob = spawn(kBlob, 30.0f, 40.0f, 1);
    manager->order(slimy, kAttack, blob);
    run(15, 100);
    EXPECT_EQ(kAttack, slimy->state);
    EXPECT_EQ("30,40", xy(slimy->destination));
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
    EXPECT_TRUE(manager->groups[5].empty() && attacker->state == kIdle && chaser->state == kIdle);
    EXPECT_EQ(std::vector<Unit*>{victim}, manager->dyingUnits);
    EXPECT_EQ(nullptr, manager->projectiles[0]->source);
    // The dead shooter's shot still hits but draws no retaliation; a death nobody had selected or grouped
    // needs no new command panel.
    attacker->life = -5.0f;
    EXPECT_FALSE(run(10, 100));
    EXPECT_FLOAT_EQ(112.0f, bystander->life);
    EXPECT_EQ(kIdle, bystander->state);
}

TEST_F(Combat, DeadUnitsSinkFor700MsOnTheGroundAnd1200MsInTheAirAndDeadTowersStopCounting) {
    Unit* blob = spawn(kBlob, 20.0f, 20.0f, 1);
    Unit* fly = spawn(kFly, 30.0f, 30.0f, 1);
    blob->life = fly->life = -1.0f;
    run(1, 350);
    EXPECT_FLOAT_EQ(0.25f, blob->position[2]);  // 0.6 - 350 / 1000
    EXPECT_FLOAT_EQ(2.2f, fly->position[2]);    // 3.6 - 350 / 250
    run(1, 350);
    EXPECT_EQ(std::vector<Unit*>{fly}, manager->dyingUnits);
    run(1, 490);
    EXPECT_EQ(1u, manager->dyingUnits.size());
    run(1, 20);
    EXPECT_TRUE(manager->dyingUnits.empty());

    // A morph that needed the tower goes on after the tower's death.
    Unit* tower = spawn(kSlimeTower, 20.0f, 20.0f, 2);
    manager->players[2].towerCount = 1;
    Unit* muffin = spawn(kMuffin, 40.0f, 40.0f, 2);
    int flySlot = 2;
    manager->order(muffin, kMorph, &flySlot);
    tower->life = -1.0f;
    run(1, 100);
    EXPECT_EQ(0, manager->players[2].towerCount);
    run(200, 100);
    EXPECT_EQ(kFly, muffin->type);
}

}  // namespace
