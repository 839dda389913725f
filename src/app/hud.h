#ifndef GELMARCH_APP_HUD_H
#define GELMARCH_APP_HUD_H

#include <string>

class Canvas;
class MatrixStack;
class Unit;
class UnitTemplate;
class World;

// The 2D layer of a match, drawn after the 3D pass: selection box, life bars, HUD background, minimap with
// its dots, progress bar, crystal hover box, the command panel's controls, the texts and the pointer.
// Positions are window pixels from the bottom-left; everything is drawn under the World's hudProjection.

// The whole layer for one frame; `selecting` adds the selection rectangle from the drag start to the pointer.
void drawHud(World& world, bool selecting);
// The software pointer of the game and the menu, its tip at the window position (x, y) from the bottom-left;
// a 2D pass of its own.
void drawPointer(Canvas* canvas, MatrixStack* projection, float x, float y);

// A unit's life bar is left out over the minimap corner and the bottom panel.
bool lifeBarShown(int screenX, int screenY);

// Texts of the shown unit: icon and name; "Life: 38 / 50"; "Damage: 7" or empty for harmless types;
// "Splitting...", "Morphing...", "Mining crystals..." or empty.
std::string unitTitleText(const UnitTemplate& type);
std::string lifeText(float life, int maxLife);
std::string damageText(int damage);
std::string activityText(const Unit& unit);

// The crystal icon, two spaces and the whole crystals the human owns.
std::string crystalCounterText(float crystals);
// "Mouse pointer @ x / y / z".
std::string pickPointText(const float point[3]);
// "Amount: " and the whole crystals left in a crystal.
std::string crystalAmountText(float amount);

// The two game-over lines for a match result (1 lost, 2 won); false while the match runs.
bool gameOverTexts(int result, std::string& title, std::string& line);
// Their colour: red or green whose alpha pulses with the game time between 177 and 239.
unsigned int gameOverColour(int result, int gameTime);

#endif
