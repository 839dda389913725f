#include "app/world.h"

#include <cstddef>
#include <vector>

#include "app/render_options.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/canvas.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene/sky.h"
#include "scene/terrain.h"

namespace {

// Anything with a ground position and a hidden flag is hidden where the fog covers it.
template <class T>
void hideInFog(const Terrain& terrain, const std::vector<T*>& objects) {
    for (size_t i = 0; i < objects.size(); ++i) {
        objects[i]->hidden = !terrain.isVisible(objects[i]->position[0], objects[i]->position[1]);
    }
}

}  // namespace

// Order matters: the terrain seeds rand() and draws from it before the unit manager lays out the crystals.
World::World(int mapSize_, int numEnemies, int difficulty, int tileSet)
    : terrain(0), modelview(0), projection(0), hudProjection(0), skyRotation(0), frustum(0), cameraX(0.0f),
      cameraY(0.0f), cameraZ(0.0f), cameraPitch(-40.0f), cameraYaw(0.0f), cameraDistance(14.5f), canvas(0),
      unitManager(0), showInfo(false), frustumCulling(true), anisotropy(2), linearFilter(true),
      mipmapping(true), rotating(false), showLifeBars(true), wireframe(false), mapSize(mapSize_), skyShader(0),
      skyVertexArray(0), skyVertexBuffer(0) {
    terrain = new Terrain(mapSize, tileSet);
    modelview = new MatrixStack(4);
    projection = new MatrixStack();
    hudProjection = new MatrixStack();
    skyRotation = new MatrixStack();
    frustum = new Frustum();
    canvas = new Canvas();
    for (int i = 0; i < 6; ++i) {
        skyTextures[i] = 0;
    }

    setCameraPosition(-15.0f, -15.0f);

    unitManager = new UnitManager(terrain, mapSize);
    // Three workers per player on a diagonal in its corner; the human always takes the corner at the origin.
    const float m = (float)mapSize;
    const float corners[4][2][2] = {
        {{14.0f, 14.0f}, {1.0f, 1.0f}},
        {{m - 14.0f, m - 14.0f}, {-1.0f, -1.0f}},
        {{m - 14.0f, 14.0f}, {-1.0f, 1.0f}},
        {{14.0f, m - 14.0f}, {1.0f, -1.0f}},
    };
    for (int player = 0; player < 4; ++player) {
        if (player > 1 && player > numEnemies) {
            break;  // the first enemy always plays
        }
        for (int k = 0; k < 3; ++k) {
            float x = corners[player][0][0] + corners[player][1][0] * (float)k;
            float y = corners[player][0][1] + corners[player][1][1] * (float)k;
            float z = terrain->maxHeightAround(x, y, 0.5f) + 0.5f;
            unitManager->createUnit(0, x, y, z, player);
        }
    }
    unitManager->difficulty = difficulty;

    skyShader = new Shader("..\\shader\\texm");
    loadSkyTextures(tileSet, skyTextures);
    createSkyGeometry(&skyVertexArray, &skyVertexBuffer);
}

// Simulation first (it may still point into the terrain), the terrain last of the owned objects.
World::~World() {
    delete unitManager;
    delete canvas;
    delete modelview;
    delete projection;
    delete hudProjection;
    delete skyRotation;
    delete frustum;
    delete terrain;
    delete skyShader;
    for (int i = 0; i < 6; ++i) {
        glDeleteTextures(1, &skyTextures[i]);
    }
    glDeleteBuffers(1, &skyVertexBuffer);
    glDeleteVertexArrays(1, &skyVertexArray);
}

// Keeps the look-at point 8 cells inside the map so the view never shows much beyond its edge.
void World::setCameraPosition(float x, float y) {
    float low = 8.0f - (float)mapSize;
    cameraX = x < low ? low : (x > -8.0f ? -8.0f : x);
    cameraY = y < low ? low : (y > -8.0f ? -8.0f : y);
    cameraZ = -terrain->height(-cameraX, -cameraY);
}

// The fog is rebuilt from scratch every frame from the human's units, so it also closes behind them.
bool World::update(int dt) {
    UnitManager* m = unitManager;
    terrain->resetFog();
    for (size_t i = 0; i < m->units.size(); ++i) {
        if (m->units[i]->player == 0) {
            terrain->revealFog(m->units[i]->position[0], m->units[i]->position[1]);
        }
    }
    hideInFog(*terrain, m->units);
    hideInFog(*terrain, m->dyingUnits);
    hideInFog(*terrain, m->projectiles);
    hideInFog(*terrain, m->crystals);
    // Units that vanished into the fog leave the selection; the rest keep their order.
    size_t kept = 0;
    for (size_t i = 0; i < m->selection.size(); ++i) {
        if (!m->selection[i]->hidden) {
            m->selection[kept++] = m->selection[i];
        }
    }
    m->selection.resize(kept);
    return m->update(dt);
}

// F2: the option list and the fps counter instead of the one-line hint.
void World::toggleInfo() {
    showInfo = !showInfo;
}

// F4: the terrain's textures only; the unit textures keep their filtering.
void World::toggleLinearFilter() {
    linearFilter = !linearFilter;
    terrain->setFiltering(linearFilter, mipmapping);
}

// F5: mipmapped minification of the terrain textures.
void World::toggleMipmapping() {
    mipmapping = !mipmapping;
    terrain->setFiltering(linearFilter, mipmapping);
}

// F7: 2, 4, ... up to the driver's maximum, then back to 1 (off).
void World::cycleAnisotropy() {
    anisotropy = nextAnisotropy(anisotropy, maxAnisotropy());
    terrain->setAnisotropy((float)anisotropy);
    unitManager->setAnisotropy((float)anisotropy);
}

// F8: all three flags start on and are flipped together, so they stay in step.
void World::toggleFrustumCulling() {
    frustumCulling = !frustumCulling;
    terrain->frustumCulling = !terrain->frustumCulling;
    unitManager->frustumCulling = !unitManager->frustumCulling;
}
