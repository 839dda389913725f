#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "simulation_fixture.h"

namespace {

// Straight down on the level map through an orthographic box: x 28..36 and y 29..35 fill the 640 x 480
// test window at 80 pixels per map unit; the near plane is at z = 50.
class UnitDrawing : public EmptyMapTest {
protected:
    void SetUp() override {
        EmptyMapTest::SetUp();
        glViewport(0, 0, 640, 480);  // building a terrain leaves its minimap's viewport behind
        projection.ortho(28.0f, 36.0f, 29.0f, 35.0f, -50.0f, 50.0f);
        modelview.loadIdentity();
        frustum.extract(projection, modelview);
        gPickPoint[0] = -100.0f;  // nothing under the pointer
        clear();
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glDepthMask(GL_TRUE);
        EmptyMapTest::TearDown();
    }
    // A black frame with the depth test on, then the units' or the effects' pass.
    void clear() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    }
    void draw() {
        clear();
        manager->drawUnits(&modelview, &projection, &frustum);
    }
    void effects() {
        clear();
        manager->drawEffects(&modelview, &projection);
    }
    // Mean of one channel (0 red, 1 green, 2 blue; -1 all three summed) over the square of half-size r
    // around map point (x, y).
    float mean(float x, float y, float r, int channel) {
        int side = (int)(2.0f * r * 80.0f);
        std::vector<unsigned char> pixels(side * side * 4);
        glReadPixels((int)((x - r - 28.0f) * 80.0f), (int)((y - r - 29.0f) * 80.0f), side, side, GL_RGBA,
                     GL_UNSIGNED_BYTE, &pixels[0]);
        long sum = 0;
        for (int i = 0; i < side * side * 4; ++i) sum += i % 4 == channel || (channel < 0 && i % 4 < 3) ? pixels[i] : 0;
        return (float)sum / (float)(side * side);
    }

    MatrixStack projection, modelview;
    Frustum frustum;
};

// The last tint a program was given, against r, g, b, a.
void expectTint(Shader* shader, const float* want, int label) {
    float tint[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    glGetUniformfv(shader->program, shader->uniform("tint"), tint);
    for (int c = 0; c < 4; ++c) EXPECT_FLOAT_EQ(want[c], tint[c]) << label << " channel " << c;
}

// What the next 3D pass expects: culling on, blending off, depth written, texture unit 0, no program.
void expect3DPassState() {
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE) && !glIsEnabled(GL_BLEND) && !glIsEnabled(GL_LINE_SMOOTH));
    GLint active = 0, program = -1;
    GLboolean depthWrites = GL_FALSE;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(active == GL_TEXTURE0 && program == 0 && depthWrites) << active << " " << program;
}

TEST_F(UnitDrawing, CullingMarksUnitsOutsideTheViewAndMeasuresTheRest) {
    // a Blob's sphere has radius 0.6 (half its 1.2 height); the left edge of the view is x = 28
    Unit* inside = spawn(kBlob, 32.0f, 32.0f, 0);
    Unit *grazing = spawn(kBlob, 27.5f, 32.0f, 0), *outside = spawn(kBlob, 27.3f, 32.0f, 0);
    Unit *morphing = spawn(kBlob, 27.3f, 33.0f, 0), *hidden = spawn(kBlob, 10.0f, 10.0f, 1);
    morphing->state = kMorph;  // twice the radius while morphing
    morphing->morphTarget = kMuffin;
    hidden->hidden = true;  // hidden units are not looked at
    draw();
    EXPECT_TRUE(!inside->culled && inside->nearVisible && !grazing->culled && outside->culled && !morphing->culled);
    EXPECT_FALSE(hidden->culled);
    EXPECT_NEAR(49.4f, inside->viewDepth, 1e-3f) << "a ground unit stands at z 0.6";
    // leaving the view: culled, and the near flag (read by the mining beams) keeps its last value
    inside->position[0] = 22.0f;
    draw();
    EXPECT_TRUE(inside->culled && inside->nearVisible);
    // without culling the flags stay as they are, but every unit is measured (a flyer is 3 higher)
    manager->frustumCulling = false;
    Unit* flyer = spawn(kFly, 10.0f, 10.0f, 0);
    flyer->culled = true;
    draw();
    EXPECT_TRUE(flyer->culled && !flyer->nearVisible);
    EXPECT_NEAR(46.4f, flyer->viewDepth, 1e-3f);
}

