#include <gtest/gtest.h>

#include <cstdlib>

#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

// Each decision is checked against the draws the rules prescribe, replayed from the same seed.
namespace {

class ComputerPlayers : public SimulationTest {
protected:
    // No units, fresh accounts, game time and difficulty as given; the crystal field stays.
    void reset(int difficulty, int t) {
        manager->selection.clear();
        for (size_t i = 0; i < manager->units.size(); ++i) {
            delete manager->units[i];
        }
        manager->units.clear();
        for (int p = 1; p < kPlayerCount; ++p) {
            manager->players[p] = PlayerState();
        }
        manager->difficulty = difficulty;
        manager->gameTime = t;
    }
    // n units of one type and player in a row.
    void row(int type, int n, int player, float y) {
        for (int i = 0; i < n; ++i) {
            spawn(type, 10.0f + 2.0f * (float)i, y, player);
        }
    }
    // Units in a state (and heading for a type, if given).
    int count(int state, int morphTarget = -1) const {
        int n = 0;
        for (size_t i = 0; i < manager->units.size(); ++i) {
            const Unit* u = manager->units[i];
            n += u->state == state && (morphTarget < 0 || u->morphTarget == morphTarget);
        }
        return n;
    }
};

TEST_F(ComputerPlayers, EasyStartSplitsOneTimeInTenThenMinesThenArms) {
    // Three idle Blobs weigh 3 against a cap of 2: the split needs rand() % 10 == 0 first. Every Blob still
    // idle goes mining; arming (3 > 2) then draws a slot and, unless it is the tower, a Blob.
    int splits = 0;
    for (unsigned s = 1; s <= 30; ++s) {
        reset(0, 0);
        row(kBlob, 3, 1, 50.0f);
        srand(s);
        int split = rand() % 10 == 0 ? rand() % 3 : -1;
        int slot = rand() % 3;
        int k = slot != 2 ? rand() % 3 : -1;  // slot 1 is empty: that order does nothing
        int armed = slot == 0 ? k : -1;
        srand(s);
        manager->thinkComputerPlayers();
        for (int i = 0; i < 3; ++i) {
            int expected = i == split ? kSplit : (i == armed ? kMorph : kMine);
            EXPECT_EQ(expected, manager->units[i]->state) << "seed " << s << " blob " << i;
        }
        splits += split >= 0;
    }
    EXPECT_GT(splits, 0);
}

TEST_F(ComputerPlayers, WorkerCapGrowsWithTimeAndDifficultyAndWeighsSplitsDouble) {
    // At or above the cap C = 3 D + 2 + t / 50000 (at most 3 D + 6) a split first needs
    // rand() % (10 - 2 D) == 0; below it the Blob is drawn at once. A splitting Blob weighs 2, a morphing 0.
    struct Case { int d, t, idle, extraState; bool atCap; };
    const Case cases[] = {
        {0, 0, 1, kIdle, false},       {0, 0, 2, kIdle, true},         {0, 99999, 3, kIdle, true},
        {0, 100000, 3, kIdle, false},  {0, 10000000, 5, kIdle, false}, {0, 10000000, 6, kIdle, true},
        {2, 0, 7, kIdle, false},       {2, 0, 8, kIdle, true},         {1, 0, 3, kSplit, true},
        {1, 0, 4, kMorph, false},
    };
    for (const Case& c : cases) {
        for (unsigned s = 1; s <= 10; ++s) {
            SCOPED_TRACE(testing::Message() << "d " << c.d << " t " << c.t << " blobs " << c.idle << " seed " << s);
            reset(c.d, c.t);
            row(kBlob, c.idle, 1, 50.0f);
            if (c.extraState != kIdle) {
                Unit* busy = spawn(kBlob, 50.0f, 20.0f, 1);
                busy->state = c.extraState;
                busy->morphTarget = kMuffin;
            }
            int blobs = c.idle + (c.extraState != kIdle);
            srand(s);
            int k = !c.atCap || rand() % (10 - 2 * c.d) == 0 ? rand() % blobs : -1;
            srand(s);
            manager->thinkComputerPlayers();
            for (int i = 0; i < c.idle; ++i) {
                EXPECT_EQ(i == k, manager->units[i]->state == kSplit) << "blob " << i;
            }
        }
    }
}

TEST_F(ComputerPlayers, UpgradesWaitForTheReserveAndMuffinsFavourTheFlyOnceATowerIsComing) {
    // One Muffin and a Blob building a tower: the expansion draw picks the busy Blob in vain, then the
    // upgrade draws a slot, the fighter and, for a Muffin, 3 in 4 that it takes slot C (the Fly).
    const int muffinTargets[3] = {kDrop, kRotundus, kFly};
    for (unsigned s = 1; s <= 12; ++s) {
        reset(0, 0);
        Unit* muffin = spawn(kMuffin, 20.0f, 20.0f, 3);
        Unit* builder = spawn(kBlob, 30.0f, 30.0f, 3);
        builder->state = kMorph;
        builder->morphTarget = kSlimeTower;
        manager->players[3].towerCount = 1;
        srand(s);
        rand();
        int slot = rand() % 3;
        rand();
        if (rand() % 4 != 0) {
            slot = 2;
        }
        srand(s);
        manager->thinkComputerPlayers();
        EXPECT_EQ(kMorph, muffin->state) << s;
        EXPECT_EQ(muffinTargets[slot], muffin->morphTarget) << s;
    }
    // Two minutes in the reserve is 80: 79 crystals buy nothing, 80 do. Without a tower slot C is refused,
    // yet the Muffin's third draw is still made before the next player's.
    for (unsigned s = 1; s <= 12; ++s) {
        for (int money = 79; money <= 80; ++money) {
            reset(0, 120000);
            Unit* first = spawn(kMuffin, 20.0f, 20.0f, 1);
            Unit* second = spawn(kMuffin, 40.0f, 20.0f, 2);
            manager->players[1].crystals = manager->players[2].crystals = (float)money;
            srand(s);
            int slot1 = rand() % 3;
            rand();  // the fighter
            rand();  // the Fly preference
            int slot2 = rand() % 3;
            srand(s);
            manager->thinkComputerPlayers();
            EXPECT_EQ(money == 80 && slot1 != 2 ? kMorph : kIdle, first->state) << s;
            EXPECT_EQ(money == 80 && slot2 != 2 ? kMorph : kIdle, second->state) << s;
        }
    }
}

TEST_F(ComputerPlayers, TowersStartByDifficultyAndOnlyOneAtATime) {
    // Per difficulty: nothing just before the first allowed time, then exactly one tower, and none at all
    // beside a standing one.
    const int firstTime[3] = {200000, 130000, 60000};
    for (int d = 0; d < 3; ++d) {
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE(testing::Message() << "d " << d << " case " << c);
            reset(d, firstTime[d] - (c == 0 ? 1 : 0));
            row(kBlob, 20, 1, 50.0f);
            if (c == 2) {
                spawn(kSlimeTower, 50.0f, 20.0f, 1);
                manager->players[1].towerCount = 1;
            }
            manager->players[1].crystals = 100000.0f;
            srand(99);
            for (int i = 0; i < 30; ++i) {
                manager->thinkComputerPlayers();
            }
            EXPECT_EQ(c == 1 ? 1 : 0, count(kMorph, kSlimeTower));
            EXPECT_GT(count(kMorph, kMuffin), 0);
        }
    }
}

