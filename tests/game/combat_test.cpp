#include <algorithm>
#include <cmath>
#include <vector>

#include "simulation_fixture.h"

class Combat : public EmptyMapTest {
protected:
    // An 8-damage shot already at its aim point 0.2 above the target: it hits in the next update.
    Projectile* incoming(Unit* source, Unit* target) {
        Projectile* p = new Projectile();
        p->damage = 8;
        p->target = target;
        p->source = source;
        std::copy(target->position, target->position + 3, p->position);
        p->position[2] += 0.2f;
        manager->projectiles.push_back(p);
        return p;
    }
};

// Only an idle, attack-moving or chasing fighter looks for targets, and that leaves its state alone. It takes
// the first foreign unit in range in list order; the human's units never fire into the fog, the computer's do.
TEST_F(Combat, AcquisitionTakesTheFirstForeignUnitInRangeAndTheHumanNeverFiresIntoFog) {
    struct Case { int state; bool fires; };
    const Case cases[] = {{kIdle, true}, {kAttackMove, true}, {kChase, true}, {kMove, false}, {kAttack, false}};
    for (const Case& c : cases) {
        removeUnits();
        Unit* drop = spawn(kDrop, 20.0f, 20.0f, 0);
        spawn(kBlob, 21.0f, 20.0f, 0);                 // own
        spawn(kBlob, 23.0f, 20.0f, 1)->hidden = true;  // in the fog
        Unit* first = spawn(kBlob, 26.0f, 20.0f, 1);
        spawn(kBlob, 22.0f, 20.0f, 1);                 // nearer, but later in the list
        Unit* enemyDrop = spawn(kDrop, 40.0f, 40.0f, 1);
        spawn(kBlob, 44.0f, 40.0f, 0)->hidden = true;  // the human's, for the computer to fire upon
        drop->state = c.state;
        drop->target = enemyDrop;  // out of range
        run(1, 100);
        EXPECT_TRUE(drop->state == c.state && drop->target == (c.fires ? first : enemyDrop)) << c.state;
        EXPECT_EQ(manager->units.back(), enemyDrop->target);
        ASSERT_EQ(c.fires ? 2u : 1u, manager->projectiles.size());
        const Projectile* p = manager->projectiles[0];
        EXPECT_TRUE(!c.fires || (p->target == first && p->source == drop && p->kind == 1 && p->player == 0));
        EXPECT_EQ(c.fires ? 1250 : 0, drop->attackPause);
    }
}

TEST_F(Combat, ShotsFlyAtFourPerSecondHitAndFadeFor2000MsOrFadeUnspentWhenTheTargetDies) {
    // 5.004 to the aim point at 1.0 per 250 ms frame: the first shot hits in frame 6, just when the 1250 ms
    // reload lets the next one go; the second hits in frame 11 (42 + 5 * 0.125 - 8, then two frames of
    // regeneration) and the third leaves; frame 14 is 2000 ms after the first impact.
    Unit* drop = spawn(kDrop, 20.0f, 20.0f, 1);
    Unit* blob = spawn(kBlob, 25.0f, 20.0f, 2);
    run(1, 250);
    Projectile* first = manager->projectiles[0];
    run(4, 250);
    EXPECT_TRUE(first->impactTime == 0 && blob->life == 50.0f);
    run(1, 250);
    EXPECT_TRUE(first->impactTime == 1 && blob->life == 42.0f && manager->projectiles.size() == 2u);
    run(7, 250);
    EXPECT_TRUE(blob->life == 34.875f && manager->projectiles.size() == 3u);
    run(1, 250);
    ASSERT_EQ(2u, manager->projectiles.size());
    // The target dies with the third shot in flight: it stops, does no harm, and fades for 2000 ms.
    Projectile* third = manager->projectiles[1];
    blob->life = -1.0f;
    run(1, 250);
    float x = third->position[0];
    run(7, 250);
    ASSERT_EQ(std::vector<Projectile*>{third}, manager->projectiles);
    // The dead unit is deleted by now: nothing may still point at it.
    EXPECT_TRUE(x == third->position[0] && manager->dyingUnits.empty() && !drop->target && !third->target);
    run(1, 250);
    EXPECT_TRUE(manager->projectiles.empty());
}

TEST_F(Combat, IdleUnitsRetaliateAndHitsOnTheHumanSoundTheThrottledAlert) {
    Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 0);
    Unit* drop = spawn(kDrop, 40.0f, 40.0f, 1);
    Unit* blob = spawn(kBlob, 30.0f, 30.0f, 0);
    Unit* walker = spawn(kRotundus, 50.0f, 10.0f, 2);
    manager->order(walker, kMove, At(50.0f, 20.0f));
    incoming(drop, muffin);
    incoming(drop, walker);
    run(1, 10);
    EXPECT_TRUE(muffin->life == 52.0f && muffin->state == kAttack && muffin->target == drop && walker->state == kMove);
    EXPECT_TRUE(soundPlayed(kSoundAttack));
    // A second human unit hit soon after: no second alert. A Blob cannot fight back.
    unsigned int played = gSoundLastPlayed[kSoundAttack];
    incoming(drop, blob);
    SDL_Delay(2);
    run(1, 10);
    EXPECT_TRUE(blob->life == 42.0f && blob->state == kIdle && gSoundLastPlayed[kSoundAttack] == played);
}

TEST_F(Combat, AttackStateClosesInThenFiresOrGivesUpOnAnUnhittableTarget) {
    // Rotundus: 0.17 per 100 ms, range 6.0. 7.0 -> 6.15 after five steps, 5.98 after six; the seventh fires.
    Unit* rotundus = spawn(kRotundus, 20.0f, 20.0f, 0);
    manager->order(rotundus, kAttack, spawn(kBlob, 27.0f, 20.0f, 1));
    EXPECT_TRUE(!run(6, 100) && manager->projectiles.empty());
    run(1, 100);
    EXPECT_TRUE(manager->projectiles.size() == 1u && rotundus->cooldown == 1400 && rotundus->attackPause == 1400);
    run(1, 1399);  // reloaded all but 1 ms: no second shot yet
    EXPECT_TRUE(manager->projectiles.size() == 1u && rotundus->state == kAttack);
    // Slimy (air only, 0.28 per 100 ms) on a ground unit 10 away: 5.8 after 15 steps, then it stands.
    Unit* slimy = spawn(kSlimy, 20.0f, 40.0f, 0);
    Unit* blob = spawn(kBlob, 30.0f, 40.0f, 1);
    manager->order(slimy, kAttack, blob);
    run(15, 100);
    EXPECT_TRUE(slimy->state == kAttack && xy(slimy->destination) == "30,40");
    run(1, 100);
    EXPECT_TRUE(slimy->state == kIdle && blob->life == 50.0f && fabsf(slimy->position[0] - 24.2f) < 1e-3f);
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
    incoming(victim, bystander)->position[0] += 4.1f;  // 0.4 per frame: hits in frame 11
    victim->life = -5.0f;
    EXPECT_TRUE(manager->update(100));
    EXPECT_TRUE(manager->selection == manager->groups[2] && manager->selection == std::vector<Unit*>{bystander});
    EXPECT_TRUE(manager->groups[5].empty() && attacker->state == kIdle && chaser->state == kIdle);
    EXPECT_TRUE(manager->dyingUnits == std::vector<Unit*>{victim} && !manager->projectiles[0]->source);
    // The dead shooter's shot still hits but draws no retaliation; this death needs no new command panel.
    attacker->life = -5.0f;
    EXPECT_FALSE(run(10, 100));
    EXPECT_TRUE(bystander->life == 112.0f && bystander->state == kIdle);
}
