#ifndef GELMARCH_APP_GLOBALS_H
#define GELMARCH_APP_GLOBALS_H

class Font;

// Process-wide state set up by main and read across the game.
extern int gScreenWidth;
extern int gScreenHeight;
extern Font* gFont;

class Control;
class World;

// Match settings chosen in the main menu, kept for the whole run.
extern int gNumEnemies;   // 1..3
extern int gMapSize;      // 64 or 128
extern int gDifficulty;   // 0..2
extern int gTileSet;      // 0 Rocky Grasslands, 1 Crazy Asteroid
// Menu flags: start a match after this frame; leave the menu.
extern bool gStartRequested;
extern bool gExitRequested;

// The match in progress (null outside the game loop) and the pointer state of its loop.
extern World* gWorld;
extern int gMouseX;             // SDL pixels, y from the top
extern int gMouseY;
extern float gPickPoint[3];     // world point under the pointer
extern float gDragStartPoint[3];
extern int gDragStartX;         // window pixels, y from the bottom
extern int gDragStartY;
extern int gFps;
// The command panel: nine buttons, one tooltip each, and the pending target command
// (0 none, 1 move, 2 attack, 3 mine).
extern Control* gCommandButtons[9];
extern Control* gCommandTooltips[9];
extern int gCommandMode;

#endif
