// The match camera as the player moves it: edge and arrow scrolling, turning with the middle button and
// its limits, the spring back, the wheel, the minimap, and where the eye ends up.
#include <gtest/gtest.h>

#include <cmath>

#include "app/camera.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/world.h"
#include "match_fixture.h"
#include "scene/terrain.h"

class CameraTest : public MatchTest {};

TEST_F(CameraTest, EdgesAndArrowsScrollAlongTheTurnedScreenAxesWithinTheClamp) {
    // dt 100 at distance 14.5 moves 100 * 14.5 * 0.0011 = 1.595.
    world->setCameraPosition(-30.0f, -30.0f);
    gMouseX = 639;  // right edge: the look-at point goes to larger x
    loop->moveCamera(100);
    EXPECT_TRUE(std::fabs(world->cameraX + 31.595f) < 1e-4f && std::fabs(world->cameraY + 30.0f) < 1e-4f)
        << world->cameraX << "," << world->cameraY;
    gMouseX = 320;  // up moves along y, left takes x back
    loop->handleEvent(keyEvent(true, SDLK_UP));
    loop->handleEvent(keyEvent(true, SDLK_LEFT));
    loop->moveCamera(100);
    loop->handleEvent(keyEvent(false, SDLK_UP));
    loop->handleEvent(keyEvent(false, SDLK_LEFT));
    EXPECT_TRUE(std::fabs(world->cameraX + 30.0f) < 1e-4f && std::fabs(world->cameraY + 31.595f) < 1e-4f)
        << world->cameraX << "," << world->cameraY;

    // At yaw 90 the right edge moves along y instead (scrolled directly: the yaw springs back in a frame).
    world->setCameraPosition(-30.0f, -30.0f);
    world->cameraYaw = 90.0f;
    scrollCamera(*world, 100, true, false, false, false);
    EXPECT_NEAR(-30.0f, world->cameraX, 1e-3f);
    EXPECT_NEAR(-28.405f, world->cameraY, 1e-3f);

    // No scrolling during a selection drag; a long press of down stops at the clamp.
    world->cameraYaw = 0.0f;
    loop->selecting = true;
    gMouseY = 479;
    loop->moveCamera(5000);
    EXPECT_NEAR(-28.405f, world->cameraY, 1e-3f);
    loop->selecting = false;
    loop->moveCamera(5000);
    EXPECT_FLOAT_EQ(-8.0f, world->cameraY);
}

TEST_F(CameraTest, MiddleDragTurnsWithinLimitsSpringsBackAfterReleaseAndTheWheelZooms) {
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_MIDDLE, 320, 240));
    EXPECT_TRUE(world->rotating);
    loop->handleEvent(motionEvent(330, 140, 10, -100));  // a fifth of a degree per pixel
    EXPECT_FLOAT_EQ(-60.0f, world->cameraPitch);
    EXPECT_FLOAT_EQ(2.0f, world->cameraYaw);
    loop->handleEvent(motionEvent(330, 0, 0, -400));
    EXPECT_FLOAT_EQ(-130.0f, world->cameraPitch);  // not past straight down
    loop->handleEvent(motionEvent(330, 479, 0, 600));
    EXPECT_FLOAT_EQ(-40.0f, world->cameraPitch);  // not above the oblique start
    loop->handleEvent(motionEvent(330, 240, 0, -300));
    loop->moveCamera(50);
    EXPECT_FLOAT_EQ(-100.0f, world->cameraPitch);  // held: no spring back

    loop->handleEvent(buttonEvent(false, SDL_BUTTON_MIDDLE, 330, 240));
    EXPECT_FALSE(world->rotating);
    world->cameraYaw = 16.0f;
    loop->moveCamera(19);
    EXPECT_NEAR(14.1f, world->cameraYaw, 1e-4f);     // 16 - 16 / 160 * 19
    EXPECT_NEAR(-96.0f, world->cameraPitch, 1e-4f);  // -100 - (-80 / 380) * 19
    world->cameraYaw = 0.05f;
    loop->moveCamera(100);
    EXPECT_FLOAT_EQ(0.05f, world->cameraYaw);  // close enough to rest

    // The wheel zooms between 10 and the start distance.
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_WHEELDOWN, 320, 240));
    EXPECT_FLOAT_EQ(14.5f, world->cameraDistance);
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_WHEELUP, 320, 240));
    EXPECT_NEAR(13.9423f, world->cameraDistance, 1e-3f);
    for (int i = 0; i < 30; ++i) {
        loop->handleEvent(buttonEvent(true, SDL_BUTTON_WHEELUP, 320, 240));
    }
    EXPECT_NEAR(9.7956f, world->cameraDistance, 1e-3f);  // 14.5 / 1.04^10, the first not above 10
}

TEST_F(CameraTest, MinimapMovesTheCameraAndPicksTheGroundUnderThePointer) {
    // Window (110, 110) from the bottom-left is the middle of the minimap: cell 32 of 64.
    loop->handleEvent(motionEvent(110, 480 - 110));
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 110, 480 - 110));
    EXPECT_TRUE(loop->minimapDragging);
    EXPECT_FALSE(loop->selecting);
    EXPECT_FLOAT_EQ(-32.0f, world->cameraX);
    loop->handleEvent(motionEvent(60, 480 - 160));
    EXPECT_FLOAT_EQ(-16.0f, world->cameraX);
    EXPECT_FLOAT_EQ(-48.0f, world->cameraY);
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 60, 480 - 160));
    EXPECT_FALSE(loop->minimapDragging);

    // Hovering picks the ground there; the depth pick leaves it alone meanwhile.
    loop->handleEvent(motionEvent(60, 480 - 60));
    EXPECT_TRUE(loop->overMinimap);
    EXPECT_FLOAT_EQ(-16.0f, world->cameraX);
    loop->pick();
    EXPECT_FLOAT_EQ(16.0f, gPickPoint[0]);
    EXPECT_FLOAT_EQ(16.0f, gPickPoint[1]);
    EXPECT_FLOAT_EQ(world->terrain->height(16.0f, 16.0f), gPickPoint[2]);
    EXPECT_TRUE(insideMinimap(210, 10));
    EXPECT_FALSE(insideMinimap(211, 100));
}

TEST_F(CameraTest, EyeSitsBehindAndAboveTheLookAtPointAndNeverInAHill) {
    world->setCameraPosition(-20.0f, -20.0f);
    float ground = world->terrain->height(20.0f, 20.0f);
    float eye[3];
    cameraEye(*world, eye);
    // pitch -40: sin -0.64278, cos 0.76604; times 14.5: -9.3203 and 11.1076.
    EXPECT_NEAR(20.0f, eye[0], 1e-4f);
    EXPECT_NEAR(10.6797f, eye[1], 1e-3f);
    EXPECT_NEAR(ground + 11.1076f, eye[2], 1e-3f);
    world->cameraYaw = 90.0f;
    cameraEye(*world, eye);
    EXPECT_NEAR(10.6797f, eye[0], 1e-3f);
    EXPECT_NEAR(20.0f, eye[1], 2e-3f);
    EXPECT_FLOAT_EQ(0.0f, cameraLift(7.0f, 6.0f));
    EXPECT_FLOAT_EQ(2.0f, cameraLift(5.0f, 6.0f));
}