// A player 2 unit has a blue body over a red ring (every enemy ring is red), so the channels tell them apart;
// a ring, not a square, so its middle stays dark.
TEST_F(UnitDrawing, HiddenUnitsLoseTheirBodiesButKeepTheirRings) {
    Unit* enemy = spawn(kBlob, 32.0f, 32.0f, 2);
    draw();
    EXPECT_TRUE(mean(32.0f, 32.0f, 0.02f, 2) > 60.0f && mean(32.0f, 32.0f, 0.58f, 0) > 0.0f);
    enemy->hidden = true;
    draw();
    EXPECT_EQ(0.0f, mean(32.0f, 32.0f, 0.58f, 2) + mean(32.0f, 32.0f, 0.58f, 1));
    EXPECT_TRUE(mean(32.0f, 32.0f, 0.58f, 0) > 0.0f && mean(32.0f, 32.0f, 0.1f, 0) < 40.0f);
}

// A Blob at (30, 32) heading for (34, 32): its goal ring there (seen just above the line's end) and its
// target line through (32, 32).
TEST_F(UnitDrawing, HumanOrdersShowTheirGoalAndPath) {
    Unit* u = spawn(kBlob, 30.0f, 32.0f, 0);
    u->destination[0] = 34.0f;
    u->destination[1] = 32.0f;
    u->destination[2] = 0.2f;
    // state, line channel (green or red), goal ring channel (only Move and AttackMove mark the goal)
    const int orders[4][3] = {{kMove, 1, 1}, {kAttackMove, 0, 0}, {kAttack, 0, -1}, {kMine, 1, -1}};
    for (const auto& order : orders) {
        u->state = order[0];
        glDisable(GL_CULL_FACE);  // whatever the state before, drawing leaves what a 3D pass expects
        glEnable(GL_BLEND);
        glActiveTexture(GL_TEXTURE1);
        draw();
        expect3DPassState();
        float wobble = 0.0f;  // moving and fighting bodies wobble harder than working ones
        glGetUniformfv(manager->blobMesh->shader->program, manager->blobMesh->shader->uniform("vertfactor"), &wobble);
        EXPECT_FLOAT_EQ(order[0] == kMine ? 0.03f : 0.12f, wobble) << order[0];
        EXPECT_TRUE(mean(32.0f, 32.0f, 0.05f, order[1]) > 0.0f && mean(32.0f, 32.0f, 0.05f, 1 - order[1]) == 0.0f);
        EXPECT_EQ(order[2] >= 0, mean(34.0f, 32.1f, 0.05f, order[2]) > 0.0f) << order[0];
    }
    u->miningEffect = 4;  // at the crystal: nothing left to walk
    draw();
    EXPECT_EQ(0.0f, mean(32.0f, 32.0f, 0.05f, 1));
    u->state = kMove;
    manager->showTargetLines = false;  // the line goes, the goal ring stays
    draw();
    EXPECT_TRUE(mean(32.0f, 32.0f, 0.05f, 1) == 0.0f && mean(34.0f, 32.1f, 0.05f, 1) > 0.0f);
    u->player = 1;  // the computer's goals are not shown
    manager->showTargetLines = true;
    draw();
    EXPECT_EQ(0.0f, mean(32.0f, 32.0f, 0.05f, 0) + mean(34.0f, 32.1f, 0.05f, 0));
}

