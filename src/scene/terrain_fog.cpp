// The fog of war: rebuilt every frame from the human player's units, read back for visibility.

#include "scene/terrain.h"

#include <cmath>

// Every texel fully fogged (alpha 128), or fully clear while the fog is switched off.
void Terrain::resetFog() {
    unsigned char alpha = fogDisabled ? 0 : 128;
    for (int i = 0; i < size * size; ++i) {
        fogMap[i * 4 + 3] = alpha;
    }
}

// Clears texels whose centre lies within 7 cells, fading to full fog at 8; only ever lightens,
// so overlapping units combine.
void Terrain::revealFog(float x, float y) {
    int x0 = (int)(x + 0.5f) - 8;
    int y0 = (int)(y + 0.5f) - 8;
    for (int i = 0; i <= 16; ++i) {
        for (int j = 0; j <= 16; ++j) {
            int gx = x0 + i;
            int gy = y0 + j;
            if (gx < 0 || gx >= size || gy < 0 || gy >= size) {
                continue;
            }
            float dx = x - ((float)gx + 0.5f);
            float dy = y - ((float)gy + 0.5f);
            float d = sqrtf(dx * dx + dy * dy);
            float f;
            if (d > 8.0f) {
                f = 1.0f;
            } else if (d >= 7.0f) {
                f = d - 7.0f;
            } else {
                f = 0.0f;
            }
            unsigned char v = (unsigned char)(int)(f * 128.0f);
            unsigned char& alpha = fogMap[(gy * size + gx) * 4 + 3];
            if (v < alpha) {
                alpha = v;
            }
        }
    }
}

// Visible below half fog. Positions are expected inside the map; anything outside is read from the
// nearest edge texel rather than past the array.
bool Terrain::isVisible(float x, float y) const {
    int ix = (int)(x + 0.5f);
    int iy = (int)(y + 0.5f);
    ix = ix < 0 ? 0 : (ix >= size ? size - 1 : ix);
    iy = iy < 0 ? 0 : (iy >= size ? size - 1 : iy);
    return fogMap[(iy * size + ix) * 4 + 3] < 64;
}
