#include "app/hud.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "app/camera.h"
#include "app/globals.h"
#include "app/render_options.h"
#include "app/world.h"
#include "game/crystal.h"
#include "game/player_state.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render/frustum.h"
#include "scene/terrain.h"

namespace {

const unsigned int kWhite = 0xFFFFFFFF;

// Floats as the console would print them: no trailing zeros, at most six significant digits.
std::string floatText(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

// Life (green) over loss (red), with the split or morph progress (blue over grey) under it.
void drawLifeBars(World& world) {
    Canvas* canvas = world.canvas;
    MatrixStack* hud = world.hudProjection;
    UnitManager* m = world.unitManager;
    for (size_t i = 0; i < m->units.size(); ++i) {
        const Unit* u = m->units[i];
        if (u->culled || u->hidden) {
            continue;
        }
        int sx = 0, sy = 0, size = 0;
        world.frustum->toScreen(u->position[0], u->position[1], u->position[2] + 1.0f, sx, sy, size, gScreenWidth,
                                gScreenHeight);
        if (!lifeBarShown(sx, sy)) {
            continue;
        }
        float full = (float)size;
        float w = u->life / (float)m->templates[u->type]->maxLife * full;
        float left = (float)sx - full / 2.0f;
        float y = (float)sy;
        canvas->drawRect(left + w, y, full - w, 5.0f, 0xFF801070, false, hud);
        canvas->drawRect(left, y, w, 5.0f, 0x10FF10CF, false, hud);
        if (u->isBusy()) {
            float q = u->progress * full;
            canvas->drawRect(left + q, y - 8.0f, full - q, 5.0f, 0x989898A0, false, hud);
            canvas->drawRect(left, y - 8.0f, q, 5.0f, 0x0000D8FF, false, hud);
        }
    }
}

// Fogged terrain picture, the camera's box, then a dot per visible unit and per crystal with crystals left.
void drawMinimap(World& world) {
    Canvas* canvas = world.canvas;
    MatrixStack* hud = world.hudProjection;
    UnitManager* m = world.unitManager;
    canvas->drawTexture(10.0f, 10.0f, 200.0f, 200.0f, hud, world.terrain->minimapTexture);
    canvas->drawTexture(10.0f, 10.0f, 200.0f, 200.0f, hud, world.terrain->fogTexture);
    canvas->drawFrame(10.0f, 10.0f, 200.0f, 200.0f, 0, hud);
    canvas->drawButtonBox(mapToMinimap(-world.cameraX, world.mapSize) - 10.0f,
                          mapToMinimap(-world.cameraY, world.mapSize) - 10.0f, 20.0f, 20.0f, 0, hud);
    for (size_t i = 0; i < m->units.size(); ++i) {
        const Unit* u = m->units[i];
        if (!u->hidden) {
            canvas->drawMarker(mapToMinimap(u->position[0], world.mapSize), mapToMinimap(u->position[1], world.mapSize),
                               u->player, hud);
        }
    }
    for (size_t i = 0; i < m->crystals.size(); ++i) {
        const Crystal* c = m->crystals[i];
        if (c->amount > 0.0f) {
            canvas->drawMarker(mapToMinimap(c->position[0], world.mapSize), mapToMinimap(c->position[1], world.mapSize), 4,
                               hud);
        }
    }
}

// The shown unit's name, life, damage and what it is busy with.
void drawUnitTexts(World& world, const Unit& u) {
    const UnitTemplate& type = *world.unitManager->templates[u.type];
    MatrixStack* hud = world.hudProjection;
    float x = (float)(gScreenWidth - 410) / 2.0f + 220.0f;
    gFont->drawTextShadowed(unitTitleText(type), x, 70.0f, 32.0f, kWhite, false, 1, hud);
    gFont->drawTextShadowed(lifeText(u.life, type.maxLife), x, 45.0f, 16.0f, kWhite, false, 1, hud);
    gFont->drawTextShadowed(damageText(type.damage), x, 30.0f, 16.0f, kWhite, false, 1, hud);
    std::string activity = activityText(u);
    if (!activity.empty()) {
        float y = u.state == kMine ? 48.0f : 55.0f;
        gFont->drawTextShadowed(activity, 320.0f, y, 16.0f, kWhite, false, 1, hud);
    }
}

// The option list (F2) or the hint where it would start.
void drawInfoTexts(World& world) {
    MatrixStack* hud = world.hudProjection;
    float top = (float)gScreenHeight;
    gFont->drawTextShadowed("Info (F2)", 10.0f, top - 26.0f, 16.0f, kWhite, true, 0, hud);
    if (!world.showInfo) {
        gFont->drawTextShadowed("Toggle Info/FPS", 10.0f, top - 40.0f, 14.0f, kWhite, false, 0, hud);
        return;
    }
    std::vector<OptionLine> lines = renderOptionLines(world, gFps);
    for (size_t i = 0; i < lines.size(); ++i) {
        const OptionLine& line = lines[i];
        gFont->drawTextShadowed(line.text, 10.0f, top - (float)line.below, line.heading ? 16.0f : 14.0f, kWhite,
                                line.heading, 0, hud);
    }
    gFont->drawTextShadowed(pickPointText(gPickPoint), 160.0f, top - 26.0f, 16.0f, kWhite, true, 0, hud);
}

}  // namespace

// Canvas shapes first (wireframe applies to them), then the texts filled, then the pointer on top.
void drawHud(World& world, bool selecting) {
    Canvas* canvas = world.canvas;
    MatrixStack* hud = world.hudProjection;
    UnitManager* m = world.unitManager;
    float pointerX = (float)gMouseX;
    float pointerY = (float)(gScreenHeight - gMouseY);

    canvas->begin2D();
    if (selecting) {
        float x = (float)gDragStartX < pointerX ? (float)gDragStartX : pointerX;
        float y = (float)gDragStartY < pointerY ? (float)gDragStartY : pointerY;
        canvas->drawButtonBox(x, y, fabsf((float)gDragStartX - pointerX), fabsf((float)gDragStartY - pointerY), -1,
                              hud);
    }
    if (world.showLifeBars && !world.rotating) {
        drawLifeBars(world);
    }
    canvas->drawInterface(hud);
    drawMinimap(world);
    const Unit* shown = m->selection.empty() ? 0 : m->selection[0];
    if (shown && shown->isBusy()) {
        canvas->drawButtonBox(270.0f, 40.0f, 100.0f, 8.0f, 0, hud);
        canvas->drawButtonBox(270.0f, 40.0f, shown->progress * 100.0f, 8.0f, 2, hud);
    }
    const Crystal* hovered = m->crystalAt(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
    if (hovered) {
        canvas->drawButtonBox(pointerX + 10.0f, pointerY + 10.0f, 90.0f, 35.0f, 0, hud);
    }
    canvas->drawControls(hud);
    if (world.wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    canvas->end2D();

    if (gFont) {
        gFont->begin2D();
        if (shown) {
            drawUnitTexts(world, *shown);
        }
        gFont->drawTextShadowed(crystalCounterText(m->players[0].crystals), (float)gScreenWidth - 20.0f,
                                (float)gScreenHeight - 26.0f, 16.0f, 0xE000FFFF, false, 2, hud);
        drawInfoTexts(world);
        if (hovered) {
            gFont->drawTextShadowed("Crystals", pointerX + 14.0f, pointerY + 28.0f, 16.0f, kWhite, true, 0, hud);
            gFont->drawTextShadowed(crystalAmountText(hovered->amount), pointerX + 14.0f, pointerY + 12.0f, 16.0f,
                                    kWhite, false, 0, hud);
        }
        std::string title, line;
        if (gameOverTexts(m->gameResult, title, line)) {
            unsigned int colour = gameOverColour(m->gameResult, m->gameTime);
            float cx = (float)gScreenWidth / 2.0f;
            float cy = (float)gScreenHeight / 2.0f;
            gFont->drawTextShadowed(title, cx, cy + 10.0f, 32.0f, colour, true, 1, hud);
            gFont->drawTextShadowed(line, cx, cy - 15.0f, 20.0f, colour, false, 1, hud);
        }
        gFont->end2D();
    }
    drawPointer(canvas, hud, pointerX, pointerY);
}

// The 38 x 44 pointer picture of the interface atlas; its tip is 3 pixels in from the left, 6 down from the top.
void drawPointer(Canvas* canvas, MatrixStack* projection, float x, float y) {
    canvas->begin2D();
    canvas->drawInterfacePart(x - 3.0f, y - 38.0f, 38.0f, 44.0f, 116.0f, 282.0f, projection);
    canvas->end2D();
}

// Keeps the bottom-left 220 x 220 corner (minimap) and the bottom 190 pixels (panel) clear.
bool lifeBarShown(int screenX, int screenY) {
    return (screenX >= 220 || screenY >= 220) && screenY >= 190;
}

// The type's own icon cell of the font, then its name.
std::string unitTitleText(const UnitTemplate& type) {
    return std::string(1, type.iconGlyph) + " " + type.name;
}

// Life rounded up, so a unit at 0.2 life still reads 1.
std::string lifeText(float life, int maxLife) {
    return "Life: " + floatText(ceilf(life)) + " / " + std::to_string(maxLife);
}

// Workers and towers without damage get an empty line.
std::string damageText(int damage) {
    return damage > 0 ? "Damage: " + std::to_string(damage) : "";
}

// What a unit is busy with, for the line beside the progress bar.
std::string activityText(const Unit& unit) {
    if (unit.state == kSplit) {
        return "Splitting...";
    }
    if (unit.state == kMorph) {
        return "Morphing...";
    }
    if (unit.state == kMine) {
        return "Mining crystals...";
    }
    return "";
}

// Character 30 is the crystal icon of the font.
std::string crystalCounterText(float crystals) {
    return std::string(1, (char)30) + "  " + std::to_string((int)crystals);
}

// The three coordinates of the picked point.
std::string pickPointText(const float point[3]) {
    return "Mouse pointer @ " + floatText(point[0]) + " / " + floatText(point[1]) + " / " + floatText(point[2]);
}

// Whole crystals, truncated.
std::string crystalAmountText(float amount) {
    return "Amount: " + std::to_string((int)amount);
}

// The messages stay up while the game goes on; Escape leaves.
bool gameOverTexts(int result, std::string& title, std::string& line) {
    if (result == 1) {
        title = "YOU LOSE !!!";
        line = "All your forces have been destroyed. Press ESC to leave.";
        return true;
    }
    if (result == 2) {
        title = "YOU WIN !!!";
        line = "Congratulations! All your enemies are dead. Press ESC to exit.";
        return true;
    }
    return false;
}

// Alpha 0xD0 plus up to 31 either way, a full pulse every 628 ms of game time.
unsigned int gameOverColour(int result, int gameTime) {
    int v = (int)(31.0f * sinf((float)gameTime / 100.0f));
    unsigned int base = result == 1 ? 0xFF0000D0u : 0x00FF00D0u;
    return base + (unsigned int)v;
}
