#ifndef GELMARCH_ASSETGEN_TITLE_ART_H
#define GELMARCH_ASSETGEN_TITLE_ART_H

#include "image.h"

#include <string>

// The menu's title picture, `size` pixels square, RGBA, drawn upright (top row first): the game's name in
// glossy slime over a night landscape with a blob of each player colour, fading out towards its borders
// into the menu's green. The menu draws the image's first row at the bottom, so the caller stores it
// flipped. Empty image (and an error text) when the font cannot be read.
Image makeTitlePicture(int size, std::string* error);

// A glossy blob creature with eyes standing on the ground at (cx, base), radius r, in colour col (RGB),
// with its soft shadow; pixels outside the image are skipped.
void paintBlob(Image& img, float cx, float base, float r, const float* col);

#endif
