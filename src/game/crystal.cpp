#include "game/crystal.h"

#include "game/unit_manager.h"

// A full crystal, not yet glowing.
Crystal::Crystal(float x, float y, float z) : amount(kCrystalAmount), glow(0.0f), hidden(false) {
    position[0] = x;
    position[1] = y;
    position[2] = z;
}
