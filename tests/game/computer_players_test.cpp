#include "simulation_fixture.h"

class ComputerPlayers : public EmptyMapTest {
protected:
    // An empty map at time t, computer players with the given crystals and no past waves, and n Blobs of player 1.
    void reset(int difficulty, int t, int blobs = 0, float crystals = 0.0f) {
        removeUnits();
        for (int p = 1; p < 4; ++p) {
            manager->players[p] = PlayerState();
            manager->players[p].crystals = crystals;
        }
        manager->difficulty = difficulty;
        manager->gameTime = t;
        for (int i = 0; i < blobs; ++i) {
            spawn(kBlob, 10.0f + 2.0f * (float)i, 50.0f, 1);
        }
    }
    // Units of a player in a state (heading for a type, if given).
    int count(int player, int state, int morphTarget = -1) const {
        int n = 0;
        for (const Unit* u : manager->units) {
            n += u->player == player && u->state == state && (morphTarget < 0 || u->morphTarget == morphTarget);
        }
        return n;
    }
};

// Below the worker cap (3 D + 2, one more per 50 s of game time, at most 3 D + 6, so 9 and not 10 at 250 s on
// difficulty 1) a computer player splits a random Blob at every call; at the cap only one call in 10 - 2 D. A
// splitting Blob weighs two, a morphing one nothing. Measured over 20000 calls: the share of calls that split.
TEST_F(ComputerPlayers, SplitsBelowTheWorkerCapAndRarelyAtIt) {
    struct Case { int d, t, idle, busy; double share; };
    const Case cases[] = {
        {0, 0, 1, kIdle, 1.0}, {0, 0, 2, kIdle, 0.1}, {2, 0, 7, kIdle, 1.0}, {1, 250000, 9, kIdle, 0.125},
        {0, 99999, 3, kIdle, 0.1}, {0, 100000, 3, kIdle, 1.0}, {1, 250000, 8, kIdle, 1.0},
        {2, 0, 8, kIdle, 1.0 / 6.0}, {1, 0, 3, kSplit, 3.0 / 32.0}, {1, 0, 4, kMorph, 4.0 / 5.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "d " << c.d << " t " << c.t << " idle " << c.idle << " busy " << c.busy);
        reset(c.d, c.t, c.idle);
        if (c.busy != kIdle) {
            spawn(kBlob, 50.0f, 20.0f, 1)->state = c.busy;
        }
        int splits = 0;
        for (int i = 0; i < 20000; ++i) {
            manager->players[1].crystals = 100.0f;
            manager->thinkComputerPlayers();
            splits += count(1, kSplit) - (c.busy == kSplit);
            for (int k = 0; k < c.idle; ++k) {
                manager->units[k]->state = kIdle;
            }
        }
        EXPECT_NEAR(c.share, splits / 20000.0, 0.006);
    }
}

// Two minutes in, below the reserve of 80 a computer player neither arms (Blobs above the cap into Muffins) nor
// upgrades. A Muffin takes the Fly slot three times in four while its player has a tower standing or being built,
// else one of three slots: five in six in all; without a tower the Fly is refused (two calls in three).
TEST_F(ComputerPlayers, ArmingAndUpgradesWaitForTheReserveAndMuffinsFavourTheFly) {
    for (int money = 0; money < 2; ++money) {
        int armed = 0, flies = 0, plainUpgrades = 0;
        for (int i = 0; i < 3000; ++i) {
            reset(0, 120000, 6, money ? 80.0f : 79.99f);
            Unit* plain = spawn(kMuffin, 40.0f, 20.0f, 2);
            Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 3);
            Unit* builder = spawn(kBlob, 30.0f, 30.0f, 3);
            builder->state = kMorph;
            builder->morphTarget = kSlimeTower;
            manager->players[3].towerCount = 1;
            manager->thinkComputerPlayers();
            armed += count(1, kMorph, kMuffin);
            flies += muffin->state == kMorph && muffin->morphTarget == kFly;
            plainUpgrades += plain->state == kMorph;
        }
        EXPECT_NEAR(money ? 1.0 / 3.0 : 0.0, armed / 3000.0, 0.05);  // the Muffin slot of three
        EXPECT_NEAR(money ? 5.0 / 6.0 : 0.0, flies / 3000.0, 0.02);
        EXPECT_NEAR(money ? 2.0 / 3.0 : 0.0, plainUpgrades / 3000.0, 0.05);
    }
}

// No wave until the grace period of the difficulty is over; then every 25 to 35 seconds each computer
// player sends about two thirds of its fighters, never its Blobs, after one unit of another player.
TEST_F(ComputerPlayers, WavesFollowTheGracePeriodAndComeEvery25To35Seconds) {
    const int grace[3] = {150000, 125000, 100000};
    int chasers = 0, onHuman = 0;
    for (int i = 0; i < 300; ++i) {
        const int d = i % 3, t = grace[d];
        reset(d, t, 1);
        Unit* human = spawn(kBlob, 10.0f, 10.0f, 0);
        spawn(kMuffin, 50.0f, 10.0f, 2);
        for (int k = 0; k < 6; ++k) {
            spawn(kMuffin, 20.0f + 2.0f * (float)k, 50.0f, 1);
        }
        manager->thinkComputerPlayers();
        EXPECT_EQ(0, manager->players[1].lastWaveTime + count(1, kChase) + count(2, kChase));
        manager->gameTime = t + 1;
        manager->thinkComputerPlayers();
        EXPECT_TRUE(manager->players[3].lastWaveTime == t + 1 && manager->units[0]->state != kChase);
        const Unit* victim = nullptr;
        for (const Unit* u : manager->units) {
            if (u->player == 1 && u->state == kChase) {
                EXPECT_TRUE(u->target->player != 1 && (!victim || u->target == victim));
                victim = u->target;
                chasers += 1;
            }
        }
        onHuman += victim == human;
        for (int later : {25001, 35002}) {
            manager->gameTime = t + later;
            manager->thinkComputerPlayers();
        }
        EXPECT_EQ(t + 35002, manager->players[1].lastWaveTime);
    }
    EXPECT_NEAR(2.0 / 3.0, chasers / 1800.0, 0.04);
    EXPECT_TRUE(onHuman > 100 && onHuman < 200) << onHuman;  // either foreign unit, about half the time
}

TEST_F(ComputerPlayers, TheHumanWinsWhenNoComputerUnitIsLeftAndLosingOutranksWinning) {
    Unit* human = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 50.0f, 50.0f, 2);
    Crystal* crystal = addCrystal(40.0f, 50.0f);
    manager->players[2].crystals = 0.0f;  // no split
    manager->thinkComputerPlayers();
    // An idle computer Blob goes mining; the human's own is left alone.
    EXPECT_TRUE(enemy->state == kMine && enemy->crystal == crystal && human->state == kIdle && !manager->gameResult);
    enemy->life = -1.0f;
    manager->update(10);
    manager->thinkComputerPlayers();
    EXPECT_EQ(2, manager->gameResult);
    // The human's last unit dying in the same second as the last enemy: lost. Sinking units do not count.
    spawn(kBlob, 50.0f, 50.0f, 3)->life = human->life = -1.0f;
    manager->update(10);
    manager->thinkComputerPlayers();
    EXPECT_EQ(1, manager->gameResult);
    // A wave with nobody left to attack is skipped, not drawn for ever.
    reset(0, 300000);
    spawn(kMuffin, 20.0f, 50.0f, 1);
    manager->thinkComputerPlayers();
    EXPECT_TRUE(manager->players[1].lastWaveTime == 300000 && count(1, kChase) == 0);
}
