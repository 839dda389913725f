// The World of a match: its start (units, camera, settings), the camera clamp, the per-frame fog pass with
// the selection clean-up, the render-option switches, and the sky box.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "app/game_loop.h"
#include "app/render_options.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "match_fixture.h"
#include "render/texture.h"
#include "scene/terrain.h"

class WorldTest : public MatchTest {};

TEST_F(WorldTest, OneEnemyMatchStartsWithThreeWorkersInTwoOppositeCorners) {
    UnitManager* m = world->unitManager;
    ASSERT_EQ(6u, m->units.size());
    const float expected[6][3] = {{14, 14, 0}, {15, 15, 0}, {16, 16, 0}, {50, 50, 1}, {49, 49, 1}, {48, 48, 1}};
    for (int i = 0; i < 6; ++i) {
        const Unit* u = m->units[i];
        EXPECT_TRUE(u->position[0] == expected[i][0] && u->position[1] == expected[i][1]) << i;
        EXPECT_EQ((int)expected[i][2], u->player) << i;
        EXPECT_FLOAT_EQ(world->terrain->maxHeightAround(u->position[0], u->position[1], 0.5f) + 0.5f, u->position[2]);
    }
}

TEST(WorldStart, EnemyCountFillsTheCornersEvenWithoutAssetsAndTheSettingsArePassedOn) {
    ASSERT_TRUE(ensureGlContext());
    char saved[4096];
    ASSERT_TRUE(getcwd(saved, sizeof(saved)) != 0);
    ASSERT_EQ(0, chdir("/"));  // no ..\shader and no .\textures here: the loaders report them
    {
        World none(64, 0, 0, 0);  // the first enemy plays whatever the count says
        EXPECT_EQ(6u, none.unitManager->units.size());  // no ASSERT before the way back
        EXPECT_EQ(1, none.unitManager->units.back()->player);
        none.buildViewMatrices();
        none.drawSky();  // skipped without its shader
        EXPECT_EQ(0u, takeGlError());
    }
    ASSERT_EQ(0, chdir(saved));
    World world(128, 3, 2, 1);
    UnitManager* m = world.unitManager;
    ASSERT_EQ(12u, m->units.size());
    EXPECT_EQ(2, m->difficulty);
    // Player 2 takes the corner at large x, player 3 the one at large y.
    EXPECT_TRUE(m->units[6]->player == 2 && m->units[6]->position[0] == 114.0f && m->units[8]->position[1] == 16.0f);
    EXPECT_TRUE(m->units[11]->player == 3 && m->units[11]->position[0] == 16.0f && m->units[11]->position[1] == 112.0f);
    // The camera starts over the human's base.
    EXPECT_FLOAT_EQ(-15.0f, world.cameraX);
    EXPECT_FLOAT_EQ(-world.terrain->height(15.0f, 15.0f), world.cameraZ);
    // The sky's images are clamped, so the cube's seams show no texels of the opposite edge.
    GLint wrap[2] = {0, 0};
    glBindTexture(GL_TEXTURE_2D, world.skyTextures[5]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    EXPECT_TRUE(wrap[0] == GL_CLAMP_TO_EDGE && wrap[1] == GL_CLAMP_TO_EDGE);
    EXPECT_EQ(0u, takeGlError());
}

TEST_F(WorldTest, CameraPositionIsClampedEightCellsInsideTheMap) {
    const float cases[3][4] = {{0, 0, -8, -8}, {-1000, 5, -56, -8}, {-20.5f, -56, -20.5f, -56}};
    for (const float* c : cases) {
        world->setCameraPosition(c[0], c[1]);
        EXPECT_TRUE(world->cameraX == c[2] && world->cameraY == c[3]) << world->cameraX << " " << world->cameraY;
        EXPECT_FLOAT_EQ(-world->terrain->height(-c[2], -c[3]), world->cameraZ);
    }
}

TEST_F(WorldTest, UnitsInTheFogAreHiddenAndLeaveTheSelection) {
    UnitManager* m = world->unitManager;
    Unit* own = worker(0);
    Unit* enemy = worker(1);  // 50 cells away in the opposite corner: fogged
    m->selection = {enemy, own};
    world->update(1);
    EXPECT_TRUE(enemy->hidden && !own->hidden);
    ASSERT_EQ(1u, m->selection.size());
    EXPECT_EQ(own, m->selection[0]);
    // F10 lifts the fog (and boosts the human), so the enemy can be seen and kept selected.
    loop->handleEvent(keyEvent(true, SDLK_F10));
    EXPECT_TRUE(m->boostMode);
    m->selection.push_back(enemy);
    world->update(1);
    EXPECT_FALSE(enemy->hidden);
    EXPECT_EQ(2u, m->selection.size());
    loop->handleEvent(keyEvent(true, SDLK_F10));
    world->update(1);
    EXPECT_FALSE(m->boostMode);
    EXPECT_EQ(1u, m->selection.size());
}

TEST_F(WorldTest, FunctionKeysSwitchTheOptionsAndTheListShowsThem) {
    UnitManager* m = world->unitManager;
    const SDLKey keys[] = {SDLK_F2, SDLK_F3, SDLK_F4, SDLK_F5, SDLK_F6, SDLK_F8, SDLK_F9, SDLK_TAB};
    for (SDLKey k : keys) {
        loop->handleEvent(keyEvent(true, k));
    }
    EXPECT_TRUE(world->showInfo && world->wireframe);
    EXPECT_FALSE(world->showLifeBars || world->terrain->frustumCulling || m->frustumCulling);
    // Values under their headings, from the top: fps, then wireframe (F3) to alpha blending (F9).
    std::vector<OptionLine> lines = renderOptionLines(*world, 57);
    ASSERT_EQ(15u, lines.size());
    EXPECT_TRUE(lines[0].text == "57 fps" && lines[13].heading && !lines[14].heading && lines[14].below == 320);
    std::string values;
    for (int i = 2; i < 15; i += 2) {
        values += lines[i].text + " ";
    }
    EXPECT_EQ("Enabled Nearest Disabled Disabled 2x Disabled Disabled ", values);
    for (SDLKey k : keys) {
        loop->handleEvent(keyEvent(true, k));
    }
    EXPECT_EQ("Linear", renderOptionLines(*world, 0)[4].text);
    EXPECT_TRUE(world->frustumCulling && world->terrain->frustumCulling && m->frustumCulling);

    // F7 doubles up to the driver's maximum, then turns the filter off; it never leaves that range.
    int level = 2;
    for (int want : {4, 8, 16, 1, 2}) {
        EXPECT_EQ(want, level = nextAnisotropy(level, 16.0f));
    }
    EXPECT_EQ(1, nextAnisotropy(2, 1.0f));
    EXPECT_EQ("Disabled", anisotropyText(1));
    loop->handleEvent(keyEvent(true, SDLK_F7));
    EXPECT_EQ(maxAnisotropy() > 2.0f ? 4 : 1, world->anisotropy);
    world->anisotropy = 2;
}

// One colour per face stands in for the images, so the centre pixel names the face the camera faces.
TEST_F(WorldTest, SkyShowsTheFaceTheCameraTurnsToWithoutWritingDepth) {
    const unsigned char colours[6][4] = {{255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},
                                         {255, 255, 0, 255}, {0, 255, 255, 255}, {255, 0, 255, 255}};
    GLuint images[6];
    GLuint saved[6];
    glGenTextures(6, images);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, images[face]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, colours[face]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        saved[face] = world->skyTextures[face];
        world->skyTextures[face] = images[face];
    }
    // Pitch 0 looks straight down, -90 towards +y, -180 straight up; the yaw turns the -90 view about z.
    const float views[6][2] = {{-90, 90}, {-90, 180}, {-90, 270}, {-90, 0}, {-180, 0}, {0, 0}};
    glViewport(0, 0, 640, 480);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    for (int face = 0; face < 6; ++face) {
        world->cameraPitch = views[face][0];
        world->cameraYaw = views[face][1];
        world->buildViewMatrices();
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->drawSky();
        unsigned char rgba[4] = {0, 0, 0, 0};
        float depth = 0.0f;
        glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_EQ(0, std::memcmp(colours[face], rgba, 3)) << "face " << face;
        EXPECT_FLOAT_EQ(1.0f, depth);
    }
    for (int face = 0; face < 6; ++face) {
        world->skyTextures[face] = saved[face];
    }
    glDeleteTextures(6, images);
}
