#ifndef GELMARCH_APP_COMMAND_PANEL_H
#define GELMARCH_APP_COMMAND_PANEL_H

class Canvas;
class Control;

// The 3 x 3 grid of command buttons in the bottom-right corner of a match (gCommandButtons, one tooltip
// each in gCommandTooltips) showing the orders of the first selected unit of gWorld:
//   0 Stop (Q)    1 Move (W)     2 Split (E)
//   3 Attack (A)  4 -            5 Mine (D)
//   6..8 Morph to the unit type's three morph targets (Z, X, C)

// Creates the nine buttons (50 x 50, 60 pixels apart, left column at gScreenWidth - 180) and their
// tooltips, and adds the buttons to the canvas. The tooltips are drawn through their buttons only.
void createCommandPanel(Canvas* canvas);
// Deletes the buttons and tooltips (button i, then tooltip i) and clears the globals. The canvas that
// listed the buttons must not draw again.
void destroyCommandPanel();

// Refills captions, tooltips and enabled flags from gWorld's selection; all empty and disabled without one.
void rebuildCommandPanel();
// What button `index` (0..8) does, for a click and for its hotkey alike, enabled or not.
void runCommand(int index);
// The callback of every command button: runCommand with the control's id.
void commandButtonClicked(Control* control);

#endif