TEST_F(ComputerPlayers, WavesFollowTheGracePeriodAndComeEvery25To35Seconds) {
    // Units: a human Blob, a Muffin of player 2 and six Muffins of player 1. Without money nothing but
    // the waves draws: per player the interval, the victim (again while it is the player's own), then
    // one draw per fighter, two in three of which chase.
    const int grace[3] = {150000, 125000, 100000};
    for (int d = 0; d < 3; ++d) {
        for (unsigned s = 1; s <= 4; ++s) {
            SCOPED_TRACE(testing::Message() << "d " << d << " seed " << s);
            reset(d, grace[d]);
            spawn(kBlob, 10.0f, 10.0f, 0);
            spawn(kMuffin, 50.0f, 10.0f, 2);
            row(kMuffin, 6, 1, 50.0f);
            for (int p = 0; p < kPlayerCount; ++p) {
                manager->players[p].crystals = 0.0f;
            }
            manager->thinkComputerPlayers();
            EXPECT_EQ(0, manager->players[1].lastWaveTime);
            EXPECT_EQ(0, count(kChase));

            manager->gameTime = grace[d] + 1;
            srand(s);
            Unit* expectedTarget[8] = {};
            for (int p = 1; p <= 3; ++p) {
                rand();
                Unit* v;
                do {
                    v = manager->units[rand() % 8];
                } while (v->player == p);
                for (int i = 0; i < 8; ++i) {
                    if (manager->units[i]->player == p && manager->units[i]->type != kBlob && rand() % 3 != 0) {
                        expectedTarget[i] = v;
                    }
                }
            }
            srand(s);
            manager->thinkComputerPlayers();
            for (int p = 1; p <= 3; ++p) {
                EXPECT_EQ(grace[d] + 1, manager->players[p].lastWaveTime);
            }
            for (int i = 0; i < 8; ++i) {
                const Unit* u = manager->units[i];
                EXPECT_EQ(expectedTarget[i] ? kChase : kIdle, u->state) << i;
                if (expectedTarget[i]) {
                    EXPECT_EQ(expectedTarget[i], u->target) << i;
                }
            }
            manager->gameTime = grace[d] + 1 + 25000;
            manager->thinkComputerPlayers();
            EXPECT_EQ(grace[d] + 1, manager->players[1].lastWaveTime);
            manager->gameTime = grace[d] + 1 + 35001;
            manager->thinkComputerPlayers();
            EXPECT_EQ(grace[d] + 35002, manager->players[1].lastWaveTime);
        }
    }
}

TEST_F(ComputerPlayers, AWaveWithNobodyToAttackIsSkipped) {
    row(kMuffin, 5, 1, 50.0f);
    manager->gameTime = 300000;
    manager->thinkComputerPlayers();
    EXPECT_EQ(300000, manager->players[1].lastWaveTime);
    EXPECT_EQ(0, count(kChase));
    EXPECT_EQ(1, manager->gameResult);  // and the human, without units, has lost
}

TEST_F(ComputerPlayers, TheHumanWinsWhenNoComputerUnitIsLeftAndLosingOutranksWinning) {
    Unit* human = spawn(kBlob, 10.0f, 10.0f, 0);
    Unit* enemy = spawn(kBlob, 50.0f, 50.0f, 2);
    manager->thinkComputerPlayers();
    EXPECT_EQ(0, manager->gameResult);
    enemy->life = -1.0f;
    manager->update(10);
    manager->thinkComputerPlayers();
    EXPECT_EQ(2, manager->gameResult);
    // Once decided it never returns to 0, even if a computer unit turns up again.
    Unit* late = spawn(kBlob, 50.0f, 50.0f, 3);
    manager->thinkComputerPlayers();
    EXPECT_EQ(2, manager->gameResult);
    // The human's last unit dying in the same second as the last enemy: lost. Sinking units do not count.
    late->life = -1.0f;
    human->life = -1.0f;
    manager->update(10);
    ASSERT_EQ(3u, manager->dyingUnits.size());
    manager->thinkComputerPlayers();
    EXPECT_EQ(1, manager->gameResult);
}

}  // namespace
