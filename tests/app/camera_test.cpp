// The match camera as the player moves it: scrolling, turning and its spring back, the wheel, the minimap.
#include "app/camera.h"
#include "match_fixture.h"

class CameraTest : public MatchTest {};

TEST_F(CameraTest, EdgesAndArrowsScrollAlongTheTurnedScreenAxesButNotDuringASelectionDrag) {
    // dt 100 at distance 14.5 moves 100 * 14.5 * 0.0011 = 1.595.
    world->setCameraPosition(-30.0f, -30.0f);
    gMouseX = 639;  // right edge: the look-at point goes to larger x
    loop->moveCamera(100);
    EXPECT_NEAR(-31.595f, world->cameraX, 1e-4f);
    gMouseX = 320;  // up moves along y, left takes x back
    loop->handleEvent(keyEvent(true, SDLK_UP));
    loop->handleEvent(keyEvent(true, SDLK_LEFT));
    loop->moveCamera(100);
    loop->handleEvent(keyEvent(false, SDLK_UP));
    loop->handleEvent(keyEvent(false, SDLK_LEFT));
    EXPECT_TRUE(std::fabs(world->cameraX + 30.0f) < 1e-4f && std::fabs(world->cameraY + 31.595f) < 1e-4f);
    world->cameraYaw = 90.0f;  // turned, the right edge moves along y
    scrollCamera(*world, 100, true, false, false, false);
    EXPECT_NEAR(-30.0f, world->cameraY, 1e-3f);
    world->cameraYaw = 0.0f;
    loop->selecting = true;  // no scrolling during a selection drag
    gMouseY = 479;
    loop->moveCamera(5000);
    EXPECT_NEAR(-30.0f, world->cameraY, 1e-3f);
}

TEST_F(CameraTest, MiddleDragTurnsWithinLimitsSpringsBackAfterReleaseAndTheWheelZooms) {
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_MIDDLE, 320, 240));
    loop->handleEvent(motionEvent(330, 140, 10, -100));  // a fifth of a degree per pixel
    EXPECT_TRUE(world->cameraPitch == -60.0f && world->cameraYaw == 2.0f);
    loop->handleEvent(motionEvent(330, 0, 0, -400));
    EXPECT_FLOAT_EQ(-130.0f, world->cameraPitch);  // not past straight down
    loop->handleEvent(motionEvent(330, 479, 0, 600));
    EXPECT_FLOAT_EQ(-40.0f, world->cameraPitch);  // not above the oblique start
    loop->handleEvent(motionEvent(330, 240, 0, -300));
    loop->moveCamera(50);
    EXPECT_FLOAT_EQ(-100.0f, world->cameraPitch);  // held: no spring back
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_MIDDLE, 330, 240));
    world->cameraYaw = 16.0f;
    loop->moveCamera(19);
    EXPECT_NEAR(14.1f, world->cameraYaw, 1e-4f);     // 16 - 16 / 160 * 19
    EXPECT_NEAR(-96.0f, world->cameraPitch, 1e-4f);  // -100 - (-80 / 380) * 19
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_WHEELDOWN, 320, 240));
    EXPECT_FLOAT_EQ(14.5f, world->cameraDistance);  // not past the start distance
    for (int i = 0; i < 30; ++i) {
        loop->handleEvent(buttonEvent(true, SDL_BUTTON_WHEELUP, 320, 240));
    }
    EXPECT_NEAR(9.7956f, world->cameraDistance, 1e-3f);  // 14.5 / 1.04^10, the first not above 10
}

TEST_F(CameraTest, MinimapMovesTheCameraAndPicksTheGroundUnderThePointer) {
    // Window (110, 110) from the bottom-left is the middle of the minimap: cell 32 of 64.
    loop->handleEvent(motionEvent(110, 480 - 110));
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 110, 480 - 110));
    EXPECT_TRUE(!loop->selecting && world->cameraX == -32.0f);
    loop->handleEvent(motionEvent(60, 480 - 160));
    EXPECT_TRUE(world->cameraX == -16.0f && world->cameraY == -48.0f);
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 60, 480 - 160));
    loop->handleEvent(motionEvent(60, 480 - 60));  // hovering picks the ground there, the camera stays
    EXPECT_FLOAT_EQ(-16.0f, world->cameraX);
    loop->pick();
    EXPECT_TRUE(gPickPoint[0] == 16.0f && gPickPoint[1] == 16.0f);
    EXPECT_FLOAT_EQ(world->terrain->height(16.0f, 16.0f), gPickPoint[2]);
    EXPECT_FALSE(insideMinimap(211, 100));
}
