#include "simulation_fixture.h"

typedef EmptyMapTest UnitTypes;

// Each type as a player meets it: an enemy Blob or Fly at exactly its range is fired upon and one 0.01 further
// is not; a shot carries the type's damage and reloads for its interval, a beam takes damage per second (here
// 100 ms of it, while the victim regenerates 0.05); a walk of one second along (3, 4) / 5 covers its speed.
TEST_F(UnitTypes, EachTypeFightsWalksFliesAndLivesByItsStats) {
    struct Row { int type; float range; bool ground, air, flies; float speed; int life, damage, reload; };
    const Row rows[] = {
        {kBlob, 2.3f, false, false, false, 1.0f, 50, 0, 0}, {kMuffin, 3.0f, true, false, false, 2.2f, 60, 6, 0},
        {kDrop, 6.5f, true, true, false, 1.8f, 100, 8, 1250}, {kBomber, 9.0f, true, false, true, 1.7f, 200, 18, 1800},
        {kRotundus, 6.0f, true, false, false, 1.7f, 120, 10, 1400}, {kFly, 4.0f, true, true, true, 2.9f, 120, 9, 1350},
        {kSlimeTower, 7.0f, true, true, false, 0.0f, 400, 8, 0}, {kSlimy, 6.0f, false, true, true, 2.8f, 120, 15, 0},
        {kMonsterpillow, 6.0f, true, false, false, 1.4f, 250, 14, 1500},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(manager->templates[r.type]->name);
        for (int air = 0; air < 2; ++air) {
            removeUnits();
            Unit* shooter = spawn(r.type, 20.0f, 20.0f, 1);
            spawn(air ? kFly : kBlob, 20.0f, 20.0f + r.range + 0.01f, 0);
            Unit* victim = spawn(air ? kFly : kBlob, 20.0f + r.range, 20.0f, 0);
            run(1, 100);
            const bool fires = air ? r.air : r.ground;
            EXPECT_EQ(fires ? victim : nullptr, shooter->target) << air;
            if (fires && r.reload == 0) {
                EXPECT_NEAR((air ? 120.05f : 50.05f) - (float)r.damage / 10.0f, victim->life, 1e-4f);
            } else if (fires) {
                ASSERT_FALSE(manager->projectiles.empty());
                EXPECT_TRUE(manager->projectiles[0]->damage == r.damage && shooter->cooldown == r.reload);
            }
        }
        removeUnits();
        Unit* u = spawn(r.type, 20.0f, 20.0f, 1);
        manager->order(u, kMove, At(32.0f, 36.0f));
        run(10, 100);
        EXPECT_NEAR(20.0f + 0.6f * r.speed, u->position[0], 1e-4f);
        EXPECT_NEAR(20.0f + 0.8f * r.speed, u->position[1], 1e-4f);
        EXPECT_TRUE(u->position[2] == (r.flies ? 3.6f : 0.6f) && u->life == (float)r.life);
    }
}
