// The main menu: the option buttons cycle the match settings with their captions, every button-down
// clicks where the pointer last was, Return starts (shown as loading) and Escape or a close request leaves.
#include "app/main_menu.h"
#include "match_fixture.h"

TEST(MenuTest, OptionsCycleWithTheirCaptionsAndButtonsClickAtTheLastPointerPosition) {
    ASSERT_TRUE(ensureGlContext());
    const struct {
        void (*cycle)(Control*);
        const int* setting;
        int value;
        const char* caption;
    } steps[] = {
        {cycleEnemies, &gNumEnemies, 3, "3 Computers"},      {cycleEnemies, &gNumEnemies, 1, "1 Computer"},
        {cycleEnemies, &gNumEnemies, 2, "2 Computers"},      {cycleMapSize, &gMapSize, 128, "Large (128x128)"},
        {cycleMapSize, &gMapSize, 64, "Small (64x64)"},      {cycleDifficulty, &gDifficulty, 1, "Get it rollin'"},
        {cycleDifficulty, &gDifficulty, 2, "Burn in Hell!"}, {cycleDifficulty, &gDifficulty, 0, "Let me win, Daddy"},
        {cycleTileSet, &gTileSet, 1, "Crazy Asteroid"},      {cycleTileSet, &gTileSet, 0, "Rocky Grasslands"},
    };
    gScreenWidth = 640;
    gScreenHeight = 480;
    gNumEnemies = 2;
    gStartRequested = gExitRequested = false;
    Control button(5, 0.0f, 0.0f, 125.0f, 25.0f);
    for (const auto& s : steps) {
        s.cycle(&button);
        EXPECT_TRUE(s.value == *s.setting && button.caption == s.caption) << s.caption;
    }
    MainMenu menu;
    // The enemies button spans 182.5..307.5 x 91..116 from the bottom; wheel and right button click too.
    menu.handleEvent(motionEvent(250, 480 - 100));
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_WHEELUP, 0, 0));
    EXPECT_EQ("3 Computers", menu.enemiesButton->caption);
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_RIGHT, 0, 0));
    EXPECT_TRUE(gNumEnemies == 1 && !gStartRequested && !gExitRequested);
    menu.handleEvent(keyEvent(true, SDLK_RETURN));
    menu.draw();
    EXPECT_TRUE(gStartRequested && menu.startButton->caption == "Loading...");
    SDL_Event close = SDL_Event();
    close.type = SDL_QUIT;
    menu.handleEvent(motionEvent(60, 440));  // the exit button (20..170 x 20..60)
    for (const SDL_Event& e : {buttonEvent(true, SDL_BUTTON_LEFT, 0, 0), keyEvent(true, SDLK_ESCAPE), close}) {
        gExitRequested = false;
        menu.handleEvent(e);
        EXPECT_TRUE(gExitRequested) << (int)e.type;
    }
}
