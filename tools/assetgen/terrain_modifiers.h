#ifndef GELMARCH_ASSETGEN_TERRAIN_MODIFIERS_H
#define GELMARCH_ASSETGEN_TERRAIN_MODIFIERS_H

#include "image.h"

// The height image `number` (1..6) for a map of `mapSize` cells: (mapSize + 1) pixels square, grey, the
// blue channel read as height b / 32. 1..3 are added to the grasslands (a plateau with ramps, ridges with
// passes, rolling hills around a pond); 4..6 are the whole asteroid surface (b / 32 - 8: a great crater,
// a crater field, terraced mesas). Every design leaves the four start areas (cells 14..16 from each
// corner) level and joined to each other by gentle ground.
Image makeTerrainModifier(int number, int mapSize);

#endif
