#ifndef GELMARCH_APP_GLOBALS_H
#define GELMARCH_APP_GLOBALS_H

class Font;

// Process-wide state set up by main and read across the game.
extern int gScreenWidth;
extern int gScreenHeight;
extern Font* gFont;

#endif
