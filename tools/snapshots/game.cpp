// Plays the game's own screens for a person to look at: the main menu (out/menu.png) and a match on each
// tile set with the HUD, a selected, wounded worker halfway through a split and the option list
// (out/match_grass.png, out/match_asteroid.png), the same view tilted up to the sky (out/match_sky_*.png),
// a selection drag (out/match_drag.png) and a won match in wireframe (out/match_won_wireframe.png).
// Events are fed to the menu and the frame loop as the player's mouse and keys would send them.
// Run from bin/ under Xvfb:
//   cd bin && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ../build/tools/snapshots/snapshot_game ../out

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/command_panel.h"
#include "app/game_loop.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/main_menu.h"
#include "app/window.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/font.h"
#include "render/frustum.h"
#include "support/png_snapshot.h"

#include "read_back.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;

// SDL events as the player's devices send them; (x, y) in SDL pixels, y from the top.
SDL_Event motion(int x, int y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = (Uint16)x;
    e.motion.y = (Uint16)y;
    return e;
}

SDL_Event button(Uint8 type, int which, int x, int y) {
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = e.button.type = type;
    e.button.button = (Uint8)which;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = (Uint16)x;
    e.button.y = (Uint16)y;
    return e;
}

SDL_Event key(SDLKey symbol) {
    SDL_Event e;
    std::memset(&e, 0, sizeof(e));
    e.type = e.key.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = symbol;
    return e;
}

// SDL y of a world point's screen position (from the bottom-left), for aiming clicks.
void screenOf(const float* p, int& sx, int& sdlY) {
    int sy = 0, size = 0;
    gWorld->frustum->toScreen(p[0], p[1], p[2], sx, sy, size, gScreenWidth, gScreenHeight);
    sdlY = gScreenHeight - sy;
}

void menuShot(const std::string& dir) {
    MainMenu menu;
    menu.handleEvent(motion(kWidth / 2 + 60, kHeight - 100));
    menu.draw();
    saveOpaqueFrame(dir + "/menu.png", kWidth, kHeight);
    swapCoreContext();
}

void matchShots(const std::string& dir, int tileSet, const std::string& name, bool drag) {
    gTileSet = tileSet;
    World world(64, 3, 0, tileSet);
    gWorld = &world;
    createCommandPanel(world.canvas);
    rebuildCommandPanel();
    GameLoop loop;
    loop.handleEvent(motion(kWidth / 2, kHeight / 2));
    for (int i = 0; i < 3; ++i) {
        loop.frame();
    }
    // Click the first worker, as a player would.
    Unit* first = world.unitManager->units[0];
    float ground[3] = {first->position[0], first->position[1], first->position[2] - 0.5f};
    int sx = 0, sy = 0;
    screenOf(ground, sx, sy);
    loop.handleEvent(motion(sx, sy));
    loop.frame();
    loop.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, sx, sy));
    loop.handleEvent(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, sx, sy));
    loop.handleEvent(key(SDLK_F2));
    // Hover the Split button so its tooltip shows.
    loop.handleEvent(motion(kWidth - 60 + 25, kHeight - 130 - 25));
    for (int i = 0; i < 3; ++i) {
        loop.frame();
    }
    // Wounded and halfway through a split: both life bar colours, the progress bars and "Splitting...".
    float life = first->life;
    first->life = life * 0.6f;
    first->state = kSplit;
    first->progress = 0.4f;
    rebuildCommandPanel();
    loop.stepAndDraw();
    saveOpaqueFrame(dir + "/" + name, kWidth, kHeight);
    loop.showAndPick();
    first->life = life;
    first->state = kIdle;
    rebuildCommandPanel();
    if (!drag) {
        // The end of a won match in wireframe: outlined HUD shapes, solid texts.
        world.unitManager->gameResult = 2;
        loop.handleEvent(key(SDLK_F3));
        loop.stepAndDraw();
        saveOpaqueFrame(dir + "/match_won_wireframe.png", kWidth, kHeight);
        loop.showAndPick();
        loop.handleEvent(key(SDLK_F3));
        world.unitManager->gameResult = 0;
    } else {
        loop.handleEvent(motion(300, 250));
        loop.frame();
        loop.handleEvent(button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 300, 250));
        loop.handleEvent(motion(700, 500));
        loop.stepAndDraw();
        saveOpaqueFrame(dir + "/match_drag.png", kWidth, kHeight);
        loop.showAndPick();
    }
    // Tilted up with the middle button held, towards the horizon and the sky.
    loop.handleEvent(button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 700, 500));
    loop.panRotating = true;
    world.cameraPitch = -100.0f;
    world.cameraYaw = 30.0f;
    loop.stepAndDraw();
    saveOpaqueFrame(dir + "/match_sky_" + name, kWidth, kHeight);
    loop.showAndPick();
    loop.panRotating = false;
    destroyCommandPanel();
    gWorld = 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    Window window(kWidth, kHeight, false);
    if (!window.isOk()) {
        return 1;
    }
    gScreenWidth = kWidth;
    gScreenHeight = kHeight;
    gFont = new Font();
    menuShot(dir);
    matchShots(dir, 0, "match_grass.png", true);
    matchShots(dir, 1, "match_asteroid.png", false);
    delete gFont;
    gFont = 0;
    SDL_Quit();
    return 0;
}
