#ifndef GELMARCH_APP_MAIN_MENU_H
#define GELMARCH_APP_MAIN_MENU_H

#include <SDL.h>

#include "render/texture.h"

class Canvas;
class Control;
class MatrixStack;

// The screen between start-up and the matches: the title picture, four option buttons cycling the match
// settings (gNumEnemies, gMapSize, gDifficulty, gTileSet), "Start Game!" and "Exit Game!".
// Returns when the player leaves (Exit, Escape or closing the window). Needs gFont.
void runMainMenu();

// The option buttons' callbacks: advance the setting to its next value and caption the button with it.
void cycleEnemies(Control* control);
void cycleMapSize(Control* control);
void cycleDifficulty(Control* control);
void cycleTileSet(Control* control);

// The menu's objects and one frame of it; runMainMenu drives it, tests feed it events.
class MainMenu {
public:
    // Lays the controls out for the window size of this moment.
    MainMenu();
    ~MainMenu();

    // Key, mouse and close events; a button-down of any kind (the wheel too) clicks at the pointer.
    void handleEvent(const SDL_Event& event);
    // Draws the menu (a requested start shows "Loading..." on its button) without showing it yet.
    void draw();
    // Runs a requested match to its end and resets the start button.
    void startIfRequested();

    int width, height;  // window size at menu start
    Texture title;
    MatrixStack* projection;
    Canvas* canvas;
    Control* startButton;
    Control* exitButton;
    Control* enemiesButton;
    Control* mapSizeButton;
    Control* difficultyButton;
    Control* tileSetButton;

private:
    MainMenu(const MainMenu&);
    MainMenu& operator=(const MainMenu&);
};

#endif
