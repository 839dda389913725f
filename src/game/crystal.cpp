#include "game/crystal.h"

// A full crystal, not yet glowing.
Crystal::Crystal(float x, float y, float z) : amount(2500.0f), glow(0.0f), hidden(false) {
    position[0] = x;
    position[1] = y;
    position[2] = z;
}
