#ifndef GELMARCH_APP_CAMERA_H
#define GELMARCH_APP_CAMERA_H

class World;

// The match camera: it looks at a ground point (the World's negated cameraX/Y/Z) from cameraDistance
// away, tilted by cameraPitch and turned by cameraYaw. Every angle conversion here uses pi = 3.1415.
// The view matrices themselves are World::buildViewMatrices (world_drawing.cpp).

// Edge and arrow-key scrolling for one frame of dt ms: each held direction moves the look-at point by
// dt * cameraDistance * 0.0011 along the screen's axes as turned by the yaw (tested right, left, up, down).
void scrollCamera(World& world, int dt, bool right, bool left, bool up, bool down);
// Without the middle button held, the yaw drifts back to 0 and a pitch below -40 back to -40.
void springBackCamera(World& world, int dt);
// Middle-button drag by (dx, dy) SDL pixels: a fifth of a degree per pixel, pitch kept in [-130, -40].
void turnCamera(World& world, int dx, int dy);
// Wheel: in divides the distance by 1.04 while above 10, out multiplies it while below 14.5.
void zoomCamera(World& world, bool in);

// The eye position in map coordinates (before the lift that keeps it above hills).
void cameraEye(const World& world, float eye[3]);
// How far the view is raised so the eye stays at least 1 above the ground height under it.
float cameraLift(float eyeZ, float groundHeight);

// The minimap square in window pixels from the bottom-left: (10, 10) to (210, 210), edges included.
bool insideMinimap(int x, int y);
// Map coordinate of a minimap pixel column or row.
float minimapToMap(int pixel, int mapSize);
// The window pixel column or row (from the bottom-left) where the minimap shows a map coordinate.
float mapToMinimap(float coordinate, int mapSize);

#endif
