#include <gtest/gtest.h>

#include <cstdlib>

#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "simulation_fixture.h"

namespace {

class ComputerPlayers : public SimulationTest {
public:
    void resetForSeed() { clearUnits(); }

protected:
    // Removes every unit so one test can try several starting positions.
    void clearUnits() {
        manager->selection.clear();
        for (size_t i = 0; i < manager->units.size(); ++i) {
            delete manager->units[i];
        }
        manager->units.clear();
        for (int p = 0; p < 4; ++p) {
            manager->players[p] = PlayerState();
        }
        manager->players[0].isComputer = false;
        manager->gameResult = 0;
    }
    int countState(int player, int state) const {
        int n = 0;
        for (size_t i = 0; i < manager->units.size(); ++i) {
            if (manager->units[i]->player == player && manager->units[i]->state == state) {
                ++n;
            }
        }
        return n;
    }
    int countMorphsInto(int player, int type) const {
        int n = 0;
        for (size_t i = 0; i < manager->units.size(); ++i) {
            const Unit* u = manager->units[i];
            if (u->player == player && u->state == kMorph && u->morphTarget == type) {
                ++n;
            }
        }
        return n;
    }
    void spawnRow(int type, int count, int player, float y) {
        for (int i = 0; i < count; ++i) {
            spawn(type, 10.0f + 2.0f * (float)i, y, player);
        }
    }
};

TEST_F(ComputerPlayers, AtTheStartOnEasyASplitNeedsOneInTenThenIdleBlobsMine) {
    // Three idle Blobs weigh 3, above the cap of 2: the first draw decides, rand() % 10 == 0 splits.
    unsigned splitSeed = 0;
    unsigned holdSeed = 0;
    for (unsigned s = 1; s < 1000 && (splitSeed == 0 || holdSeed == 0); ++s) {
        srand(s);
        if (rand() % 10 == 0) {
            if (splitSeed == 0) splitSeed = s;
        } else if (holdSeed == 0) {
            holdSeed = s;
        }
    }
    ASSERT_NE(0u, splitSeed);
    const unsigned seeds[2] = {splitSeed, holdSeed};
    for (int k = 0; k < 2; ++k) {
        clearUnits();
        spawnRow(kBlob, 3, 1, 50.0f);
        srand(seeds[k]);
        manager->thinkComputerPlayers();
        EXPECT_EQ(k == 0 ? 1 : 0, countState(1, kSplit)) << "seed " << seeds[k];
        // Whatever is not splitting or morphing went mining.
        EXPECT_EQ(3, countState(1, kSplit) + countState(1, kMorph) + countState(1, kMine));
    }
}

TEST_F(ComputerPlayers, BelowTheWorkerCapEveryCallSplits) {
    // Hard: cap 8 at the start. Three idle Blobs: one split, no chance draw, 50 crystals paid.
    manager->difficulty = 2;
    spawnRow(kBlob, 3, 2, 50.0f);
    manager->thinkComputerPlayers();
    EXPECT_EQ(1, countState(2, kSplit));
    EXPECT_EQ(2, countState(2, kMine));
    EXPECT_NEAR(50.9f, manager->players[2].crystals, 1e-4f);
}

// Splits ordered by player 1 over 20 seeds, starting each time from `blobs` idle Blobs at game time t.
int splitsOverSeeds(ComputerPlayers* test, UnitManager* m, int blobs, int t);

TEST_F(ComputerPlayers, TheWorkerCapGrowsEveryFiftySecondsByFourAtMost) {
    // Easy: cap 2 + t / 50000, at most 6. Three idle Blobs are at the cap until 100 s, below it after.
    EXPECT_LE(splitsOverSeeds(this, manager, 3, 99999), 6);
    EXPECT_EQ(20, splitsOverSeeds(this, manager, 3, 100000));
    // Much later the cap stays 6: five Blobs always split, six only by chance.
    EXPECT_EQ(20, splitsOverSeeds(this, manager, 5, 10000000));
    EXPECT_LE(splitsOverSeeds(this, manager, 6, 10000000), 6);
}

TEST_F(ComputerPlayers, SplittingBlobsCountTwiceMorphingOnesNotAtAll) {
    // Medium, cap 5 at the start. A: three idle Blobs and one splitting = weight 5, at the cap, so only
    // about one call in eight splits. B: four idle Blobs and one morphing = weight 4, below it, so every
    // call orders a split (refused only when it picks the morphing Blob, one time in five).
    manager->difficulty = 1;
    int splitsAtCap = 0;
    int splitsBelowCap = 0;
    for (unsigned s = 1; s <= 40; ++s) {
        clearUnits();
        spawnRow(kBlob, 3, 1, 50.0f);
        spawn(kBlob, 40.0f, 40.0f, 1)->state = kSplit;
        srand(s);
        manager->thinkComputerPlayers();
        splitsAtCap += countState(1, kSplit) - 1;

        clearUnits();
        spawnRow(kBlob, 4, 1, 50.0f);
        Unit* morphing = spawn(kBlob, 40.0f, 40.0f, 1);
        morphing->state = kMorph;
        morphing->morphTarget = kMuffin;
        srand(s);
        manager->thinkComputerPlayers();
        splitsBelowCap += countState(1, kSplit);
    }
    EXPECT_LE(splitsAtCap, 12);
    EXPECT_GE(splitsBelowCap, 25);
}

TEST_F(ComputerPlayers, MuffinsPreferTheFlyOnceATowerStands) {
    // A Blob building a tower counts as having one; the Fly also needs a finished tower to be paid for.
    int flies = 0;
    int morphs = 0;
    for (unsigned s = 1; s <= 40; ++s) {
        clearUnits();
        spawn(kMuffin, 20.0f, 20.0f, 3);
        Unit* builder = spawn(kBlob, 30.0f, 30.0f, 3);
        builder->state = kMorph;
        builder->morphTarget = kSlimeTower;
        manager->players[3].towerCount = 1;
        manager->players[3].crystals = 100.0f;
        srand(s);
        manager->thinkComputerPlayers();
        flies += countMorphsInto(3, kFly);
        morphs += countState(3, kMorph) - 1;
    }
    // Three in four by the preference, plus slot C drawn outright: at least 30 of 40.
    EXPECT_GE(flies, 30);
    EXPECT_EQ(40, morphs);  // 100 > 75: every chosen morph is affordable

    // Without any tower the Fly never comes.
    flies = 0;
    for (unsigned s = 1; s <= 20; ++s) {
        clearUnits();
        spawn(kMuffin, 20.0f, 20.0f, 3);
        manager->players[3].crystals = 100.0f;
        srand(s);
        manager->thinkComputerPlayers();
        flies += countMorphsInto(3, kFly);
    }
    EXPECT_EQ(0, flies);
}

TEST_F(ComputerPlayers, UpgradesWaitForTheGrowingReserve) {
    // Two minutes in, the reserve is 80 crystals: 79 left means no upgrade at all.
    manager->gameTime = 120000;
    for (unsigned s = 1; s <= 20; ++s) {
        clearUnits();
        spawn(kMuffin, 20.0f, 20.0f, 1);
        manager->players[1].crystals = 79.0f;
        srand(s);
        manager->thinkComputerPlayers();
        EXPECT_EQ(0, countState(1, kMorph)) << s;
    }
}

// Counts Blobs sent off to become towers over `calls` decisions at game time t with plenty of money.
int towerStarts(ComputerPlayers* test, UnitManager* m, int difficulty, int t, int calls) {
    (void)test;
    m->difficulty = difficulty;
    m->gameTime = t;
    m->players[1].crystals = 100000.0f;
    srand(99);
    for (int i = 0; i < calls; ++i) {
        m->thinkComputerPlayers();
    }
    int n = 0;
    for (size_t i = 0; i < m->units.size(); ++i) {
        if (m->units[i]->state == kMorph && m->units[i]->morphTarget == kSlimeTower) {
            ++n;
        }
    }
    return n;
}

TEST_F(ComputerPlayers, HardBuildsItsFirstTowerFromSixtySecondsAndOnlyOneAtATime) {
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(0, towerStarts(this, manager, 2, 59999, 30));
    EXPECT_GT(countMorphsInto(1, kMuffin), 0);  // arming did run, with Muffins only
    clearUnits();
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(1, towerStarts(this, manager, 2, 60000, 30));
}

TEST_F(ComputerPlayers, EasyAndMediumBuildTowersLater) {
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(0, towerStarts(this, manager, 0, 199999, 30));
    clearUnits();
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(1, towerStarts(this, manager, 0, 200000, 30));
    clearUnits();
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(0, towerStarts(this, manager, 1, 129999, 30));
    clearUnits();
    spawnRow(kBlob, 20, 1, 50.0f);
    EXPECT_EQ(1, towerStarts(this, manager, 1, 130000, 30));
}

TEST_F(ComputerPlayers, AStandingTowerPreventsASecond) {
    spawnRow(kBlob, 20, 1, 50.0f);
    spawn(kSlimeTower, 50.0f, 50.0f, 1);
    manager->players[1].towerCount = 1;
    EXPECT_EQ(0, towerStarts(this, manager, 2, 100000, 30));
}

TEST_F(ComputerPlayers, WavesStartAfterTheGracePeriodAndComeEvery25To35Seconds) {
    const int grace[3] = {150000, 125000, 100000};
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(d);
        clearUnits();
        manager->difficulty = d;
        Unit* victim = spawn(kBlob, 10.0f, 10.0f, 0);
        spawnRow(kMuffin, 30, 1, 50.0f);
        manager->gameTime = grace[d];
        manager->thinkComputerPlayers();
        EXPECT_EQ(0, countState(1, kChase));
        EXPECT_EQ(0, manager->players[1].lastWaveTime);

        manager->gameTime = grace[d] + 1;
        manager->thinkComputerPlayers();
        EXPECT_EQ(grace[d] + 1, manager->players[1].lastWaveTime);
        int chasing = countState(1, kChase);
        EXPECT_GE(chasing, 12);  // about two in three of 30
        EXPECT_LE(chasing, 28);
        for (size_t i = 0; i < manager->units.size(); ++i) {
            if (manager->units[i]->state == kChase) {
                EXPECT_EQ(victim, manager->units[i]->target);
            }
        }
        // Players without units still mark their wave.
        EXPECT_EQ(grace[d] + 1, manager->players[2].lastWaveTime);

        manager->gameTime = grace[d] + 1 + 25000;  // exactly 25 s later: not yet
        manager->thinkComputerPlayers();
        EXPECT_EQ(grace[d] + 1, manager->players[1].lastWaveTime);
        manager->gameTime = grace[d] + 1 + 35001;  // beyond 35 s: always
        manager->thinkComputerPlayers();
        EXPECT_EQ(grace[d] + 35002, manager->players[1].lastWaveTime);
    }
}

