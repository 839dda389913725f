// The main menu: the option buttons cycle the match settings with their captions, every button-down
// clicks, Return starts and Escape leaves; and on the real game, a match started from the menu returns
// to it on Escape, and Escape in the menu ends the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "app/globals.h"
#include "app/main_menu.h"
#include "render/control.h"
#include "match_fixture.h"
#include "support/gl_test.h"
#include "support/run_program.h"

namespace {

// The settings every other test expects.
void resetSettings() {
    gNumEnemies = 2;
    gMapSize = 64;
    gDifficulty = 0;
    gTileSet = 0;
    gStartRequested = gExitRequested = false;
}

std::string shell(const std::string& command) {
    return runProgram("/bin/sh", {"-c", command + " 2>/dev/null"}, {}, ".").out;
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

TEST(MenuOnTheGame, ReturnStartsAMatchEscapeComesBackAndEscapeAgainEnds) {
    std::atomic<bool> done(false);
    ProgramResult r;
    std::thread game([&] {
        r = runProgram(GELMARCH_EXE, {"-r", "640", "480"}, {"SDL_AUDIODRIVER=dummy"}, GELMARCH_SOURCE_DIR "/bin",
                       60000);
        done = true;
    });
    // The visible game window of the other process (this one may have its own).
    const std::string find = "for w in $(xdotool search --onlyvisible --name '^Gelmarch$'); do "
                             "[ \"$(xdotool getwindowpid $w)\" != " + std::to_string(getpid()) +
                             " ] && echo $w && break; done";
    std::string window;
    for (int i = 0; i < 100 && window.empty() && !done; ++i) {
        usleep(100000);
        window = shell(find);
        window = window.substr(0, window.find('\n'));
    }
    ASSERT_FALSE(window.empty()) << r.out << r.err;
    const std::string press = "xdotool windowfocus --sync " + window + " key ";
    // Mean and maximum grey (0..255) of what the X server shows: the menu's bright title on dark green,
    // then the lit ground of a match.
    auto brightness = [&](float& mean, float& maximum) {
        std::sscanf(shell("import -window " + window + " png:- | convert png:- -colorspace Gray "
                          "-format '%[fx:mean*255] %[fx:maxima*255]' info:").c_str(), "%f %f", &mean, &maximum);
    };
    sleep(1);
    float mean = -1.0f, maximum = -1.0f;
    brightness(mean, maximum);
    EXPECT_GT(maximum, 150.0f) << "the menu is not on screen";
    shell(press + "Return");
    sleep(6);  // the match is built and runs a few frames
    EXPECT_FALSE(done);
    brightness(mean, maximum);
    EXPECT_GT(mean, 45.0f) << "the match is not on screen";  // the menu averages about 28
    shell(press + "Escape");
    sleep(2);
    EXPECT_FALSE(done) << "Escape in a match goes back to the menu, not out of the game; status " << r.status;
    for (int i = 0; i < 50 && !done; ++i) {
        shell(press + "Escape");
        usleep(200000);
    }
    game.join();
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.err);
}
