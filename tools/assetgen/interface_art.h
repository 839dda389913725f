#ifndef GELMARCH_ASSETGEN_INTERFACE_ART_H
#define GELMARCH_ASSETGEN_INTERFACE_ART_H

#include "image.h"

// Where a piece the game draws with drawInterfacePart(texX, texY, w, h) lies in the picture: the texture
// is uploaded top row first and sampled at t = 1 - texY / 512 at the piece's bottom edge, so the piece
// covers columns texX .. texX + w and rows 512 - texY - h .. 512 - texY (rows counted from the top).
struct AtlasPiece {
    int texX, texY, w, h;
    int left() const { return texX; }
    int top() const { return 512 - texY - h; }
};

// The pieces the game reads from the atlas.
extern const AtlasPiece kHudLeft, kHudRight, kHudStrip, kPointer;
extern const AtlasPiece kCommandFrame[2][2];  // [enabled][state]: 58 x 58 frames of the command buttons
extern const AtlasPiece kActionButton[2];     // [state]: 170 x 60 main menu action buttons
extern const AtlasPiece kOptionButton[2];     // [state]: 153 x 46 main menu option buttons

// The 512 x 512 RGBA interface atlas: HUD panels, command button frames, menu buttons and the pointer.
Image makeInterfaceAtlas();

#endif
