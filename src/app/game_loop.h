#ifndef GELMARCH_APP_GAME_LOOP_H
#define GELMARCH_APP_GAME_LOOP_H

#include <SDL.h>

// Plays one match with the menu's settings (gMapSize, gNumEnemies, gDifficulty, gTileSet) and returns when
// the player presses Escape or closes the window.
void runGame();

// The frame loop of the match in gWorld, whose command panel already exists. runGame drives it; tests feed
// it events. Screen positions handed on are window pixels from the bottom-left (y = gScreenHeight - SDL y).
class GameLoop {
public:
    GameLoop();

    // One whole frame: stepAndDraw, then showAndPick.
    void frame();
    // Wait for the clock, drain the SDL event queue, scroll, update, clear and draw (not yet shown).
    void stepAndDraw();
    // Swap buffers, pick under the pointer, count the frame; once a second the computer players think.
    void showAndPick();
    // What one SDL event does in a match.
    void handleEvent(const SDL_Event& event);
    // The frame's steps after the events, each usable on its own: scrolling and spring-back for dt ms,
    // then the depth-buffer pick of the world point under the pointer (skipped over the minimap).
    void moveCamera(int dt);
    void pick();

    bool quit;                   // Escape or a close request; ends the loop after the current frame
    unsigned char keyDown[512];  // one per SDL key symbol, 1 while held
    bool panRotating;            // middle button held: motion turns the camera
    bool selecting;              // left press on the 3D view without a pending command: a selection drag
    bool minimapDragging;        // left press on the minimap: motion moves the camera
    bool overMinimap;            // gPickPoint follows the minimap instead of the depth buffer
    bool overGui;                // the pointer is over a GUI control

private:
    void keyPressed(int symbol);
    void mouseMoved(const SDL_MouseMotionEvent& motion);
    void buttonPressed(const SDL_MouseButtonEvent& button);
    void buttonReleased(const SDL_MouseButtonEvent& button);
    void leftReleased();

    unsigned int fpsStart;
    unsigned int previous;  // clock of the last frame
    unsigned int now;       // equals previous after every frame, so each frame sleeps at least once
    int frames;
};

#endif
