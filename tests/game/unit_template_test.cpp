#include <gtest/gtest.h>

#include <vector>

#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/shader.h"
#include "simulation_fixture.h"

namespace {

class TemplateTable : public ::testing::Test {
protected:
    void SetUp() override { createUnitTemplates(types); }
    void TearDown() override {
        for (size_t i = 0; i < types.size(); ++i) {
            delete types[i];
        }
    }
    std::vector<UnitTemplate*> types;
};

TEST_F(TemplateTable, NineTypesInIdOrderWithTheirNames) {
    ASSERT_EQ(9u, types.size());
    const char* names[9] = {"Blob", "Muffin", "Drop", "Rotundus", "Monsterpillow",
                            "Slime Tower", "Fly", "Bomber", "Slimy"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(i, types[i]->id);
        EXPECT_EQ(names[i], types[i]->name);
    }
    EXPECT_EQ("Worker unit. Can mine crystals.", types[kBlob]->description);
    EXPECT_EQ("Static defense with high range. Can attack ground and air units. Unlocks air- and heavy ground units.",
              types[kSlimeTower]->description);
    EXPECT_EQ("Fast, light ani-air unit. Can attack air units.", types[kSlimy]->description);
}

TEST_F(TemplateTable, EconomyAndCombatStats) {
    // cost, morphTime, maxLife, damage, attackInterval per type
    const int stats[9][5] = {{50, 10000, 50, 0, 1500},   {25, 10000, 60, 6, 1000},   {50, 15000, 100, 8, 1250},
                             {50, 15000, 120, 10, 1400}, {150, 30000, 250, 14, 1500}, {400, 70000, 400, 8, 1000},
                             {75, 20000, 120, 9, 1350},  {75, 25000, 200, 18, 1800}, {50, 10000, 120, 15, 1000}};
    const float ranges[9] = {2.3f, 3.0f, 6.5f, 6.0f, 6.0f, 7.0f, 4.0f, 9.0f, 6.0f};
    const float speeds[9] = {1.0f, 2.2f, 1.8f, 1.7f, 1.4f, 0.0f, 2.9f, 1.7f, 2.8f};
    const float sizes[9] = {0.9f, 1.0f, 1.0f, 1.1f, 1.6f, 1.0f, 0.65f, 1.3f, 0.65f};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(types[i]->name);
        EXPECT_EQ(stats[i][0], types[i]->cost);
        EXPECT_EQ(stats[i][1], types[i]->morphTime);
        EXPECT_EQ(stats[i][2], types[i]->maxLife);
        EXPECT_EQ(stats[i][3], types[i]->damage);
        EXPECT_EQ(stats[i][4], types[i]->attackInterval);
        EXPECT_FLOAT_EQ(ranges[i], types[i]->range);
        EXPECT_FLOAT_EQ(speeds[i], types[i]->speed);
        EXPECT_FLOAT_EQ(sizes[i], types[i]->size);
    }
}

TEST_F(TemplateTable, DrawingAndIconStats) {
    const int shapes[9] = {0, 3, 2, 5, 6, 6, 1, 4, 7};
    const float heights[9] = {1.2f, 0.7f, 1.2f, 1.1f, 0.7f, 1.7f, 1.1f, 0.9f, 1.0f};
    const int glyphs[9] = {26, 25, 23, 22, 21, 20, 19, 17, 18};
    const int kinds[9] = {-1, 1, 1, 4, 3, 2, 0, 5, 2};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(shapes[i], types[i]->shape);
        EXPECT_FLOAT_EQ(heights[i], types[i]->heightScale);
        EXPECT_EQ(glyphs[i], (int)types[i]->iconGlyph);
        EXPECT_EQ(kinds[i], types[i]->projectileKind);
    }
}

