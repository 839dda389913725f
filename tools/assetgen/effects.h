#ifndef GELMARCH_ASSETGEN_EFFECTS_H
#define GELMARCH_ASSETGEN_EFFECTS_H

#include "image.h"

// The ring drawn on the ground under units: 128 x 128, white on black, black along every border so the
// clamped texture ends cleanly.
Image makeSelectionRing();

// The 512 x 512 RGBA effect atlas, uploaded top row first: beam frame f (0..2) fills rows 128f..128f+128,
// bright along its middle row, fading to nothing at its top and bottom, and repeating seamlessly along
// the columns; the bottom quarter holds four 128 x 128 particle frames side by side (a soft glow, a
// spark star, a bright ring and a smoke puff), each fading to nothing at its border.
Image makeEffectAtlas();

#endif
