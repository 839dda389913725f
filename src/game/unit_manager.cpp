#include "game/unit_manager.h"

#include <algorithm>
#include <cmath>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/spatial_index.h"
#include "game/unit.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "scene/terrain.h"

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif

namespace {

// Of the items whose 3D distance d from (x, y, z) passes `fits`, the nearest; an earlier item keeps a tie.
template <class T, class Fits>
T* nearestFitting(const std::vector<T*>& items, float x, float y, float z, Fits fits) {
    T* best = 0;
    float bestDistance = 4096.0f;
    for (size_t i = 0; i < items.size(); ++i) {
        const float* p = items[i]->position;
        float dx = p[0] - x;
        float dy = p[1] - y;
        float dz = p[2] - z;
        float d = sqrtf(dx * dx + dy * dy + dz * dz);
        if (fits(items[i], d) && d < bestDistance) {
            best = items[i];
            bestDistance = d;
        }
    }
    return best;
}

// Deletes every owned object of the list.
template <class T>
void deleteAll(const std::vector<T*>& items) {
    for (size_t i = 0; i < items.size(); ++i) {
        delete items[i];
    }
}

}  // namespace

// Needs a current GL context; the terrain has already drawn its random numbers, the crystal field draws next.
UnitManager::UnitManager(Terrain* terrain_, int mapSize_)
    : blobMesh(0), gameResult(0), gameTime(0), boostMode(false), showTargetLines(true), difficulty(0),
      terrain(terrain_), textureShader(0), monocolorShader(0), texture2Shader(0), selectionTexture(0),
      fxTexture(0), mapSize(mapSize_), frameTime(0), frustumCulling(true), unitIndex(0), largestSize(0.0f) {
    blobMesh = new BlobMesh();
    createUnitTemplates(templates);
    for (size_t i = 0; i < templates.size(); ++i) {
        largestSize = std::max(largestSize, templates[i]->size);
    }
    unitIndex = new SpatialIndex(&units);
    players[0].isComputer = false;
    textureShader = new Shader("..\\shader\\texture");
    monocolorShader = new Shader("..\\shader\\monocolor");
    texture2Shader = new Shader("..\\shader\\texture2");
    selectionTexture = loadTexture(".\\textures\\other\\selection.bmp");
    // The ring must not bleed in from the opposite edge when magnified.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    fxTexture = loadTexture(".\\textures\\other\\fx.png");
    createCrystalField();
}

// Releases every owned object; selection and groups only hold pointers.
UnitManager::~UnitManager() {
    deleteAll(templates);
    deleteAll(units);
    deleteAll(dyingUnits);
    deleteAll(projectiles);
    deleteAll(crystals);
    glDeleteTextures(1, &selectionTexture);
    glDeleteTextures(1, &fxTexture);
    delete blobMesh;
    delete unitIndex;
    delete textureShader;
    delete monocolorShader;
    delete texture2Shader;
}

// Only the selection ring is filtered anisotropically; the effect atlas is left as it is.
void UnitManager::setAnisotropy(float value) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, selectionTexture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, value);
}

// A new idle unit at full life; the only way units come into being.
Unit* UnitManager::createUnit(int type, float x, float y, float z, int player) {
    Unit* u = new Unit();
    u->type = type;
    u->position[0] = x;
    u->position[1] = y;
    u->position[2] = z;
    u->player = player;
    u->life = (float)templates[type]->maxLife;
    units.push_back(u);
    return u;
}

// The unit whose picking sphere (0.65 of its size) holds the point, nearest first; hidden ones count.
Unit* UnitManager::unitAt(float x, float y, float z) const {
    return nearestFitting(units, x, y, z,
                          [this](const Unit* u, float d) { return d < templates[u->type]->size * 0.65f; });
}

// The nearest crystal with something left in it, within its small picking radius.
Crystal* UnitManager::crystalAt(float x, float y, float z) const {
    return nearestFitting(crystals, x, y, z,
                          [](const Crystal* c, float d) { return d < 0.325f && c->amount > 0.0f; });
}

// Left click on a unit: replace the selection, or toggle the unit with the additive modifier.
void UnitManager::clickSelect(float x, float y, float z, bool additive) {
    Unit* u = unitAt(x, y, z);
    if (!u || u->hidden) {
        return;
    }
    if (!additive) {
        selection.clear();
        selection.push_back(u);
        return;
    }
    std::vector<Unit*>::iterator found = std::find(selection.begin(), selection.end(), u);
    if (found != selection.end()) {
        selection.erase(found);
    } else {
        selection.push_back(u);
    }
}

// Rectangle selection in window pixels from the bottom-left; own units win over enemies.
void UnitManager::boxSelect(float x1, float y1, float x2, float y2, const Frustum& frustum, bool additive) {
    float minX = x1 < x2 ? x1 : x2;
    float maxX = x1 < x2 ? x2 : x1;
    float minY = y1 < y2 ? y1 : y2;
    float maxY = y1 < y2 ? y2 : y1;
    if (!additive) {
        selection.clear();
    }
    bool ownTaken = false;
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        const float* p = u->position;
        float p1 = frustum.distance(p[0], p[1], p[2], kPlaneLeft);
        float p2 = frustum.distance(p[0], p[1], p[2], kPlaneBottom);
        float p0 = frustum.distance(p[0], p[1], p[2], kPlaneRight);
        float p3 = frustum.distance(p[0], p[1], p[2], kPlaneTop);
        if (p0 < 0.0f || p1 < 0.0f || p2 < 0.0f || p3 < 0.0f) {
            continue;
        }
        float sx = p1 / (p1 + p0) * (float)gScreenWidth;
        float sy = p2 / (p2 + p3) * (float)gScreenHeight;
        if (minX <= sx && sx <= maxX && minY <= sy && sy <= maxY) {
            if (u->player == 0) {
                ownTaken = true;
            }
            if (!additive || std::find(selection.begin(), selection.end(), u) == selection.end()) {
                selection.push_back(u);
            }
        }
    }
    if (ownTaken) {
        std::vector<Unit*>::iterator kept =
            std::remove_if(selection.begin(), selection.end(), [](const Unit* s) { return s->player != 0; });
        selection.erase(kept, selection.end());
    }
}

// Control group n (keys 1..9 are n = 0..8) becomes a copy of the selection.
void UnitManager::storeGroup(int n) {
    groups[n] = selection;
}

// An empty group leaves the selection alone.
void UnitManager::recallGroup(int n) {
    if (!groups[n].empty()) {
        selection = groups[n];
    }
}

// Ground distance to the goal; height does not count.
float UnitManager::distanceToDestination(const Unit* u) const {
    float dx = u->position[0] - u->destination[0];
    float dy = u->position[1] - u->destination[1];
    return sqrtf(dx * dx + dy * dy);
}
