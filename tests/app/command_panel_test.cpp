// The command panel as the player meets it: what each selection offers, the tooltips with their costs,
// the hotkeys with their clicks, and clicks on the buttons through the frame loop's mouse handling.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <string>

#include "app/command_panel.h"
#include "app/game_loop.h"
#include "app/globals.h"
#include "app/sound.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "match_fixture.h"
#include "render/control.h"

class CommandPanelTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        openSounds();
    }
    void TearDown() override {
        world->unitManager->players[0].towerCount = 0;
        closeSounds();
        MatchTest::TearDown();
    }
    // Turns the human's first worker into another type for the test and selects it.
    Unit* selectOwn(int type) {
        Unit* u = worker(0);
        u->type = type;
        world->unitManager->selection.push_back(u);
        rebuildCommandPanel();
        return u;
    }
    // Which of the nine buttons are enabled, as a string of 0 and 1.
    static std::string enabledPattern() {
        std::string s;
        for (int i = 0; i < 9; ++i) {
            s += gCommandButtons[i]->enabled ? '1' : '0';
        }
        return s;
    }
    // Channels playing the click right now.
    static int clicksPlaying() {
        int n = 0;
        for (int c = 0; c < Mix_AllocateChannels(-1); ++c) {
            n += Mix_Playing(c) && Mix_GetChunk(c) == gSoundClick;
        }
        return n;
    }
};

TEST_F(CommandPanelTest, EachSelectionOffersItsButtonsWithTheirCosts) {
    EXPECT_EQ("000000000", enabledPattern());
    for (int i = 0; i < 9; ++i) {
        // Columns at 640 - 180, - 120, - 60; rows at 130, 70, 10; empty and without tooltips.
        EXPECT_TRUE(gCommandButtons[i]->x == 460.0f + 60.0f * (float)(i % 3) &&
                    gCommandButtons[i]->y == 130.0f - 60.0f * (float)(i / 3)) << i;
        EXPECT_EQ("", gCommandButtons[i]->caption + gCommandTooltips[i]->caption);
    }
    Unit* u = selectOwn(kBlob);
    // Stop, Move, Split, no Attack, Mine, Muffin, no Rotundus, Slime Tower; the time and price of each.
    EXPECT_EQ("111001101", enabledPattern());
    EXPECT_EQ("Split (E)", gCommandTooltips[2]->caption);
    EXPECT_EQ("\x1f 10  \x1e 50", gCommandTooltips[2]->note);
    EXPECT_EQ("\x1f 10  \x1e" "25", gCommandTooltips[6]->note);
    EXPECT_EQ("\x1f 70  \x1e" "400", gCommandTooltips[8]->note);
    EXPECT_EQ(std::string(1, world->unitManager->templates[kMuffin]->iconGlyph), gCommandButtons[6]->caption);
    // Filled tooltips are sized to their texts and end 10 pixels from the right edge.
    for (int i : {0, 2, 6, 8}) {
        EXPECT_TRUE(gCommandTooltips[i]->w > 50.0f && gCommandTooltips[i]->x + gCommandTooltips[i]->w == 630.0f);
    }
    u->state = kSplit;  // while it splits it can only stop
    rebuildCommandPanel();
    EXPECT_EQ("100000000", enabledPattern());

    // A Muffin attacks; its flyer morph is shown but locked until a tower stands, and refused silently.
    u->state = kIdle;
    world->unitManager->selection.clear();
    selectOwn(kMuffin);
    EXPECT_EQ("110100110", enabledPattern());
    runCommand(8);
    EXPECT_TRUE(u->state == kIdle && clicksPlaying() == 0);
    world->unitManager->players[0].towerCount = 1;
    rebuildCommandPanel();
    EXPECT_EQ("110100111", enabledPattern());
}

TEST_F(CommandPanelTest, EnemySelectionIsShownDisabledAndItsMoveOrdersNothing) {
    Unit* enemy = worker(1);
    world->unitManager->selection.push_back(enemy);
    rebuildCommandPanel();
    EXPECT_EQ("000000000", enabledPattern());
    EXPECT_EQ("Split (E)", gCommandTooltips[2]->caption);
    loop->handleEvent(keyEvent(true, SDLK_w));  // W still arms a move
    EXPECT_EQ(1, gCommandMode);
    gPickPoint[0] = gPickPoint[1] = 40.0f;
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 320, 240));
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 320, 240));
    EXPECT_TRUE(gCommandMode == 0 && enemy->state == kIdle);
}

TEST_F(CommandPanelTest, HotkeysArmTheTargetModesSplitAndStopWithOneClickEach) {
    ASSERT_NE(nullptr, gSoundClick);
    Unit* u = selectOwn(kBlob);
    const SDLKey keys[3] = {SDLK_a, SDLK_d, SDLK_w};
    const int modes[3] = {2, 3, 1};
    for (int i = 0; i < 3; ++i) {
        Mix_HaltChannel(-1);
        loop->handleEvent(keyEvent(true, keys[i]));
        EXPECT_TRUE(modes[i] == gCommandMode && clicksPlaying() == 1) << i;
    }
    gCommandMode = 0;
    // The human starts with 100.9 crystals: a split (50) is accepted, silently here, and the panel shows
    // the busy worker.
    float before = world->unitManager->players[0].crystals;
    Mix_HaltChannel(-1);
    loop->handleEvent(keyEvent(true, SDLK_e));
    EXPECT_EQ(kSplit, u->state);
    EXPECT_FLOAT_EQ(before - 50.0f, world->unitManager->players[0].crystals);
    EXPECT_TRUE(enabledPattern() == "100000000" && clicksPlaying() == 0);
    loop->handleEvent(keyEvent(true, SDLK_q));
    EXPECT_EQ(kIdle, u->state);
    EXPECT_TRUE(enabledPattern() == "111001101" && clicksPlaying() == 1);
    world->unitManager->players[0].crystals = before;
}

TEST_F(CommandPanelTest, ClickingMoveArmsItAndAClickOnAnotherControlKeepsItArmed) {
    Unit* u = selectOwn(kBlob);
    // Move lies at 520..570 x 130..180 from the bottom, the empty button 4 60 pixels below it.
    for (int y : {155, 95}) {
        loop->handleEvent(motionEvent(545, 480 - y));
        EXPECT_TRUE(loop->overGui);
        loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 545, 480 - y));
        loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 545, 480 - y));
        EXPECT_EQ(1, gCommandMode);
    }
    EXPECT_EQ(kIdle, u->state);
}
