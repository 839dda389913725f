#include "app/main_menu.h"

#include <GL/glew.h>

#include <cmath>

#include "app/game_loop.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "app/hud.h"
#include "render/canvas.h"
#include "render/control.h"
#include "render/font.h"
#include "render/matrix_stack.h"

namespace {

// The match starts after the frame that shows "Loading...".
void requestStart(Control*) {
    gStartRequested = true;
}

// The loop ends after the current frame.
void requestExit(Control*) {
    gExitRequested = true;
}

// A menu button listed on the canvas; the menu deletes it.
Control* addButton(Canvas* canvas, int kind, float x, float y, float w, float h, const char* caption,
                   Control::Callback callback) {
    Control* control = new Control(kind, x, y, w, h);
    control->caption = caption;
    control->callback = callback;
    canvas->addControl(control);
    return control;
}

}  // namespace

// Events, one frame on screen, then a match if one was asked for; until the player leaves.
void runMainMenu() {
    MainMenu menu;
    while (!gExitRequested) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            menu.handleEvent(event);
        }
        menu.draw();
        swapCoreContext();
        menu.startIfRequested();
    }
}

// 1, 2, 3 computer players, then 1 again.
void cycleEnemies(Control* control) {
    static const char* const captions[3] = {"1 Computer", "2 Computers", "3 Computers"};
    gNumEnemies = gNumEnemies % 3 + 1;
    control->caption = captions[gNumEnemies - 1];
}

// 64 and 128 cells a side, in turn.
void cycleMapSize(Control* control) {
    gMapSize = gMapSize == 64 ? 128 : 64;
    control->caption = gMapSize == 64 ? "Small (64x64)" : "Large (128x128)";
}

// Easy, normal, hard, then easy again.
void cycleDifficulty(Control* control) {
    static const char* const captions[3] = {"Let me win, Daddy", "Get it rollin'", "Burn in Hell!"};
    gDifficulty = (gDifficulty + 1) % 3;
    control->caption = captions[gDifficulty];
}

// Grasslands and asteroid, in turn.
void cycleTileSet(Control* control) {
    gTileSet = gTileSet == 0 ? 1 : 0;
    control->caption = gTileSet == 0 ? "Rocky Grasslands" : "Crazy Asteroid";
}

// Fixed first captions: the menu is built once per run, while the settings still hold their first values.
MainMenu::MainMenu() : width(gScreenWidth), height(gScreenHeight) {
    title = loadTexture(".\\textures\\other\\title.png");
    projection = new MatrixStack();
    projection->ortho(0.0f, (float)width, 0.0f, (float)height, 1.0f, -1.0f);
    canvas = new Canvas();
    float mid = (float)width / 2.0f;
    startButton = addButton(canvas, 4, (float)width - 175.0f, 20.0f, 150.0f, 40.0f, "Start Game!", requestStart);
    exitButton = addButton(canvas, 4, 20.0f, 20.0f, 150.0f, 40.0f, "Exit Game!", requestExit);
    enemiesButton = addButton(canvas, 5, mid - 137.5f, 91.0f, 125.0f, 25.0f, "2 Computers", cycleEnemies);
    mapSizeButton = addButton(canvas, 5, mid - 287.5f, 80.0f, 125.0f, 25.0f, "Small (64x64)", cycleMapSize);
    difficultyButton = addButton(canvas, 5, mid + 12.5f, 91.0f, 125.0f, 25.0f, "Let me win, Daddy", cycleDifficulty);
    tileSetButton = addButton(canvas, 5, mid + 162.5f, 80.0f, 125.0f, 25.0f, "Rocky Grasslands", cycleTileSet);
}

// The canvas only lists the controls; its list is emptied before they go.
MainMenu::~MainMenu() {
    glDeleteTextures(1, &title);
    canvas->controls.clear();
    delete startButton;
    delete exitButton;
    delete enemiesButton;
    delete mapSizeButton;
    delete difficultyButton;
    delete tileSetButton;
    delete canvas;
    delete projection;
}

// Return runs the Start button's callback; clicks land at the last motion position.
void MainMenu::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            gExitRequested = true;
        } else if (event.key.keysym.sym == SDLK_RETURN) {
            startButton->callback(startButton);
        }
        break;
    case SDL_MOUSEMOTION:
        gMouseX = event.motion.x;
        gMouseY = event.motion.y;
        canvas->mouseMove((float)gMouseX, (float)(height - gMouseY));
        break;
    case SDL_MOUSEBUTTONDOWN:
        canvas->mouseClick((float)gMouseX, (float)(height - gMouseY));
        break;
    case SDL_QUIT:
        gExitRequested = true;
        break;
    default:
        break;
    }
}

// Dark green that pulses slowly, the title centred as a square, the buttons, their headings and the pointer.
void MainMenu::draw() {
    if (gStartRequested) {
        startButton->caption = "Loading...";
    }
    glViewport(0, 0, gScreenWidth, gScreenHeight);
    float green = 0.07f + 0.04f * sinf((float)SDL_GetTicks() / 500.0f) + 0.02f * sinf((float)SDL_GetTicks() / 177.0f);
    glClearColor(0.0f, green, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    float w = (float)width;
    float h = (float)height;
    canvas->begin2D();
    canvas->drawTexture(w / 2.0f - h / 2.0f, 0.0f, h, h, projection, title);
    canvas->drawControls(projection);
    canvas->end2D();

    if (gFont) {
        const unsigned int white = 0xFFFFFFFF;
        gFont->begin2D();
        gFont->drawText("Number of Enemies", w / 2.0f - 75.0f, 125.0f, 18.0f, white, true, 1, projection);
        gFont->drawText("Map Size", w / 2.0f - 225.0f, 114.0f, 18.0f, white, true, 1, projection);
        gFont->drawText("Difficulty", w / 2.0f + 75.0f, 125.0f, 18.0f, white, true, 1, projection);
        gFont->drawText("Tile Set", w / 2.0f + 225.0f, 114.0f, 18.0f, white, true, 1, projection);
        gFont->end2D();
    }
    drawPointer(canvas, projection, (float)gMouseX, h - (float)gMouseY);
}

// The whole match runs inside this call; the settings stay as they were chosen.
void MainMenu::startIfRequested() {
    if (!gStartRequested) {
        return;
    }
    runGame();
    gStartRequested = false;
    startButton->caption = "Start Game!";
}
