#include <gtest/gtest.h>

#include <GL/glew.h>

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

// Looks straight down on the level map through an orthographic box: x 28..36 and y 29..35 fill the
// 640 x 480 test window at 80 pixels per map unit, higher z is nearer.
class UnitDrawing : public SimulationTest {
protected:
    void SetUp() override {
        SimulationTest::SetUp();
        removeCrystals();
        glViewport(0, 0, 640, 480);  // building a terrain leaves its minimap's viewport behind
        projection.ortho(28.0f, 36.0f, 29.0f, 35.0f, -50.0f, 50.0f);
        modelview.loadIdentity();
        frustum.extract(projection, modelview);
        gPickPoint[0] = gPickPoint[1] = gPickPoint[2] = -100.0f;  // nothing under the pointer
        clear();
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthMask(GL_TRUE);
        SimulationTest::TearDown();
    }

    void clear() {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
    }
    void draw() { manager->drawUnits(&modelview, &projection, &frustum); }

    // The window pixel over map point (x, y).
    void pixelAt(float x, float y, unsigned char* rgba) {
        int px = (int)((x - 28.0f) * 80.0f);
        int py = (int)((y - 29.0f) * 80.0f);
        glReadPixels(px, py, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    }
    // Sum of one channel over the square of half-size r around map point (x, y).
    long channelSum(float x, float y, float r, int channel) {
        int x0 = (int)((x - r - 28.0f) * 80.0f);
        int y0 = (int)((y - r - 29.0f) * 80.0f);
        int side = (int)(2.0f * r * 80.0f);
        std::vector<unsigned char> pixels(side * side * 4);
        glReadPixels(x0, y0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, &pixels[0]);
        long sum = 0;
        for (int i = 0; i < side * side; ++i) sum += pixels[i * 4 + channel];
        return sum;
    }

    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;
};

TEST_F(UnitDrawing, LeavesTheStateA3DPassExpects) {
    spawn(kMuffin, 32.0f, 32.0f, 1)->state = kMove;
    spawn(kFly, 33.0f, 32.0f, 0)->state = kAttackMove;
    manager->crystals.push_back(new Crystal(31.0f, 31.0f, 0.2f));
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glActiveTexture(GL_TEXTURE1);
    draw();
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(GL_TEXTURE0, active);
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(0, program);
}

TEST_F(UnitDrawing, CullingMarksUnitsOutsideTheViewAndMeasuresTheRest) {
    // a Blob's sphere has radius 0.6 (half its 1.2 height); the left edge of the view is x = 28
    Unit* inside = spawn(kBlob, 32.0f, 32.0f, 0);
    Unit* grazing = spawn(kBlob, 27.5f, 32.0f, 0);
    Unit* outside = spawn(kBlob, 27.3f, 32.0f, 0);
    Unit* morphing = spawn(kBlob, 27.3f, 33.0f, 0);
    morphing->state = kMorph;  // twice the radius: the target shape may be bigger
    morphing->morphTarget = kMuffin;
    Unit* hidden = spawn(kBlob, 10.0f, 10.0f, 1);
    hidden->hidden = true;
    hidden->culled = false;
    draw();
    EXPECT_FALSE(inside->culled);
    EXPECT_TRUE(inside->nearVisible);
    EXPECT_FALSE(grazing->culled);
    EXPECT_TRUE(outside->culled);
    EXPECT_FALSE(morphing->culled);
    EXPECT_FALSE(hidden->culled) << "hidden units are not looked at";
    // near plane at z = 50 looking down: a ground unit (z 0.6) is 49.4 away
    EXPECT_NEAR(49.4f, inside->viewDepth, 1e-3f);

    // leaving the view: culled, and the near flag (read by the mining beams) keeps its last value
    inside->position[0] = 22.0f;
    draw();
    EXPECT_TRUE(inside->culled);
    EXPECT_TRUE(inside->nearVisible);
    EXPECT_FALSE(outside->nearVisible);

    // without culling the flags stay as they are, but every unit is measured (a flyer is 3 higher)
    manager->frustumCulling = false;
    Unit* flyer = spawn(kFly, 10.0f, 10.0f, 0);
    flyer->culled = true;
    draw();
    EXPECT_TRUE(flyer->culled);
    EXPECT_FALSE(flyer->nearVisible);
    EXPECT_NEAR(46.4f, flyer->viewDepth, 1e-3f);
}

TEST_F(UnitDrawing, FartherUnitsSortFirst) {
    Unit a;
    Unit b;
    a.viewDepth = 12.0f;
    b.viewDepth = -1.0f;  // behind the camera: drawn last
    EXPECT_TRUE(UnitManager::compareDepth(&a, &b));
    EXPECT_FALSE(UnitManager::compareDepth(&b, &a));
    b.viewDepth = 12.0f;
    EXPECT_FALSE(UnitManager::compareDepth(&a, &b));
}

// A player 2 unit has a blue body but a red ring (every enemy ring is red), so the channels tell them apart.
TEST_F(UnitDrawing, HiddenEnemyKeepsOnlyItsRing) {
    Unit* enemy = spawn(kBlob, 32.0f, 32.0f, 2);
    draw();
    unsigned char centre[4];
    pixelAt(32.0f, 32.0f, centre);
    EXPECT_GT(centre[2], 60) << "the blue body";
    EXPECT_GT(channelSum(32.0f, 32.0f, 0.58f, 0), 0) << "its ring";

    clear();
    enemy->hidden = true;
    draw();
    EXPECT_EQ(0, channelSum(32.0f, 32.0f, 0.58f, 2)) << "no body";
    EXPECT_GT(channelSum(32.0f, 32.0f, 0.58f, 0), 0) << "the ring under it stays";
    EXPECT_EQ(0, channelSum(32.0f, 32.0f, 0.58f, 1)) << "an enemy's ring is red";

    // a hidden flyer still marks its place on the ground (ring of radius 0.125)
    clear();
    manager->units.clear();
    delete enemy;
    spawn(kFly, 32.0f, 32.0f, 2)->hidden = true;
    draw();
    EXPECT_GT(channelSum(32.0f, 32.0f, 0.12f, 0), 0);
    EXPECT_EQ(0, channelSum(32.0f, 32.0f, 0.5f, 2));
}

TEST_F(UnitDrawing, DyingUnitsFadeUnlessHidden) {
    Unit* dead = spawn(kRotundus, 32.0f, 32.0f, 1);
    manager->units.clear();
    manager->dyingUnits.push_back(dead);
    dead->progress = 0.2f;
    draw();
    unsigned char fading[4];
    pixelAt(32.0f, 32.0f, fading);
    EXPECT_GT(fading[0], 40);

    clear();
    dead->progress = 0.9f;  // nearly gone: a tenth of its opacity
    draw();
    unsigned char late[4];
    pixelAt(32.0f, 32.0f, late);
    EXPECT_LT(late[0], fading[0]);

    clear();
    dead->hidden = true;
    draw();
    EXPECT_EQ(0, channelSum(32.0f, 32.0f, 0.5f, 0)) << "no ring either: the dead have none";
}

TEST_F(UnitDrawing, SplittingUnitShowsTwoBodiesDrawingApart) {
    Unit* u = spawn(kBlob, 32.0f, 32.0f, 2);  // blue bodies over a red ring
    u->state = kSplit;
    u->progress = 1.0f;  // halves at (31.75, 31.75) and (32.25, 32.25); one Blob reaches 0.45 from its centre
    draw();
    unsigned char a[4];
    unsigned char b[4];
    unsigned char side[4];
    unsigned char centre[4];
    pixelAt(31.6f, 31.6f, a);
    pixelAt(32.4f, 32.4f, b);
    pixelAt(32.4f, 31.6f, side);  // 0.67 from both halves
    EXPECT_GT(a[2], 60);
    EXPECT_GT(b[2], 60);
    EXPECT_LT(side[2], 20);
    clear();
    u->progress = 0.0f;  // both on the spot: (31.6, 31.6) is 0.57 from it
    draw();
    pixelAt(31.6f, 31.6f, a);
    pixelAt(32.0f, 32.0f, centre);
    EXPECT_LT(a[2], 20);
    EXPECT_GT(centre[2], 60);
}

TEST_F(UnitDrawing, PointerHighlightsTheVisibleUnitUnderIt) {
    Unit* u = spawn(kDrop, 32.0f, 32.0f, 0);
    draw();
    long plain = channelSum(32.0f, 32.0f, 0.7f, 1);
    for (int k = 0; k < 3; ++k) gPickPoint[k] = u->position[k];
    clear();
    draw();
    long highlighted = channelSum(32.0f, 32.0f, 0.7f, 1);
    EXPECT_GT(highlighted, plain);

    u->hidden = true;
    clear();
    draw();
    long hiddenPlain = channelSum(32.0f, 32.0f, 0.7f, 1);
    gPickPoint[0] = -100.0f;
    clear();
    draw();
    EXPECT_EQ(channelSum(32.0f, 32.0f, 0.7f, 1), hiddenPlain) << "no highlight for a unit in fog";
}

TEST_F(UnitDrawing, CrystalGlowDecaysEveryFrameAndRestsAtItsFaintestTint) {
    Crystal* seen = new Crystal(32.0f, 32.0f, 0.2f);
    Crystal* away = new Crystal(5.0f, 5.0f, 0.2f);
    Crystal* empty = new Crystal(33.0f, 33.0f, 0.2f);
    manager->crystals.push_back(away);
    manager->crystals.push_back(empty);
    manager->crystals.push_back(seen);
    seen->glow = 0.1f;
    away->glow = 1.0f;
    empty->amount = 0.0f;
    empty->glow = 1.0f;
    manager->frameTime = 250;
    draw();
    EXPECT_FLOAT_EQ(0.0f, seen->glow) << "never below 0";
    EXPECT_FLOAT_EQ(0.75f, away->glow) << "decays out of view too";
    EXPECT_FLOAT_EQ(1.0f, empty->glow) << "an exhausted crystal is left alone";
    // the last blob drawn is the visible crystal's glow: code 20 whatever the pulse, alpha 0.12, magenta
    float tint[4] = {0, 0, 0, 0};
    glGetUniformfv(manager->blobMesh->shader->program, manager->blobMesh->shader->uniform("tint"), tint);
    EXPECT_FLOAT_EQ(1.0f, tint[0]);
    EXPECT_FLOAT_EQ(0.0f, tint[1]);
    EXPECT_FLOAT_EQ(1.0f, tint[2]);
    EXPECT_FLOAT_EQ(0.12f, tint[3]);
}

TEST_F(UnitDrawing, TrailsEmitWhileFlyingAndAgeEveryFrame) {
    Projectile* shot = new Projectile();
    shot->kind = 2;  // spread 10
    shot->position[0] = 32.0f;
    shot->position[1] = 32.0f;
    shot->position[2] = 1.0f;
    manager->projectiles.push_back(shot);
    manager->frameTime = 16;
    draw();
    // timer 16 emits at 16, 11 and 6 and keeps 1
    EXPECT_EQ(3, shot->emitIndex);
    EXPECT_EQ(1, shot->emitTimer);
    EXPECT_LT(shot->particles[0][0], 0.0f) << "never emitted, only aged";
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FLOAT_EQ(1.35f, shot->particles[k][0]) << k;
        EXPECT_FLOAT_EQ(32.0f, shot->particles[k][1]) << k;
        EXPECT_FLOAT_EQ(1.0f, shot->particles[k][3]) << k;
    }
    draw();
    // 17 emits at 17, 12, 7 and 2, leaving -3; the first three aged 16 / 300 and drifted at most 0.016
    EXPECT_EQ(7, shot->emitIndex);
    EXPECT_EQ(-3, shot->emitTimer);
    for (int k = 1; k <= 3; ++k) {
        EXPECT_NEAR(1.35f - 16.0f / 300.0f, shot->particles[k][0], 1e-5f) << k;
        EXPECT_NEAR(32.0f, shot->particles[k][1], 0.016f + 1e-5f) << k;
        EXPECT_NEAR(1.0f, shot->particles[k][3], 0.016f + 1e-5f) << k;
    }
    EXPECT_FLOAT_EQ(1.35f, shot->particles[7][0]);

    // after the impact nothing new starts; 405 ms after emission every particle is gone
    shot->impactTime = 1;
    manager->frameTime = 405;
    draw();
    EXPECT_EQ(7, shot->emitIndex);
    for (int k = 0; k < Projectile::kParticleCount; ++k) {
        EXPECT_LE(shot->particles[k][0], 0.0f) << k;
    }

    // the trail's view flag: its 3.5 sphere from 8 left of the view is outside, from 3 it reaches in;
    // without culling the flag is not touched
    shot->position[0] = 20.0f;
    draw();
    EXPECT_FALSE(shot->inView);
    manager->frustumCulling = false;
    shot->position[0] = 25.0f;
    draw();
    EXPECT_FALSE(shot->inView);
    manager->frustumCulling = true;
    draw();
    EXPECT_TRUE(shot->inView);
}

}  // namespace
