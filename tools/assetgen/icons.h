#ifndef GELMARCH_ASSETGEN_ICONS_H
#define GELMARCH_ASSETGEN_ICONS_H

// True for the control codes that carry a picture in the font (commands, unit types, crystal, clock).
bool hasIcon(int code);
// Brightness 0..1 of the icon of control code `code` at point (x, y) of a 32 x 32 font cell
// (x to the right, y downwards, pixel centres at .5). `bold` thickens the strokes for the bold half.
float iconInk(int code, float x, float y, bool bold);

#endif
