#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/shader.h"
#include "simulation_fixture.h"

namespace {

// One type's stats in table order: name, cost, morphTime, maxLife, damage, attackInterval, range,
// targetClass, shape, size, heightScale, speed, iconGlyph, morph slots, isAir, needsTower,
// continuousDamage, projectileKind.
std::string statLine(const UnitTemplate& t) {
    char line[160];
    snprintf(line, sizeof line, "%s %d %d %d %d %d %g %d %d %g %g %g %d %d,%d,%d %d %d %d %d", t.name.c_str(), t.cost,
             t.morphTime, t.maxLife, t.damage, t.attackInterval, t.range, t.targetClass, t.shape, t.size,
             t.heightScale, t.speed, t.iconGlyph, t.morphTargets[0], t.morphTargets[1], t.morphTargets[2], t.isAir,
             t.needsTower, t.continuousDamage, t.projectileKind);
    return line;
}

TEST(UnitTypes, NineTypesInIdOrderWithEveryStat) {
    const char* expected[9] = {
        "Blob 50 10000 50 0 1500 2.3 0 0 0.9 1.2 1 26 1,-1,5 0 0 0 -1",
        "Muffin 25 10000 60 6 1000 3 0 3 1 0.7 2.2 25 2,3,6 0 0 1 1",
        "Drop 50 15000 100 8 1250 6.5 2 2 1 1.2 1.8 23 -1,-1,-1 0 0 0 1",
        "Rotundus 50 15000 120 10 1400 6 0 5 1.1 1.1 1.7 22 4,-1,-1 0 0 0 4",
        "Monsterpillow 150 30000 250 14 1500 6 0 6 1.6 0.7 1.4 21 -1,-1,-1 0 1 0 3",
        "Slime Tower 400 70000 400 8 1000 7 2 6 1 1.7 0 20 -1,-1,-1 0 0 1 2",
        "Fly 75 20000 120 9 1350 4 2 1 0.65 1.1 2.9 19 7,8,-1 1 1 0 0",
        "Bomber 75 25000 200 18 1800 9 0 4 1.3 0.9 1.7 17 -1,-1,-1 1 1 0 5",
        "Slimy 50 10000 120 15 1000 6 1 7 0.65 1 2.8 18 -1,-1,-1 1 1 1 2",
    };
    std::vector<UnitTemplate*> types;
    createUnitTemplates(types);
    ASSERT_EQ(9u, types.size());
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(i, types[i]->id);
        EXPECT_EQ(expected[i], statLine(*types[i]));
    }
    EXPECT_EQ("Worker unit. Can mine crystals.", types[kBlob]->description);
    EXPECT_EQ("Static defense with high range. Can attack ground and air units. Unlocks air- and heavy ground units.",
              types[kSlimeTower]->description);
    EXPECT_EQ("Fast, light ani-air unit. Can attack air units.", types[kSlimy]->description);
    // Ground-only, air-only and both-ways shooters against ground and air targets.
    EXPECT_TRUE(canHit(*types[kMuffin], *types[kBlob]));
    EXPECT_FALSE(canHit(*types[kMuffin], *types[kFly]));
    EXPECT_FALSE(canHit(*types[kSlimy], *types[kBlob]));
    EXPECT_TRUE(canHit(*types[kSlimy], *types[kBomber]));
    EXPECT_TRUE(canHit(*types[kDrop], *types[kSlimeTower]) && canHit(*types[kDrop], *types[kSlimy]));
    for (size_t i = 0; i < types.size(); ++i) {
        delete types[i];
    }
}

typedef SimulationTest ManagerConstruction;

TEST_F(ManagerConstruction, StartsWithTypesAccountsAndNoUnitsAndFreesUnitsStillSinking) {
    EXPECT_EQ(9u, manager->templates.size());
    EXPECT_TRUE(manager->units.empty() && manager->projectiles.empty() && manager->dyingUnits.empty());
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(p != 0, manager->players[p].isComputer);
        EXPECT_EQ(100.9f, manager->players[p].crystals);
        EXPECT_EQ(0, manager->players[p].towerCount + manager->players[p].lastWaveTime);
    }
    EXPECT_EQ(0, manager->gameResult + manager->gameTime + manager->difficulty);
    EXPECT_FALSE(manager->boostMode);
    EXPECT_TRUE(manager->showTargetLines && manager->frustumCulling);
    EXPECT_TRUE(manager->textureShader->valid && manager->monocolorShader->valid && manager->texture2Shader->valid);
    ASSERT_NE(0u, manager->selectionTexture);
    EXPECT_NE(0u, manager->fxTexture);
    // The selection ring must not wrap its edge pixels round to the far side.
    GLint wrapS = 0, wrapT = 0;
    glBindTexture(GL_TEXTURE_2D, manager->selectionTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapS);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapT);
    // Under AddressSanitizer a unit left sinking when the match ends must be freed with the manager.
    spawn(kBlob, 20.0f, 20.0f, 0)->life = -1.0f;
    manager->update(10);
    EXPECT_EQ(1u, manager->dyingUnits.size());
}

}  // namespace
