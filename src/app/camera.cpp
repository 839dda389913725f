#include "app/camera.h"

#include <cmath>

#include "app/world.h"
#include "scene/terrain.h"

namespace {

// The minimap square: its offset from the window's bottom-left corner and its side, in pixels.
const int kMinimapLeft = 10;
const int kMinimapSize = 200;

// The game's own approximation of pi for every camera angle.
float cameraRadians(float degrees) {
    return degrees * 3.1415f / 180.0f;
}

}  // namespace

// Each direction is applied on its own, so two held directions move diagonally; every step is clamped.
void scrollCamera(World& world, int dt, bool right, bool left, bool up, bool down) {
    float s = (float)dt * world.cameraDistance * 0.0011f;
    float a = cameraRadians(world.cameraYaw);
    if (right) {
        world.setCameraPosition(world.cameraX - cosf(a) * s, world.cameraY + sinf(a) * s);
    }
    if (left) {
        world.setCameraPosition(world.cameraX + cosf(a) * s, world.cameraY - sinf(a) * s);
    }
    if (up) {
        world.setCameraPosition(world.cameraX - sinf(a) * s, world.cameraY - cosf(a) * s);
    }
    if (down) {
        world.setCameraPosition(world.cameraX + sinf(a) * s, world.cameraY + cosf(a) * s);
    }
}

// Proportional decay: the further off, the faster it returns.
void springBackCamera(World& world, int dt) {
    if (world.cameraYaw > 0.1f || world.cameraYaw < -0.1f) {
        world.cameraYaw -= (world.cameraYaw / 160.0f) * (float)dt;
    }
    if (world.cameraPitch < -40.0f) {
        world.cameraPitch -= ((world.cameraPitch + 20.0f) / 380.0f) * (float)dt;
    }
}

// Pitch is limited so the camera never looks above the horizon line nor past straight down.
void turnCamera(World& world, int dx, int dy) {
    world.cameraPitch += (float)dy / 5.0f;
    world.cameraYaw += (float)dx / 5.0f;
    if (world.cameraPitch > -40.0f) {
        world.cameraPitch = -40.0f;
    }
    if (world.cameraPitch < -130.0f) {
        world.cameraPitch = -130.0f;
    }
}

// A few wheel clicks span the whole range from the close view to the default distance.
void zoomCamera(World& world, bool in) {
    if (in) {
        if (world.cameraDistance > 10.0f) {
            world.cameraDistance /= 1.04f;
        }
    } else if (world.cameraDistance < 14.5f) {
        world.cameraDistance *= 1.04f;
    }
}

// Back along the view direction from the look-at point.
void cameraEye(const World& world, float eye[3]) {
    float p = cameraRadians(world.cameraPitch);
    float u = cameraRadians(world.cameraYaw);
    float d = world.cameraDistance;
    float r = sinf(p) * d;
    float a = sinf(u) * r;
    float b = cosf(u) * (-r);
    float c = cosf(p) * d;
    eye[0] = -world.cameraX + a;
    eye[1] = -world.cameraY - b;
    eye[2] = -world.cameraZ + c;
}

// Zero while the eye is high enough.
float cameraLift(float eyeZ, float groundHeight) {
    if (eyeZ < groundHeight + 1.0f) {
        return groundHeight - eyeZ + 1.0f;
    }
    return 0.0f;
}

// Edges count as inside, as the hit test of every control does.
bool insideMinimap(int x, int y) {
    return x >= kMinimapLeft && x <= kMinimapLeft + kMinimapSize && y >= kMinimapLeft &&
           y <= kMinimapLeft + kMinimapSize;
}

// kMinimapSize pixels span the whole map.
float minimapToMap(int pixel, int mapSize) {
    return (float)(pixel - kMinimapLeft) * (float)mapSize / (float)kMinimapSize;
}

// The inverse of minimapToMap.
float mapToMinimap(float coordinate, int mapSize) {
    return coordinate * ((float)kMinimapSize / (float)mapSize) + (float)kMinimapLeft;
}
