#ifndef GELMARCH_ASSETGEN_FONT_ATLAS_H
#define GELMARCH_ASSETGEN_FONT_ATLAS_H

#include "image.h"

#include <string>

// The glyphs are fitted to the advance table the game's text layout uses.
#include "render/font_advances.h"

// Rasterises the 512 x 512 font image: 16 x 16 cells of 32 px, regular glyphs of codes 32..127 in cells
// 0..95, the control-code pictures of codes 0..31 in cells 96..127, the bold set in cells 128..255.
// White on black; the baseline lies 7 px above each cell's bottom. Empty image when a face is missing.
Image makeFontAtlas(std::string* error);

// Draws one line of text with the atlas the way the game sets it (cell scaled to `size` px, pen advanced
// by the table), in the given colour, with (x, y) the top-left of the first cell. For the contact sheet.
void drawAtlasText(Image& target, const Image& atlas, const std::string& text, float x, float y, float size,
                   bool bold, const float* rgb);

#endif
