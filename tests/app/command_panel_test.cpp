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

namespace {

// Which of the nine buttons are enabled, as a string of 0 and 1.
std::string enabledPattern() {
    std::string s;
    for (int i = 0; i < 9; ++i) {
        s += gCommandButtons[i]->enabled ? '1' : '0';
    }
    return s;
}

// Channels playing the click right now.
int clicksPlaying() {
    int n = 0;
    for (int c = 0; c < Mix_AllocateChannels(-1); ++c) {
        n += Mix_Playing(c) && Mix_GetChunk(c) == gSoundClick;
    }
    return n;
}

}  // namespace

class CommandPanelTest : public MatchTest {
protected:
    void SetUp() override {
        MatchTest::SetUp();
        openSounds();
    }
    // Turns the human's first worker into another type for the test and selects it.
    Unit* selectOwn(int type) {
        Unit* u = worker(0);
        u->type = type;
        world->unitManager->selection.push_back(u);
        rebuildCommandPanel();
        return u;
    }
    void TearDown() override {
        worker(0)->type = kBlob;
        worker(0)->state = kIdle;
        world->unitManager->players[0].towerCount = 0;
        closeSounds();
        MatchTest::TearDown();
    }
};

TEST_F(CommandPanelTest, NothingSelectedGivesNineEmptyDisabledButtonsInTheCorner) {
    EXPECT_EQ("000000000", enabledPattern());
    for (int i = 0; i < 9; ++i) {
        // Columns at 640 - 180, - 120, - 60; rows at 130, 70, 10.
        EXPECT_FLOAT_EQ(460.0f + 60.0f * (float)(i % 3), gCommandButtons[i]->x) << i;
        EXPECT_FLOAT_EQ(130.0f - 60.0f * (float)(i / 3), gCommandButtons[i]->y) << i;
        EXPECT_EQ("", gCommandButtons[i]->caption + gCommandTooltips[i]->caption);
        EXPECT_FLOAT_EQ(0.0f, gCommandTooltips[i]->w);
    }
}

TEST_F(CommandPanelTest, WorkerOffersStopMoveSplitMineAndItsTwoMorphs) {
    Unit* u = selectOwn(kBlob);
    EXPECT_EQ("111001101", enabledPattern());
    // Stop, Move, Split, no Attack, Mine; the split's time and price.
    EXPECT_EQ("\x1c\x1d\x1b\x0e", gCommandButtons[0]->caption + gCommandButtons[1]->caption +
                                      gCommandButtons[2]->caption + gCommandButtons[3]->caption +
                                      gCommandButtons[5]->caption);
    EXPECT_EQ("Stop (Q)Split (E)Mine (D)", gCommandTooltips[0]->caption + gCommandTooltips[2]->caption +
                                               gCommandTooltips[5]->caption);
    EXPECT_EQ("\x1f 10  \x1e 50", gCommandTooltips[2]->note);
    const UnitTemplate& muffin = *world->unitManager->templates[kMuffin];
    EXPECT_EQ(std::string(1, muffin.iconGlyph), gCommandButtons[6]->caption);
    EXPECT_EQ("Morph to Muffin (Z)", gCommandTooltips[6]->caption);
    EXPECT_EQ(muffin.description, gCommandTooltips[6]->description);
    EXPECT_EQ("\x1f 10  \x1e" "25", gCommandTooltips[6]->note);
    EXPECT_EQ("", gCommandButtons[7]->caption);
    EXPECT_EQ("Morph to Slime Tower (C)", gCommandTooltips[8]->caption);
    EXPECT_EQ("\x1f 70  \x1e" "400", gCommandTooltips[8]->note);
    // Filled tooltips are sized to their texts and end 10 pixels from the right edge.
    for (int i : {0, 2, 6, 8}) {
        EXPECT_GT(gCommandTooltips[i]->w, 50.0f) << i;
        EXPECT_FLOAT_EQ(630.0f, gCommandTooltips[i]->x + gCommandTooltips[i]->w) << i;
    }
    // While it splits it can only stop.
    u->state = kSplit;
    rebuildCommandPanel();
    EXPECT_EQ("100000000", enabledPattern());
    EXPECT_EQ("", gCommandButtons[6]->caption);
}

TEST_F(CommandPanelTest, MuffinAttacksAndItsFlyerMorphWaitsForATower) {
    Unit* u = selectOwn(kMuffin);
    // Stop, Move, Attack; Drop (Z) and Rotundus (X); Fly (C) shown but locked.
    EXPECT_EQ("110100110", enabledPattern());
    EXPECT_EQ("\x18", gCommandButtons[3]->caption);
    EXPECT_EQ("Attack (A)", gCommandTooltips[3]->caption);
    EXPECT_EQ("Morph to Fly (C)", gCommandTooltips[8]->caption);
    // Its button still runs, but the order is refused without a sound.
    runCommand(8);
    EXPECT_EQ(kIdle, u->state);
    EXPECT_EQ(0, clicksPlaying());
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
    EXPECT_EQ(0, gCommandMode);
    EXPECT_EQ(kIdle, enemy->state);
}

TEST_F(CommandPanelTest, HotkeysArmTheTargetModesSplitAndStopWithOneClickEach) {
    ASSERT_NE(nullptr, gSoundClick);
    Unit* u = selectOwn(kBlob);
    const SDLKey keys[3] = {SDLK_a, SDLK_d, SDLK_w};
    const int modes[3] = {2, 3, 1};
    for (int i = 0; i < 3; ++i) {
        Mix_HaltChannel(-1);
        loop->handleEvent(keyEvent(true, keys[i]));
        EXPECT_EQ(modes[i], gCommandMode);
        EXPECT_EQ(1, clicksPlaying()) << i;
    }
    gCommandMode = 0;
    // The human starts with 100.9 crystals: a split (50) is accepted, silently here, and the panel shows
    // the busy worker.
    float before = world->unitManager->players[0].crystals;
    Mix_HaltChannel(-1);
    loop->handleEvent(keyEvent(true, SDLK_e));
    EXPECT_EQ(kSplit, u->state);
    EXPECT_FLOAT_EQ(before - 50.0f, world->unitManager->players[0].crystals);
    EXPECT_EQ("100000000", enabledPattern());
    EXPECT_EQ(0, clicksPlaying());
    loop->handleEvent(keyEvent(true, SDLK_q));
    EXPECT_EQ(kIdle, u->state);
    EXPECT_EQ("111001101", enabledPattern());
    EXPECT_EQ(1, clicksPlaying());
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
