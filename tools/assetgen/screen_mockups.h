#ifndef GELMARCH_ASSETGEN_SCREEN_MOCKUPS_H
#define GELMARCH_ASSETGEN_SCREEN_MOCKUPS_H

#include "image.h"

// Pictures of how the game will put the art together, drawn with the same rectangles and atlas offsets as
// its 2D layer, so joins between pieces and the readability of captions can be judged on the contact sheet.

// The bottom of a 1024-wide game screen: console panels, minimap well, command buttons in all four
// looks with their icons, a tooltip line and the pointer. 1024 x 300.
Image mockGameConsole(const Image& atlas, const Image& font, const Image& ground);
// The main menu at 1024 x 768: pulsing green background, the title square, the six buttons and headings.
Image mockMainMenu(const Image& atlas, const Image& font, const Image& titleUpright);

#endif
