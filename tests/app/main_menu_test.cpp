// The main menu: the option buttons cycle the match settings with their captions, every button-down
// clicks, Return starts and Escape leaves; and on the real game, a match started from the menu returns
// to it on Escape, and Escape in the menu ends the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/globals.h"
#include "app/main_menu.h"
#include "render/control.h"
#include "match_fixture.h"
#include "support/gl_test.h"
#include "support/run_program.h"

namespace {

// Restores the settings the other tests expect.
void resetSettings() {
    gNumEnemies = 2;
    gMapSize = 64;
    gDifficulty = 0;
    gTileSet = 0;
    gStartRequested = false;
    gExitRequested = false;
}

std::string shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return out;
    }
    char buffer[256];
    while (fgets(buffer, sizeof(buffer), pipe)) {
        out += buffer;
    }
    pclose(pipe);
    return out;
}

// The visible window titled Gelmarch that belongs to another process (this one may have its own).
std::string gameWindow() {
    std::string list = shell("xdotool search --onlyvisible --name '^Gelmarch$' 2>/dev/null");
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        std::string id = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? list.size() : end + 1;
        if (!id.empty() && atoi(shell("xdotool getwindowpid " + id + " 2>/dev/null").c_str()) != (int)getpid()) {
            return id;
        }
    }
    return "";
}

// Mean and maximum brightness (0..255) of what the X server shows in a window.
void windowBrightness(const std::string& window, float& mean, float& maximum) {
    std::string out = shell("import -window " + window + " png:- 2>/dev/null | convert png:- -colorspace Gray "
                            "-format '%[fx:mean*255] %[fx:maxima*255]' info: 2>/dev/null");
    mean = maximum = -1.0f;
    std::sscanf(out.c_str(), "%f %f", &mean, &maximum);
}

}  // namespace

TEST(MenuSettings, EachOptionCyclesThroughItsValuesWithTheirCaptions) {
    resetSettings();
    Control button(5, 0.0f, 0.0f, 125.0f, 25.0f);
    const char* enemies[3] = {"3 Computers", "1 Computer", "2 Computers"};
    const int enemyValues[3] = {3, 1, 2};
    for (int i = 0; i < 3; ++i) {
        cycleEnemies(&button);
        EXPECT_EQ(enemyValues[i], gNumEnemies);
        EXPECT_EQ(enemies[i], button.caption);
    }
    cycleMapSize(&button);
    EXPECT_EQ(128, gMapSize);
    EXPECT_EQ("Large (128x128)", button.caption);
    cycleMapSize(&button);
    EXPECT_EQ(64, gMapSize);
    EXPECT_EQ("Small (64x64)", button.caption);
    const char* difficulties[3] = {"Get it rollin'", "Burn in Hell!", "Let me win, Daddy"};
    for (int i = 0; i < 3; ++i) {
        cycleDifficulty(&button);
        EXPECT_EQ((i + 1) % 3, gDifficulty);
        EXPECT_EQ(difficulties[i], button.caption);
    }
    cycleTileSet(&button);
    EXPECT_EQ(1, gTileSet);
    EXPECT_EQ("Crazy Asteroid", button.caption);
    cycleTileSet(&button);
    EXPECT_EQ("Rocky Grasslands", button.caption);
    resetSettings();
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
    EXPECT_EQ(3, gNumEnemies);
    EXPECT_EQ("3 Computers", menu.enemiesButton->caption);
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_RIGHT, 0, 0));
    EXPECT_EQ(1, gNumEnemies);
    // Off every button nothing happens.
    menu.handleEvent(motionEvent(320, 100));
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 0, 0));
    EXPECT_EQ(1, gNumEnemies);
    EXPECT_FALSE(gStartRequested || gExitRequested);
    // The exit button (20..170 x 20..60).
    menu.handleEvent(motionEvent(60, 440));
    menu.handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 0, 0));
    EXPECT_TRUE(gExitRequested);
}

TEST_F(MenuTest, ReturnRequestsAStartShownAsLoadingAndEscapeLeaves) {
    MainMenu menu;
    menu.handleEvent(keyEvent(true, SDLK_SPACE));
    EXPECT_FALSE(gStartRequested || gExitRequested);
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
    std::string window;
    for (int i = 0; i < 100 && window.empty() && !done; ++i) {
        usleep(100000);
        window = gameWindow();
    }
    ASSERT_FALSE(window.empty()) << r.out << r.err;
    const std::string press = "xdotool windowfocus --sync " + window + " key ";
    sleep(1);
    // What the player sees: the menu's bright title and buttons on dark green, then the lit ground of a match.
    float mean = 0.0f, maximum = 0.0f;
    windowBrightness(window, mean, maximum);
    EXPECT_GT(maximum, 150.0f) << "the menu is not on screen";
    shell(press + "Return 2>/dev/null");
    sleep(6);  // the match is built and runs a few frames
    EXPECT_FALSE(done);
    windowBrightness(window, mean, maximum);
    EXPECT_GT(mean, 45.0f) << "the match is not on screen";  // the menu averages about 28
    shell(press + "Escape 2>/dev/null");
    sleep(2);
    EXPECT_FALSE(done) << "Escape in a match goes back to the menu, not out of the game; status " << r.status;
    for (int i = 0; i < 50 && !done; ++i) {
        shell(press + "Escape 2>/dev/null");
        usleep(200000);
    }
    game.join();
    EXPECT_EQ(0, r.status) << r.out << r.err;
    EXPECT_EQ("", r.err);
}
