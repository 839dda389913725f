#ifndef GELMARCH_ASSETGEN_TERRAIN_TILES_H
#define GELMARCH_ASSETGEN_TERRAIN_TILES_H

#include "image.h"

// Side of the square, seamlessly tiling terrain surface and normal-map images.
const int kTileSize = 512;

// Builds terrain surface `index` (0..3 "Rocky Grasslands": rock for steep ground and crests, lush hollow
// grass, dry variation, default meadow; 4..7 "Crazy Asteroid": crystal-veined basalt, dust hollows,
// banded sediment, cratered regolith) and its normal map. The normal map holds the surface normal as
// 0.5 + 0.5 * n per channel: red along the image columns, green along the rows (downwards, the direction
// in which texture t grows), blue out of the surface.
void makeTerrainTile(int index, Image* surface, Image* normalMap);

#endif
