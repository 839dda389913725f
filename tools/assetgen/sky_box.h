#ifndef GELMARCH_ASSETGEN_SKY_BOX_H
#define GELMARCH_ASSETGEN_SKY_BOX_H

#include "image.h"

const int kSkySize = 512;

// The point of the game's sky cube (half-size 0.5, z up) that face `face` (0..5: x+, y-, x-, y+, top,
// bottom) shows at texture coordinate (s, t); t = 0 is the image's top row.
void skyFacePoint(int face, float s, float t, float* out);

// Sky box image `number`: 1..6 the asteroid's space sky for faces 0..5, 7..12 the grasslands' daylight
// sky. The sky is one function of direction sampled so that the edge pixels of neighbouring faces show
// the same directions, so the cube has no seams.
Image makeSkyFace(int number);

#endif
