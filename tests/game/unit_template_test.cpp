#include <gtest/gtest.h>

#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/shader.h"
#include "simulation_fixture.h"

namespace {

typedef EmptyMapTest UnitTypes;

// Each type as a player meets it: an enemy Blob or Fly at exactly its range is fired upon and one 0.01
// further is not; a shot carries the type's damage and reloads for its interval, a beam takes damage per
// second (here 100 ms of it, while the victim regenerates 0.05); a walk of one second covers its speed.
TEST_F(UnitTypes, EachTypeFightsWalksFliesAndLivesByItsStats) {
    struct Row { int type; float range; bool ground, air, flies; float speed; int life, damage, reload; };
    const Row rows[] = {
        {kBlob, 2.3f, false, false, false, 1.0f, 50, 0, 0},
        {kMuffin, 3.0f, true, false, false, 2.2f, 60, 6, 0},
        {kDrop, 6.5f, true, true, false, 1.8f, 100, 8, 1250},
        {kRotundus, 6.0f, true, false, false, 1.7f, 120, 10, 1400},
        {kMonsterpillow, 6.0f, true, false, false, 1.4f, 250, 14, 1500},
        {kSlimeTower, 7.0f, true, true, false, 0.0f, 400, 8, 0},
        {kFly, 4.0f, true, true, true, 2.9f, 120, 9, 1350},
        {kBomber, 9.0f, true, false, true, 1.7f, 200, 18, 1800},
        {kSlimy, 6.0f, false, true, true, 2.8f, 120, 15, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(manager->templates[r.type]->name);
        for (int air = 0; air < 2; ++air) {
            removeUnits();
            Unit* shooter = spawn(r.type, 20.0f, 20.0f, 1);
            spawn(air ? kFly : kBlob, 20.0f, 20.0f + r.range + 0.01f, 0);
            Unit* victim = spawn(air ? kFly : kBlob, 20.0f + r.range, 20.0f, 0);
            run(1, 100);
            if (!(air ? r.air : r.ground)) {
                EXPECT_EQ(nullptr, shooter->target) << air;
            } else if (r.reload == 0) {
                EXPECT_EQ(victim, shooter->target) << air;
                EXPECT_NEAR((air ? 120.05f : 50.05f) - (float)r.damage / 10.0f, victim->life, 1e-4f);
            } else {
                EXPECT_EQ(victim, shooter->target) << air;
                ASSERT_FALSE(manager->projectiles.empty());
                EXPECT_EQ(r.damage, manager->projectiles[0]->damage);
                EXPECT_EQ(r.reload, shooter->cooldown);
            }
        }
        removeUnits();
        Unit* u = spawn(r.type, 20.0f, 20.0f, 1);
        manager->order(u, kMove, At(40.0f, 20.0f));
        run(10, 100);
        EXPECT_NEAR(20.0f + r.speed, u->position[0], 1e-4f);
        EXPECT_FLOAT_EQ(r.flies ? 3.6f : 0.6f, u->position[2]);
        EXPECT_FLOAT_EQ((float)r.life, u->life);
    }
}

typedef SimulationTest ManagerConstruction;

TEST_F(ManagerConstruction, StartsWithTypesAccountsAndNoUnitsAndFreesUnitsStillSinking) {
    EXPECT_TRUE(manager->templates.size() == 9u && manager->units.empty() && manager->projectiles.empty());
    for (int p = 0; p < 4; ++p) {
        EXPECT_TRUE(manager->players[p].isComputer == (p != 0) && manager->players[p].crystals == 100.9f) << p;
    }
    EXPECT_EQ(0, manager->gameResult + manager->gameTime + manager->difficulty);
    EXPECT_TRUE(!manager->boostMode && manager->showTargetLines && manager->frustumCulling);
    EXPECT_TRUE(manager->textureShader->valid && manager->monocolorShader->valid && manager->texture2Shader->valid);
    // The selection ring must not wrap its edge pixels round to the far side.
    GLint wrap[2] = {0, 0};
    glBindTexture(GL_TEXTURE_2D, manager->selectionTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    EXPECT_TRUE(manager->selectionTexture && manager->fxTexture && wrap[0] == GL_CLAMP_TO_EDGE && wrap[1] == wrap[0]);
    // Under AddressSanitizer a unit left sinking when the match ends must be freed with the manager.
    spawn(kBlob, 20.0f, 20.0f, 0)->life = -1.0f;
    manager->update(10);
    EXPECT_EQ(1u, manager->dyingUnits.size());
}

}  // namespace
