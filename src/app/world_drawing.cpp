#include <GL/glew.h>

#include "app/camera.h"
#include "app/globals.h"
#include "app/hud.h"
#include "app/world.h"
#include "game/unit_manager.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/sky.h"
#include "scene/terrain.h"

// One frame after the game loop's clear: the view, the 3D pass and the HUD. The sky fills only what the
// opaque ground left uncovered, so it comes after the ground (and its shading is not paid for twice) but
// before the blended units, which must blend over it. The unit drawing also sets the units' culled flags
// that the life bars read, so it comes before the HUD.
void World::draw(bool selecting) {
    buildViewMatrices();
    if (wireframe) {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    }
    frustum->extract(*projection, *modelview);
    terrain->draw(modelview, projection, frustum);
    drawSky();
    unitManager->drawUnits(modelview, projection, frustum);
    unitManager->drawEffects(modelview, projection);
    drawHud(*this, selecting);
}

// Rotation only: the cube stays centred on the eye however far the camera travels.
void World::drawSky() {
    drawSkyBox(skyShader, skyTextures, skyVertexArray, skyVertexBuffer, projection, skyRotation);
}

// Camera view, 3D projection, the HUD's pixel projection and the rotation-only sky view.
void World::buildViewMatrices() {
    float eye[3];
    cameraEye(*this, eye);
    float lift = cameraLift(eye[2], terrain->height(eye[0], eye[1]));
    modelview->loadIdentity();
    modelview->translate(0.0f, -lift, -cameraDistance);
    modelview->rotate(cameraPitch, 1.0f, 0.0f, 0.0f);
    modelview->rotate(cameraYaw, 0.0f, 0.0f, 1.0f);
    modelview->translate(cameraX, cameraY, cameraZ);
    projection->perspective(45.0f, (float)gScreenWidth / (float)gScreenHeight, 0.1f, 250.0f);
    hudProjection->ortho(0.0f, (float)gScreenWidth, 0.0f, (float)gScreenHeight, 1.0f, -1.0f);
    skyRotation->loadIdentity();
    skyRotation->rotate(cameraPitch, 1.0f, 0.0f, 0.0f);
    skyRotation->rotate(cameraYaw, 0.0f, 0.0f, 1.0f);
}