TEST_F(UnitDrawing, CrystalGlowDecaysEveryFrameAndRestsAtItsFaintestTint) {
    Crystal* away = new Crystal(5.0f, 5.0f, 0.2f);
    Crystal* empty = new Crystal(33.0f, 33.0f, 0.2f);
    Crystal* seen = new Crystal(32.0f, 32.0f, 0.2f);  // last, so its glow is the last blob drawn
    manager->crystals = std::vector<Crystal*>{away, empty, seen};
    away->glow = empty->glow = 1.0f;
    seen->glow = 0.1f;
    empty->amount = 0.0f;
    manager->frameTime = 250;
    draw();
    // never below 0, decaying out of view too, and an exhausted crystal is left alone
    EXPECT_TRUE(seen->glow == 0.0f && away->glow == 0.75f && empty->glow == 1.0f) << seen->glow << " " << away->glow;
    // at rest the glow's code is 20 whatever the pulse: magenta at alpha 0.12, held still
    const float faintest[4] = {1.0f, 0.0f, 1.0f, 0.12f};
    expectTint(manager->blobMesh->shader, faintest, 20);
    GLint time = -1;
    glGetUniformiv(manager->blobMesh->shader->program, manager->blobMesh->shader->uniform("time"), &time);
    EXPECT_EQ(0, time);
    // close up from above the glow is a thin rim around the gem: a dim halo of about a tenth of its area
    projection.ortho(31.6f, 32.4f, 31.7f, 32.3f, -50.0f, 50.0f);
    frustum.extract(projection, modelview);
    draw();
    std::vector<unsigned char> pixels(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int area[3] = {0, 0, 0};  // unlit, dim halo, gem
    for (int i = 0; i < 640 * 480 * 4; i += 4) ++area[(pixels[i] > 0) + (pixels[i] >= 128)];
    EXPECT_TRUE(area[1] > area[2] / 20 && area[1] < area[2] / 5) << area[1] << " " << area[2];
}

TEST_F(UnitDrawing, TrailsEmitWhileFlyingAndAgeEveryFrame) {
    Projectile* shot = new Projectile();
    shot->kind = 2;  // spread 10
    shot->position[0] = shot->position[1] = 32.0f;
    shot->position[2] = 1.0f;
    manager->projectiles.push_back(shot);
    manager->frameTime = 16;
    draw();
    // timer 16 emits at 16, 11 and 6 and keeps 1; particle 0 is never emitted, only aged
    EXPECT_TRUE(shot->emitIndex == 3 && shot->emitTimer == 1 && shot->particles[0][0] < 0.0f);
    draw();
    EXPECT_TRUE(shot->emitIndex == 7 && shot->emitTimer == -3) << "17 emits at 17, 12, 7 and 2, leaving -3";
    for (int k = 1; k <= 3; ++k) {
        const float* p = shot->particles[k];  // life 1.35 less 16 ms of 300; drifting at most 0.01 per 10 ms
        EXPECT_NEAR(1.35f - 16.0f / 300.0f, p[0], 1e-5f) << k;
        for (int axis = 1; axis <= 3; ++axis) EXPECT_NEAR(axis < 3 ? 32.0f : 1.0f, p[axis], 0.016f) << k;
    }
    // after the impact nothing new starts; 405 ms after emission every particle is gone
    shot->impactTime = 1;
    manager->frameTime = 405;
    draw();
    EXPECT_EQ(7, shot->emitIndex);
    for (int k = 0; k < Projectile::kParticleCount; ++k) EXPECT_LE(shot->particles[k][0], 0.0f) << k;
}

// Crossed ribbons and squares show a beam (across it, 0.3 below its axis to 0.26 above) and a particle (its
// quadrants) from the side (the world turned a quarter about x, the shapes moved into view) as from above.
TEST_F(UnitDrawing, BeamsAndParticlesCoverOnlyTheirShapes) {
    glEnable(GL_BLEND);  // as drawEffects sets it up
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, manager->fxTexture);
    float seen[2][12];
    for (int above = 0; above < 2; ++above) {
        const float from[3] = {29.0f, above ? 32.0f : 0.0f, above ? 1.0f : 32.0f}, to[3] = {35.0f, from[1], from[2]};
        const float middle[3] = {32.0f, from[1], from[2]};
        modelview.loadIdentity();
        modelview.rotate(above ? 0.0f : -90.0f, 1.0f, 0.0f, 0.0f);
        clear();
        manager->drawBeam(from, to, &modelview, &projection, manager->texture2Shader, 0.0f, 0.32f, 0xFFFFFFFFu, 0);
        for (int k = 0; k < 8; ++k) seen[above][k] = mean(32.0f, 31.7f + k * 0.08f, 0.03f, -1);
        clear();
        manager->drawParticle(middle, 0, 0xFFFFFFFFu, 1.0f, &modelview, &projection, manager->texture2Shader);
        for (int q = 8; q < 12; ++q) seen[above][q] = mean(31.95f + q % 2 * 0.1f, 31.95f + (q < 10) * 0.1f, 0.04f, -1);
    }
    for (int k = 0; k < 12; ++k) EXPECT_NEAR(seen[1][k], seen[0][k], 0.1f * seen[1][k] + 2.0f) << k;
    clear();
    const float from[3] = {29.0f, 32.0f, 1.0f}, to[3] = {35.0f, 32.0f, 1.0f}, at[3] = {32.0f, 32.0f, 1.0f};
    manager->drawBeam(from, to, &modelview, &projection, manager->texture2Shader, 0.0f, 0.32f, 0xFF0000FFu, 0);
    // a red middle, nothing beside it (0.32 off its axis), past its end or before its start
    EXPECT_TRUE(mean(32.0f, 32.0f, 0.1f, 0) > 0.0f && mean(32.0f, 32.0f, 0.1f, 1) + mean(32.0f, 32.0f, 0.1f, 2) == 0);
    EXPECT_EQ(0.0f, mean(32.0f, 32.6f, 0.2f, -1) + mean(35.25f, 32.0f, 0.2f, -1) + mean(28.75f, 32.0f, 0.2f, -1));
    clear();
    manager->drawParticle(at, 0, 0x00FF0080u, 0.5f, &modelview, &projection, manager->texture2Shader);
    const float halfFaded[4] = {0.0f, 1.0f, 0.0f, 128.0f / 255.0f * 0.5f};
    expectTint(manager->texture2Shader, halfFaded, 0);
    EXPECT_GT(mean(32.0f, 32.0f, 0.06f, 1), 0.0f);
    EXPECT_EQ(0.0f, mean(32.0f, 32.0f, 0.06f, 0) + mean(32.0f, 32.0f, 0.06f, 2));
    EXPECT_EQ(0.0f, mean(32.3f, 32.0f, 0.1f, -1)) << "half-size 0.125";
}

