// The main menu: the option buttons cycle the match settings with their captions, every button-down
// clicks, Return starts and Escape leaves; and on the real game, a match started from the menu returns
// to it on Escape, and Escape in the menu ends the program.
#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "app/main_menu.h"
#include "render/control.h"
#include "match_fixture.h"
#include "support/gl_test.h"

namespace {

// The settings every other test expects.
void resetSettings() {
    gNumEnemies = 2;
    gMapSize = 64;
    gDifficulty = 0;
    gTileSet = 0;
    gStartRequested = gExitRequested = false;
}

}  // namespace

TEST(MenuSettings, EachOptionCyclesThroughItsValuesWithTheirCaptions) {
    resetSettings();
    struct Step {
        void (*cycle)(Control*);
        const int* setting;
        int value;
        const char* caption;
    } steps[] = {
        {cycleEnemies, &gNumEnemies, 3, "3 Computers"},         {cycleEnemies, &gNumEnemies, 1, "1 Computer"},
        {cycleEnemies, &gNumEnemies, 2, "2 Computers"},         {cycleMapSize, &gMapSize, 128, "Large (128x128)"},
        {cycleMapSize, &gMapSize, 64, "Small (64x64)"},         {cycleDifficulty, &gDifficulty, 1, "Get it rollin'"},
        {cycleDifficulty, &gDifficulty, 2, "Burn in Hell!"},    {cycleDifficulty, &gDifficulty, 0, "Let me win, Daddy"},
        {cycleTileSet, &gTileSet, 1, "Crazy Asteroid"},         {cycleTileSet, &gTileSet, 0, "Rocky Grasslands"},
    };
    Control button(5, 0.0f, 0.0f, 125.0f, 25.0f);
    for (const Step& s : steps) {
        s.cycle(&button);
        EXPECT_EQ(s.value, *s.setting) << s.caption;
        EXPECT_EQ(s.caption, button.caption);
    }
}

class MenuTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        gScreenWidth = 640;
        gScreenHeight = 480;
        resetSettings();
    }
    void TearDown() override {
        resetSettings();
        GlTest::TearDown();
    }
};

TEST_F(MenuTest, EveryButtonDownClicksAtTheLastPointerPosition) {
    MainMenu menu;
    // The enemies button spans 182.5..307.5 x 91..116 from the bottom: SDL y 480 - 100.
    menu.handleEvent(motionEvent(250, 380));
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_WHEELUP, 0, 0));
    EXPECT_EQ("3 Computers", menu.enemiesButton->caption);
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_RIGHT, 0, 0));
    EXPECT_EQ(1, gNumEnemies);
    EXPECT_FALSE(gStartRequested || gExitRequested);
    // The exit button (20..170 x 20..60).
    menu.handleEvent(motionEvent(60, 440));
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 0, 0));
    EXPECT_TRUE(gExitRequested);
}

TEST_F(MenuTest, ReturnRequestsAStartShownAsLoadingAndEscapeOrCloseLeaves) {
    MainMenu menu;
    menu.handleEvent(keyEvent(true, SDLK_RETURN));
    EXPECT_TRUE(gStartRequested);
    menu.draw();
    EXPECT_EQ("Loading...", menu.startButton->caption);
    gStartRequested = false;
    menu.handleEvent(keyEvent(true, SDLK_ESCAPE));
    EXPECT_TRUE(gExitRequested);
    gExitRequested = false;
    SDL_Event close;
    close.type = SDL_QUIT;
    menu.handleEvent(close);
    EXPECT_TRUE(gExitRequested);
}