TEST_F(TemplateTable, MorphTreeAndFlags) {
    const int tree[9][3] = {{1, -1, 5}, {2, 3, 6},    {-1, -1, -1}, {4, -1, -1}, {-1, -1, -1},
                            {-1, -1, -1}, {7, 8, -1}, {-1, -1, -1}, {-1, -1, -1}};
    for (int i = 0; i < 9; ++i) {
        for (int s = 0; s < 3; ++s) {
            EXPECT_EQ(tree[i][s], types[i]->morphTargets[s]) << types[i]->name << " slot " << s;
        }
    }
    // Air: Fly, Bomber, Slimy. Tower needed: Monsterpillow and the three flyers. Beams: Muffin, tower, Slimy.
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(i >= 6, types[i]->isAir) << i;
        EXPECT_EQ(i == 4 || i >= 6, types[i]->needsTower) << i;
        EXPECT_EQ(i == 1 || i == 5 || i == 8, types[i]->continuousDamage) << i;
    }
    const int classes[9] = {0, 0, 2, 0, 0, 2, 2, 0, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(classes[i], types[i]->targetClass) << i;
    }
}

TEST_F(TemplateTable, CanHitFollowsTheAirGroundRule) {
    // Muffin: ground only. Slimy: air only. Drop: both.
    EXPECT_TRUE(canHit(*types[kMuffin], *types[kBlob]));
    EXPECT_FALSE(canHit(*types[kMuffin], *types[kFly]));
    EXPECT_FALSE(canHit(*types[kSlimy], *types[kBlob]));
    EXPECT_TRUE(canHit(*types[kSlimy], *types[kBomber]));
    EXPECT_TRUE(canHit(*types[kDrop], *types[kSlimeTower]));
    EXPECT_TRUE(canHit(*types[kDrop], *types[kSlimy]));
    EXPECT_FALSE(canHit(*types[kBomber], *types[kFly]));
}

typedef SimulationTest ManagerConstruction;

TEST_F(ManagerConstruction, StartsWithTypesPlayersAndNoUnits) {
    EXPECT_EQ(9u, manager->templates.size());
    EXPECT_TRUE(manager->units.empty());
    EXPECT_TRUE(manager->projectiles.empty());
    EXPECT_TRUE(manager->dyingUnits.empty());
    EXPECT_FALSE(manager->players[0].isComputer);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(p != 0, manager->players[p].isComputer);
        EXPECT_FLOAT_EQ(100.9f, manager->players[p].crystals);
        EXPECT_EQ(0, manager->players[p].towerCount);
        EXPECT_EQ(0, manager->players[p].lastWaveTime);
    }
    EXPECT_EQ(0, manager->gameResult);
    EXPECT_EQ(0, manager->gameTime);
    EXPECT_FALSE(manager->boostMode);
    EXPECT_TRUE(manager->showTargetLines);
    EXPECT_TRUE(manager->frustumCulling);
    EXPECT_EQ(64, manager->mapSize);
}

TEST_F(ManagerConstruction, LoadsRealShadersAndTextures) {
    ASSERT_TRUE(manager->textureShader && manager->monocolorShader && manager->texture2Shader);
    EXPECT_TRUE(manager->textureShader->valid);
    EXPECT_TRUE(manager->monocolorShader->valid);
    EXPECT_TRUE(manager->texture2Shader->valid);
    // The drawing looks these names up at every call; they must survive the GLSL optimiser.
    EXPECT_GE(manager->monocolorShader->attribute("vertex"), 0);
    EXPECT_GE(manager->monocolorShader->uniform("tint"), 0);
    EXPECT_GE(manager->textureShader->attribute("texcoord"), 0);
    EXPECT_GE(manager->textureShader->uniform("modelview"), 0);
    EXPECT_GE(manager->texture2Shader->uniform("projection"), 0);
    EXPECT_GE(manager->texture2Shader->uniform("tint"), 0);
    EXPECT_NE(0u, manager->selectionTexture);
    EXPECT_NE(0u, manager->fxTexture);
    GLint wrapS = 0, wrapT = 0;
    glBindTexture(GL_TEXTURE_2D, manager->selectionTexture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapS);
    EXPECT_EQ(GL_CLAMP_TO_EDGE, wrapT);
}

TEST_F(ManagerConstruction, ReleasesSinkingUnitsAndEverythingElseWhenDeleted) {
    Unit* a = spawn(kBlob, 20.0f, 20.0f, 0);
    spawn(kMuffin, 21.0f, 20.0f, 1);
    a->life = -1.0f;
    manager->selection.push_back(a);
    manager->update(10);
    ASSERT_EQ(1u, manager->dyingUnits.size());
    // The fixture deletes the manager; under AddressSanitizer a leak or double delete fails the run.
}

}  // namespace