// A worker at (30, 32) mining a crystal at (34, 32) in this frame; effects leave the 3D pass's state behind,
// with the effect atlas bound.
TEST_F(UnitDrawing, MiningBeamNeedsANearbyWorkerNotWhollyInFog) {
    Crystal* crystal = new Crystal(34.0f, 32.0f, 0.2f);
    manager->crystals.push_back(crystal);
    Unit* worker = spawn(kBlob, 30.0f, 32.0f, 0);
    worker->state = kMine;
    worker->crystal = crystal;
    worker->miningEffect = 4;
    // worker hidden, crystal hidden, worker near the view; beam drawn: it is while the crystal is seen, but not
    // with both in fog, nor with the worker far from the view
    const bool cases[4][4] = {{false, false, true, true}, {true, false, true, true}, {true, true, true, false},
                              {false, false, false, false}};
    for (const auto& c : cases) {
        worker->hidden = c[0];
        crystal->hidden = c[1];
        worker->nearVisible = c[2];
        glActiveTexture(GL_TEXTURE3);
        effects();
        EXPECT_EQ(c[3], mean(32.0f, 32.0f, 0.5f, -1) > 0.0f) << c[0] << c[1] << c[2];
        EXPECT_EQ(0.0f, mean(32.0f, 32.4f, 0.05f, -1)) << "a stream 0.64 wide";
        expect3DPassState();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ((GLint)manager->fxTexture, bound);
    }
    EXPECT_FLOAT_EQ(0.2f, crystal->position[2]) << "the crystal stays where it was";
}

// The last layer of each beam look, by the shooter's player: light colour + 0x28, light colour + 0x68, white.
TEST_F(UnitDrawing, AttackBeamsTakeTheirLookAndTheShootersColour) {
    Unit *shooter = spawn(kMuffin, 30.0f, 32.0f, 0), *target = spawn(kBlob, 34.0f, 32.0f, 1);
    shooter->target = target;
    const float x68 = 104.0f / 255.0f;
    const float cases[3][6] = {{0, 1, 1.0f, x68, x68, 40.0f / 255.0f},    // 0xFF686828
                               {1, 2, x68, x68, 1.0f, x68},                // 0x6868FF68
                               {2, 3, 1.0f, 1.0f, 1.0f, 96.0f / 255.0f}};  // 0xFFFFFF60
    for (int i = 0; i < 3; ++i) {
        shooter->beamEffect = (int)cases[i][0];
        shooter->player = (int)cases[i][1];
        effects();
        expectTint(manager->texture2Shader, cases[i] + 2, i);
        EXPECT_GT(mean(32.0f, 32.0f, 0.1f, -1), 0.0f) << i;
    }
    // nothing without a hit this frame, nor of a fight wholly in fog; a seen shooter's beam shows
    const int fights[3][4] = {{-1, 0, 0, 0}, {1, 1, 1, 0}, {1, 0, 1, 1}};  // beam, shooter, target hidden; shown
    for (const auto& f : fights) {
        shooter->beamEffect = f[0];
        shooter->hidden = f[1];
        target->hidden = f[2];
        effects();
        EXPECT_EQ(f[3] == 1, mean(32.0f, 32.0f, 0.5f, -1) > 0.0f) << f[0] << f[1] << f[2];
    }
}

// A player 2 shot of kind 2: particle 0 (even: the player's blue) at (31, 32), 1 (odd: fire orange) at
// (33, 32); none drawn in fog, nor out of the view.
TEST_F(UnitDrawing, TrailParticlesAlternateBetweenPlayerAndFireColours) {
    Projectile* shot = new Projectile();
    shot->kind = 2;
    shot->player = 2;
    const float placed[2][4] = {{1.0f, 31.0f, 32.0f, 1.0f}, {1.0f, 33.0f, 32.0f, 1.0f}};
    for (int k = 0; k < 8; ++k) shot->particles[k / 4][k % 4] = placed[k / 4][k % 4];
    manager->projectiles.push_back(shot);
    effects();
    auto at = [&](float x, int channel) { return mean(x, 32.0f, 0.06f, channel); };
    EXPECT_TRUE(at(31.0f, 2) > 0.0f && at(31.0f, 0) + at(31.0f, 1) == 0.0f);
    EXPECT_TRUE(at(33.0f, 0) > at(33.0f, 1) && at(33.0f, 1) > at(33.0f, 2));
    for (int fogged = 0; fogged < 2; ++fogged) {
        shot->hidden = fogged == 0;
        shot->inView = fogged == 0;
        effects();
        EXPECT_EQ(0.0f, mean(32.0f, 32.0f, 1.2f, -1)) << fogged;
    }
}

}  // namespace
