#include <gtest/gtest.h>

#include <GL/glew.h>

#include <vector>

#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/matrix_stack.h"
#include "simulation_fixture.h"

namespace {

// Straight down on the level map: x 28..36 and y 29..35 fill the 640 x 480 window at 80 pixels per unit.
class EffectDrawing : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
        glViewport(0, 0, 640, 480);  // building a terrain leaves its minimap's viewport behind
        projection.ortho(28.0f, 36.0f, 29.0f, 35.0f, -50.0f, 50.0f);
        modelview.loadIdentity();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glDepthMask(GL_TRUE);
        SimulationTest::TearDown();
    }

    // The set-up drawEffects makes before its single draws.
    void additive() {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDisable(GL_CULL_FACE);
        glDepthMask(GL_FALSE);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, manager->fxTexture);
    }
    void effects() { manager->drawEffects(&modelview, &projection); }

    // Channel sums over the square of half-size r around map point (x, y): red, green, blue.
    void sums(float x, float y, float r, long rgb[3]) {
        int x0 = (int)((x - r - 28.0f) * 80.0f);
        int y0 = (int)((y - r - 29.0f) * 80.0f);
        int side = (int)(2.0f * r * 80.0f);
        std::vector<unsigned char> pixels(side * side * 4);
        glReadPixels(x0, y0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, &pixels[0]);
        rgb[0] = rgb[1] = rgb[2] = 0;
        for (int i = 0; i < side * side; ++i) {
            for (int c = 0; c < 3; ++c) rgb[c] += pixels[i * 4 + c];
        }
    }
    long light(float x, float y, float r) {
        long rgb[3];
        sums(x, y, r, rgb);
        return rgb[0] + rgb[1] + rgb[2];
    }

    // A worker at (30, 32) mining a crystal at (34, 32) in this frame.
    Unit* miningPair(Crystal** crystal) {
        *crystal = new Crystal(34.0f, 32.0f, 0.2f);
        manager->crystals.push_back(*crystal);
        Unit* u = spawn(kBlob, 30.0f, 32.0f, 0);
        u->state = kMine;
        u->crystal = *crystal;
        u->miningEffect = 4;
        u->nearVisible = true;
        return u;
    }

    MatrixStack projection;
    MatrixStack modelview;
};

TEST_F(EffectDrawing, LeavesTheStateA3DPassExpects) {
    Crystal* c = 0;
    miningPair(&c);
    Projectile* shot = new Projectile();
    shot->particles[0][0] = 1.0f;
    manager->projectiles.push_back(shot);
    glActiveTexture(GL_TEXTURE3);
    effects();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(GL_TEXTURE0, active);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((GLint)manager->fxTexture, bound) << "the beams sample the effect atlas";
}

TEST_F(EffectDrawing, BeamLightsTheStretchBetweenItsEndsOnly) {
    additive();
    const float from[3] = {29.0f, 32.0f, 1.0f};
    const float to[3] = {35.0f, 32.0f, 1.0f};
    manager->drawBeam(from, to, &modelview, &projection, manager->texture2Shader, 0.0f, 0.32f, 0xFF0000FFu, 0);
    long rgb[3];
    sums(32.0f, 32.0f, 0.1f, rgb);
    EXPECT_GT(rgb[0], 0) << "the beam's bright middle";
    EXPECT_EQ(0, rgb[1]) << "tinted red";
    EXPECT_EQ(0, rgb[2]);
    EXPECT_EQ(0, light(32.0f, 32.6f, 0.2f)) << "beside the beam: wider than 0.32 off its axis";
    EXPECT_EQ(0, light(35.6f, 32.0f, 0.2f)) << "past its end";
    EXPECT_EQ(0, light(28.4f, 32.0f, 0.2f)) << "before its start";
}