TEST_F(ComputerPlayers, AWaveWithNobodyToAttackIsSkipped) {
    spawnRow(kMuffin, 5, 1, 50.0f);
    manager->gameTime = 300000;
    manager->thinkComputerPlayers();  // must return: every unit belongs to the attacker
    EXPECT_EQ(300000, manager->players[1].lastWaveTime);
    EXPECT_EQ(0, countState(1, kChase));
    EXPECT_EQ(1, manager->gameResult);  // and the human, without units, has lost

    clearUnits();
    manager->gameTime = 400000;
    manager->thinkComputerPlayers();  // no units at all
    EXPECT_EQ(400000, manager->players[3].lastWaveTime);
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
    spawn(kBlob, 50.0f, 50.0f, 3);
    manager->thinkComputerPlayers();
    EXPECT_EQ(2, manager->gameResult);

    // The human's last unit dying in the same second as the last enemy: lost. Sinking units do not count.
    manager->units.back()->life = -1.0f;
    human->life = -1.0f;
    manager->update(10);
    ASSERT_EQ(3u, manager->dyingUnits.size());  // the first enemy is still sinking too
    manager->thinkComputerPlayers();
    EXPECT_EQ(1, manager->gameResult);
}

int splitsOverSeeds(ComputerPlayers* test, UnitManager* m, int blobs, int t) {
    int splits = 0;
    for (unsigned s = 1; s <= 20; ++s) {
        test->resetForSeed();
        for (int i = 0; i < blobs; ++i) {
            m->createUnit(kBlob, 10.0f + 2.0f * (float)i, 50.0f, 0.6f, 1);
        }
        m->gameTime = t;
        srand(s);
        m->thinkComputerPlayers();
        for (size_t i = 0; i < m->units.size(); ++i) {
            if (m->units[i]->state == kSplit) {
                ++splits;
            }
        }
    }
    return splits;
}

}  // namespace
