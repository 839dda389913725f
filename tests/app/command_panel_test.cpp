// The command panel as the player meets it: what each selection offers, the costs, hotkeys and clicks.
#include <SDL_mixer.h>

#include "app/sound.h"
#include "match_fixture.h"

class CommandPanelTest : public MatchTest {
protected:
    // Selects unit u as the given type; returns which of the nine buttons are enabled, as 0s and 1s.
    std::string select(Unit* u, int type) {
        u->type = type;
        world->unitManager->selection = {u};
        rebuildCommandPanel();
        return enabledPattern();
    }
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
    EXPECT_TRUE(gCommandButtons[7]->x == 520.0f && gCommandButtons[7]->y == 10.0f && gCommandTooltips[4]->caption == "");
    // Stop, Move, Split, no Attack, Mine, Muffin, no Rotundus, Slime Tower; the time and price of each.
    Unit* u = worker(0);
    EXPECT_EQ("111001101", select(u, kBlob));
    EXPECT_EQ("Split (E)", gCommandTooltips[2]->caption);
    EXPECT_EQ("\x1f 10  \x1e 50", gCommandTooltips[2]->note);
    EXPECT_EQ("\x1f 70  \x1e" "400", gCommandTooltips[8]->note);
    EXPECT_EQ(630.0f, gCommandTooltips[8]->x + gCommandTooltips[8]->w);  // sized to its text, 10 from the edge
    EXPECT_EQ("000000000", select(worker(1), kBlob));  // an enemy's are shown disabled
    // A Muffin attacks; its flyer morph is locked until a tower stands, and refused silently.
    EXPECT_EQ("110100110", select(u, kMuffin));
    runCommand(8);
    EXPECT_TRUE(u->state == kIdle && clicksPlaying() == 0);
    world->unitManager->players[0].towerCount = 1;
    rebuildCommandPanel();
    EXPECT_EQ("110100111", enabledPattern());
}

TEST_F(CommandPanelTest, HotkeysAndClicksArmModesSplitAndStopWithOneClickEachAndAnEnemyIsNotOrdered) {
    ASSERT_NE(nullptr, gSoundClick);
    Unit* u = worker(0);
    select(u, kBlob);
    const struct { SDLKey key; int mode; } hotkeys[] = {{SDLK_a, 2}, {SDLK_d, 3}, {SDLK_w, 1}};  // attack, mine, move
    for (const auto& h : hotkeys) {
        Mix_HaltChannel(-1);
        loop->handleEvent(keyEvent(true, h.key));
        EXPECT_TRUE(gCommandMode == h.mode && clicksPlaying() == 1) << h.key;
    }
    gCommandMode = 0;
    // Move lies at 520..570 x 130..180 from the bottom; a click on the empty button 60 below keeps it armed.
    for (int y : {155, 95}) {
        loop->handleEvent(motionEvent(545, 480 - y));
        loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 545, 480 - y));
        loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 545, 480 - y));
        EXPECT_TRUE(loop->overGui && gCommandMode == 1 && u->state == kIdle);
    }
    // The human starts with 100.9 crystals: a split (50) is accepted, silently; Q stops it.
    float before = world->unitManager->players[0].crystals;
    Mix_HaltChannel(-1);
    loop->handleEvent(keyEvent(true, SDLK_e));
    EXPECT_TRUE(u->state == kSplit && enabledPattern() == "100000000" && clicksPlaying() == 0);
    EXPECT_FLOAT_EQ(before - 50.0f, world->unitManager->players[0].crystals);
    loop->handleEvent(keyEvent(true, SDLK_q));
    EXPECT_TRUE(u->state == kIdle && enabledPattern() == "111001101" && clicksPlaying() == 1);
    world->unitManager->players[0].crystals = before;
    Unit* enemy = worker(1);
    select(enemy, kBlob);
    loop->handleEvent(keyEvent(true, SDLK_w));  // a move for an enemy lands and orders nothing
    gPickPoint[0] = gPickPoint[1] = 40.0f;
    loop->handleEvent(motionEvent(320, 240));
    loop->handleEvent(buttonEvent(true, SDL_BUTTON_LEFT, 320, 240));
    loop->handleEvent(buttonEvent(false, SDL_BUTTON_LEFT, 320, 240));
    EXPECT_TRUE(gCommandMode == 0 && enemy->state == kIdle);
}
