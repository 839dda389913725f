#include "app/main_menu.h"

#include <GL/glew.h>

#include <cmath>

#include "app/game_loop.h"
#include "app/gl_context.h"
#include "app/globals.h"
#include "render/canvas.h"
#include "render/control.h"
#include "render/font.h"
#include "render/matrix_stack.h"

// Events, one drawn frame, then a match if one was asked for; until the player leaves.
void runMainMenu() {
    MainMenu menu;
    while (!gExitRequested) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            menu.handleEvent(event);
        }
        menu.drawFrame();
        menu.startIfRequested();
    }
}

// The four settings cycle through their values in a fixed order and wrap around: 1, 2, 3 enemies.
void cycleEnemies(Control* control) {
    gNumEnemies = gNumEnemies >= 3 ? 1 : gNumEnemies + 1;
    control->caption = enemiesCaption(gNumEnemies);
}

// 64, 128 cells.
void cycleMapSize(Control* control) {
    gMapSize = gMapSize == 64 ? 128 : 64;
    control->caption = mapSizeCaption(gMapSize);
}

// Easy, normal, hard.
void cycleDifficulty(Control* control) {
    gDifficulty = gDifficulty >= 2 ? 0 : gDifficulty + 1;
    control->caption = difficultyCaption(gDifficulty);
}

// Grasslands, asteroid.
void cycleTileSet(Control* control) {
    gTileSet = gTileSet == 0 ? 1 : 0;
    control->caption = tileSetCaption(gTileSet);
}

// The match starts after the frame that shows "Loading...".
void requestStart(Control*) {
    gStartRequested = true;
}

// The loop ends after the current frame.
void requestExit(Control*) {
    gExitRequested = true;
}

// Singular for one computer player.
std::string enemiesCaption(int numEnemies) {
    if (numEnemies == 1) {
        return "1 Computer";
    }
    return numEnemies == 2 ? "2 Computers" : "3 Computers";
}

// Anything but 64 is the large map.
std::string mapSizeCaption(int mapSize) {
    return mapSize == 64 ? "Small (64x64)" : "Large (128x128)";
}

// Out-of-range levels read as the easiest.
std::string difficultyCaption(int difficulty) {
    const char* names[3] = {"Let me win, Daddy", "Get it rollin'", "Burn in Hell!"};
    return names[difficulty < 0 || difficulty > 2 ? 0 : difficulty];
}

// Only tile set 1 is the asteroid.
std::string tileSetCaption(int tileSet) {
    return tileSet == 1 ? "Crazy Asteroid" : "Rocky Grasslands";
}

// The captions start from the settings' first values: the menu is built once per run.
MainMenu::MainMenu()
    : width(gScreenWidth), height(gScreenHeight), title(0), projection(0), canvas(0), startButton(0),
      exitButton(0), enemiesButton(0), mapSizeButton(0), difficultyButton(0), tileSetButton(0) {
    title = loadTexture(".\\textures\\other\\title.png");
    projection = new MatrixStack();
    projection->ortho(0.0f, (float)width, 0.0f, (float)height, 1.0f, -1.0f);
    canvas = new Canvas();
    float mid = (float)width / 2.0f;
    startButton = new Control(4, (float)width - 175.0f, 20.0f, 150.0f, 40.0f);
    startButton->caption = "Start Game!";
    startButton->callback = requestStart;
    exitButton = new Control(4, 20.0f, 20.0f, 150.0f, 40.0f);
    exitButton->caption = "Exit Game!";
    exitButton->callback = requestExit;
    enemiesButton = new Control(5, mid - 137.5f, 91.0f, 125.0f, 25.0f);
    enemiesButton->caption = "2 Computers";
    enemiesButton->callback = cycleEnemies;
    mapSizeButton = new Control(5, mid - 287.5f, 80.0f, 125.0f, 25.0f);
    mapSizeButton->caption = "Small (64x64)";
    mapSizeButton->callback = cycleMapSize;
    difficultyButton = new Control(5, mid + 12.5f, 91.0f, 125.0f, 25.0f);
    difficultyButton->caption = "Let me win, Daddy";
    difficultyButton->callback = cycleDifficulty;
    tileSetButton = new Control(5, mid + 162.5f, 80.0f, 125.0f, 25.0f);
    tileSetButton->caption = "Rocky Grasslands";
    tileSetButton->callback = cycleTileSet;
    canvas->addControl(startButton);
    canvas->addControl(exitButton);
    canvas->addControl(enemiesButton);
    canvas->addControl(mapSizeButton);
    canvas->addControl(difficultyButton);
    canvas->addControl(tileSetButton);
}

// The canvas only lists the controls; it goes first so no list outlives them in use.
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

// Return is the keyboard's Start; clicks land at the last motion position.
void MainMenu::handleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_ESCAPE) {
            gExitRequested = true;
        } else if (event.key.keysym.sym == SDLK_RETURN) {
            requestStart(startButton);
        }
        break;
    case SDL_MOUSEMOTION:
        gMouseX = event.motion.x;
        gMouseY = event.motion.y;
        canvas->mouseMove((float)event.motion.x, (float)(height - event.motion.y));
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
        gFont->begin2D();
        gFont->drawTextShadowed("Number of Enemies", w / 2.0f - 75.0f, 125.0f, 18.0f, 0xFFFFFFFF, true, 1, projection);
        gFont->drawTextShadowed("Map Size", w / 2.0f - 225.0f, 114.0f, 18.0f, 0xFFFFFFFF, true, 1, projection);
        gFont->drawTextShadowed("Difficulty", w / 2.0f + 75.0f, 125.0f, 18.0f, 0xFFFFFFFF, true, 1, projection);
        gFont->drawTextShadowed("Tile Set", w / 2.0f + 225.0f, 114.0f, 18.0f, 0xFFFFFFFF, true, 1, projection);
        gFont->end2D();
    }

    canvas->begin2D();
    canvas->drawInterfacePart((float)gMouseX - 3.0f, h - (float)gMouseY - 38.0f, 38.0f, 44.0f, 116.0f, 282.0f,
                              projection);
    canvas->end2D();
}

// One menu frame on screen.
void MainMenu::drawFrame() {
    draw();
    swapCoreContext();
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