TEST_F(EffectDrawing, ParticleIsASmallPuffFadedByItsLife) {
    additive();
    const float at[3] = {32.0f, 32.0f, 1.0f};
    manager->drawParticle(at, 0, 0x00FF00FFu, 1.0f, &modelview, &projection, manager->texture2Shader);
    long rgb[3];
    sums(32.0f, 32.0f, 0.06f, rgb);
    EXPECT_GT(rgb[1], 0);
    EXPECT_EQ(0, rgb[0]);
    EXPECT_EQ(0, light(32.3f, 32.0f, 0.1f)) << "half-size 0.125";

    glClear(GL_COLOR_BUFFER_BIT);
    manager->drawParticle(at, 0, 0x00FF00FFu, 0.0f, &modelview, &projection, manager->texture2Shader);
    EXPECT_EQ(0, light(32.0f, 32.0f, 0.2f));
}

TEST_F(EffectDrawing, MiningBeamNeedsANearbyWorkerNotWhollyInFog) {
    Crystal* crystal = 0;
    Unit* worker = miningPair(&crystal);
    effects();
    EXPECT_GT(light(32.0f, 32.0f, 0.1f), 0);

    glClear(GL_COLOR_BUFFER_BIT);
    worker->hidden = true;
    crystal->hidden = true;
    effects();
    EXPECT_EQ(0, light(32.0f, 32.0f, 0.5f));

    glClear(GL_COLOR_BUFFER_BIT);
    worker->hidden = false;
    crystal->hidden = false;
    worker->nearVisible = false;
    effects();
    EXPECT_EQ(0, light(32.0f, 32.0f, 0.5f));
}

TEST_F(EffectDrawing, AttackBeamTakesItsShootersColour) {
    Unit* muffin = spawn(kMuffin, 30.0f, 32.0f, 0);
    Unit* target = spawn(kBlob, 34.0f, 32.0f, 1);
    muffin->target = target;
    muffin->beamEffect = 1;
    effects();
    long rgb[3];
    sums(32.0f, 32.0f, 0.1f, rgb);
    EXPECT_GT(rgb[1], rgb[0]) << "the human's beam is green";

    glClear(GL_COLOR_BUFFER_BIT);
    muffin->player = 1;
    effects();
    sums(32.0f, 32.0f, 0.1f, rgb);
    EXPECT_GT(rgb[0], rgb[1]) << "player 1's is red";

    glClear(GL_COLOR_BUFFER_BIT);
    muffin->hidden = true;
    target->hidden = true;
    effects();
    EXPECT_EQ(0, light(32.0f, 32.0f, 0.5f)) << "nothing of a fight wholly in fog";

    glClear(GL_COLOR_BUFFER_BIT);
    muffin->hidden = false;  // the shooter is seen, its target is not
    effects();
    EXPECT_GT(light(32.0f, 32.0f, 0.1f), 0);
}

TEST_F(EffectDrawing, TrailParticlesAlternateBetweenPlayerAndFireColours) {
    Projectile* shot = new Projectile();
    shot->kind = 2;
    shot->player = 2;
    // particle 0 (even: the player's blue) at (31, 32), particle 1 (odd: fire orange) at (33, 32)
    shot->particles[0][0] = 1.0f;
    shot->particles[0][1] = 31.0f;
    shot->particles[0][2] = 32.0f;
    shot->particles[0][3] = 1.0f;
    shot->particles[1][0] = 1.0f;
    shot->particles[1][1] = 33.0f;
    shot->particles[1][2] = 32.0f;
    shot->particles[1][3] = 1.0f;
    manager->projectiles.push_back(shot);
    effects();
    long rgb[3];
    sums(31.0f, 32.0f, 0.06f, rgb);
    EXPECT_GT(rgb[2], 0);
    EXPECT_EQ(0, rgb[0]);
    EXPECT_EQ(0, rgb[1]);
    sums(33.0f, 32.0f, 0.06f, rgb);
    EXPECT_GT(rgb[0], rgb[1]);
    EXPECT_GT(rgb[1], rgb[2]);

    glClear(GL_COLOR_BUFFER_BIT);
    shot->hidden = true;
    effects();
    EXPECT_EQ(0, light(32.0f, 32.0f, 1.2f));

    glClear(GL_COLOR_BUFFER_BIT);
    shot->hidden = false;
    shot->inView = false;
    effects();
    EXPECT_EQ(0, light(32.0f, 32.0f, 1.2f));
}

}  // namespace
