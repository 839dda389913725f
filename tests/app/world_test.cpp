// The World of a match: its start, the camera clamp, the fog pass, the render-option keys and the sky.
#include "app/render_options.h"
#include "match_fixture.h"
#include "render/texture.h"  // maxAnisotropy

class WorldTest : public MatchTest {};

TEST(WorldStart, EnemyCountFillsTheCornersAndTheSettingsArePassedOn) {
    ASSERT_TRUE(ensureGlContext());
    World world(128, 3, 2, 1);
    UnitManager* m = world.unitManager;
    ASSERT_EQ(12u, m->units.size());
    EXPECT_EQ(2, m->difficulty);
    // Three workers a player on the diagonal of its corner: the human's at 14..16, the first enemy's
    // opposite, player 2 at large x, player 3 at large y; each stands on the ground.
    const float corners[4][3] = {{14, 14, 1}, {114, 114, -1}, {114, 14, -1}, {14, 114, 1}};
    for (int i = 0; i < 12; ++i) {
        const float* c = corners[i / 3];
        const Unit* u = m->units[i];
        EXPECT_TRUE(u->player == i / 3 && u->position[0] == c[0] + c[2] * (i % 3) &&
                    u->position[1] == c[1] + (i < 6 ? c[2] : -c[2]) * (i % 3)) << i;
        EXPECT_FLOAT_EQ(world.terrain->maxHeightAround(u->position[0], u->position[1], 0.5f) + 0.5f, u->position[2]);
    }
    EXPECT_FLOAT_EQ(-15.0f, world.cameraX);  // over the human's base
    // The sky's images are clamped, so the cube's seams show no texels of the opposite edge.
    GLint wrap[2] = {0, 0};
    glBindTexture(GL_TEXTURE_2D, world.skyTextures[5]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    EXPECT_TRUE(wrap[0] == GL_CLAMP_TO_EDGE && wrap[1] == GL_CLAMP_TO_EDGE);
}

TEST_F(WorldTest, CameraIsClampedInsideTheMapAndFogHidesUnitsAndDropsThemFromTheSelection) {
    const float cases[3][4] = {{0, 0, -8, -8}, {-1000, 5, -56, -8}, {-20.5f, -56, -20.5f, -56}};
    for (const float* c : cases) {
        world->setCameraPosition(c[0], c[1]);
        EXPECT_TRUE(world->cameraX == c[2] && world->cameraY == c[3]) << world->cameraX << " " << world->cameraY;
        EXPECT_FLOAT_EQ(-world->terrain->height(-c[2], -c[3]), world->cameraZ);
    }
    UnitManager* m = world->unitManager;
    Unit* own = worker(0);
    Unit* enemy = worker(1);  // 50 cells away in the opposite corner
    m->selection = {enemy, own};
    world->update(1);
    EXPECT_TRUE(enemy->hidden && !own->hidden && m->selection.size() == 1u);
    loop->handleEvent(keyEvent(true, SDLK_F10));  // lifts the fog (and boosts the human)
    m->selection.push_back(enemy);
    world->update(1);
    EXPECT_TRUE(m->boostMode && !enemy->hidden && m->selection.size() == 2u);
    loop->handleEvent(keyEvent(true, SDLK_F10));
    world->update(1);
    EXPECT_TRUE(!m->boostMode && m->selection.size() == 1u && m->selection[0] == own);
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
    std::string values;
    for (const OptionLine& line : renderOptionLines(*world, 57)) {
        values += line.heading ? "" : line.text + " ";
    }
    EXPECT_EQ("57 fps Enabled Nearest Disabled Disabled 2x Disabled Disabled ", values);
    for (SDLKey k : keys) {
        loop->handleEvent(keyEvent(true, k));
    }
    EXPECT_EQ("Linear", renderOptionLines(*world, 0)[4].text);
    EXPECT_TRUE(world->frustumCulling && world->terrain->frustumCulling && m->frustumCulling);
    loop->handleEvent(keyEvent(true, SDLK_F7));  // doubles up to the driver's maximum, then turns it off
    EXPECT_EQ(maxAnisotropy() > 2.0f ? 4 : 1, world->anisotropy);
    world->anisotropy = 2;
}

// One colour per face stands in for the images, so the centre pixel names the face the camera faces.
TEST_F(WorldTest, SkyShowsTheFaceTheCameraTurnsToWithoutWritingDepth) {
    const unsigned char colours[6][4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    // Pitch 0 looks straight down, -90 towards +y, -180 straight up; the yaw turns the -90 view about z.
    const float views[6][2] = {{-90, 90}, {-90, 180}, {-90, 270}, {-90, 0}, {-180, 0}, {0, 0}};
    GLuint images[6];
    glGenTextures(6, images);
    std::swap(images, world->skyTextures);  // the match's own images come back at the end
    glViewport(0, 0, 640, 480);
    glEnable(GL_DEPTH_TEST);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, world->skyTextures[face]);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, colours[face]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        world->cameraPitch = views[face][0];
        world->cameraYaw = views[face][1];
        world->buildViewMatrices();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        world->drawSky();
        unsigned char rgba[4] = {0, 0, 0, 0};
        float depth = 0.0f;
        glReadPixels(320, 240, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_TRUE(std::memcmp(colours[face], rgba, 3) == 0 && depth == 1.0f) << "face " << face;
    }
    std::swap(images, world->skyTextures);
    glDeleteTextures(6, images);
}
