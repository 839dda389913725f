#include "app/command_panel.h"

#include <cstdio>
#include <string>

#include "app/globals.h"
#include "app/sound.h"
#include "app/world.h"
#include "game/player_state.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/canvas.h"
#include "render/control.h"

namespace {

// Font cells of the panel's icons.
const char kIconMine = 14;
const char kIconAttack = 24;
const char kIconSplit = 27;
const char kIconStop = 28;
const char kIconMove = 29;
const char kIconCrystal = 30;
const char kIconTime = 31;

// Fills one button and its tooltip, sizes the tooltip to its texts and keeps it 10 pixels off the right edge.
void fill(int index, char icon, const std::string& title, const std::string& description, const std::string& note,
          bool enabled) {
    Control* button = gCommandButtons[index];
    Control* tip = gCommandTooltips[index];
    button->caption = std::string(1, icon);
    button->enabled = enabled ? 1 : 0;
    tip->caption = title;
    tip->description = description;
    tip->note = note;
    tip->fitTooltip();
    tip->x = (float)gScreenWidth - 10.0f - tip->w;
}

// "<time icon> 10  <crystal icon>50": the time a morph takes and what it costs.
std::string priceNote(int seconds, int cost, bool spaceBeforeCost) {
    char text[48];
    std::snprintf(text, sizeof(text), "%c %d  %c%s%d", kIconTime, seconds, kIconCrystal, spaceBeforeCost ? " " : "",
                  cost);
    return text;
}

}  // namespace

// Positions follow the window width at match start and never move afterwards.
void createCommandPanel(Canvas* canvas) {
    for (int i = 0; i < 9; ++i) {
        float x = (float)((i % 3) * 60 + (gScreenWidth - 180));
        float y = (float)(130 - (i / 3) * 60);
        Control* button = new Control(3, x, y, 50.0f, 50.0f);
        button->id = i;
        button->callback = commandButtonClicked;
        gCommandButtons[i] = button;
        canvas->addControl(button);
        Control* tip = new Control(2, (float)(gScreenWidth - 180), 222.0f, 0.0f, 0.0f);
        gCommandTooltips[i] = tip;
        button->tooltip = tip;
    }
    gCommandMode = 0;
}

// The owner deletes; the globals are unlinked so nothing reaches a deleted control.
void destroyCommandPanel() {
    // The canvas only lists the buttons; unlink them before they go.
    if (gWorld && gWorld->canvas) {
        gWorld->canvas->controls.clear();
    }
    for (int i = 0; i < 9; ++i) {
        delete gCommandButtons[i];
        gCommandButtons[i] = 0;
        delete gCommandTooltips[i];
        gCommandTooltips[i] = 0;
    }
    gCommandMode = 0;
}

// The panel always describes the first selected unit, even in a mixed selection.
void rebuildCommandPanel() {
    for (int i = 0; i < 9; ++i) {
        gCommandButtons[i]->caption = "";
        gCommandButtons[i]->enabled = 0;
        gCommandTooltips[i]->caption = "";
        gCommandTooltips[i]->description = "";
        gCommandTooltips[i]->note = "";
        gCommandTooltips[i]->w = 0.0f;
        gCommandTooltips[i]->h = 0.0f;
    }
    UnitManager* m = gWorld->unitManager;
    if (m->selection.empty()) {
        return;
    }
    const Unit* u = m->selection[0];
    const UnitTemplate& type = *m->templates[u->type];
    bool busy = u->isBusy();
    bool worker = u->type == kBlob;

    fill(0, kIconStop, "Stop (Q)", "Stops all actions of the selected units.", "", true);
    if (!busy) {
        fill(1, kIconMove, "Move (W)", "Orders the selected units to move without engaging enemy units.", "", true);
        if (worker) {
            fill(5, kIconMine, "Mine (D)", "Orders the selected units to mine crystals.", "", true);
            fill(2, kIconSplit, "Split (E)", "Split a Blob unit off.", priceNote(10, kSplitPrice, true), true);
        } else {
            fill(3, kIconAttack, "Attack (A)", "Orders the selected units to attack an enemy unit or area.", "",
                 true);
        }
        const char* keys[3] = {" (Z)", " (X)", " (C)"};
        for (int s = 0; s < 3; ++s) {
            int target = type.morphTargets[s];
            if (target == -1) {
                continue;
            }
            const UnitTemplate& morph = *m->templates[target];
            bool allowed = !morph.needsTower || m->players[u->player].towerCount > 0;
            fill(6 + s, morph.iconGlyph, "Morph to " + morph.name + keys[s], morph.description,
                 priceNote(morph.morphTime / 1000, morph.cost, false), allowed);
        }
    }
    // An enemy's options are shown for information only.
    if (u->player > 0) {
        for (int i = 0; i < 9; ++i) {
            gCommandButtons[i]->enabled = 0;
        }
    }
}

// Mode buttons only arm the next map click; the order handler refuses whatever the units cannot do.
// Stop always clicks; Split and Morph stay silent (orderSelection is true only for Move and AttackMove).
void runCommand(int index) {
    UnitManager* m = gWorld->unitManager;
    switch (index) {
    case 0:
        m->orderSelection(kIdle, 0);
        rebuildCommandPanel();
        playChunk(gSoundClick);
        break;
    case 1:
    case 3:
    case 5:
        gCommandMode = index / 2 + 1;  // 1 move, 2 attack, 3 mine
        playChunk(gSoundClick);
        break;
    case 2:
        m->orderSelection(kSplit, 0);
        rebuildCommandPanel();
        break;
    case 6:
    case 7:
    case 8: {
        int slot = index - 6;
        m->orderSelection(kMorph, &slot);
        rebuildCommandPanel();
        break;
    }
    default:
        break;
    }
}

// Button ids are their panel indices.
void commandButtonClicked(Control* control) {
    runCommand(control->id);
}
