#include "app/globals.h"

int gScreenWidth = 1024;
int gScreenHeight = 768;
Font* gFont = 0;

int gNumEnemies = 2;
int gMapSize = 64;
int gDifficulty = 0;
int gTileSet = 0;
bool gStartRequested = false;
bool gExitRequested = false;

World* gWorld = 0;
int gMouseX = 0;
int gMouseY = 0;
float gPickPoint[3] = {0.0f, 0.0f, 0.0f};
float gDragStartPoint[3] = {0.0f, 0.0f, 0.0f};
int gDragStartX = 0;
int gDragStartY = 0;
int gFps = 0;
Control* gCommandButtons[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
Control* gCommandTooltips[9] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
int gCommandMode = 0;
