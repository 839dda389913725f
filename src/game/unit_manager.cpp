#include "game/unit_manager.h"

#include <cmath>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/projectile.h"
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

// Removes the first occurrence of u; returns whether there was one.
bool removeFirst(std::vector<Unit*>& list, Unit* u) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == u) {
            list.erase(list.begin() + i);
            return true;
        }
    }
    return false;
}

// Whether u is in the list at least once.
bool contains(const std::vector<Unit*>& list, const Unit* u) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == u) {
            return true;
        }
    }
    return false;
}

// Picking distance: full 3D, so a flyer is picked at its height, not over its ground mark.
float distance3(const float* p, float x, float y, float z) {
    float dx = p[0] - x;
    float dy = p[1] - y;
    float dz = p[2] - z;
    return sqrtf(dx * dx + dy * dy + dz * dz);
}

}  // namespace

// Needs a current GL context; the terrain has already drawn its random numbers, the crystal field draws next.
UnitManager::UnitManager(Terrain* terrain_, int mapSize_)
    : blobMesh(0), gameResult(0), gameTime(0), boostMode(false), showTargetLines(true), difficulty(0),
      terrain(terrain_), textureShader(0), monocolorShader(0), texture2Shader(0), selectionTexture(0),
      fxTexture(0), mapSize(mapSize_), frameTime(0), frustumCulling(true) {
    blobMesh = new BlobMesh();
    for (int p = 0; p < kPlayerCount; ++p) {
        players[p] = PlayerState();
    }
    createUnitTemplates(templates);
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
    selection.clear();
    for (int g = 0; g < kGroupCount; ++g) {
        groups[g].clear();
    }
    for (size_t i = 0; i < templates.size(); ++i) {
        delete templates[i];
    }
    for (size_t i = 0; i < units.size(); ++i) {
        delete units[i];
    }
    for (size_t i = 0; i < dyingUnits.size(); ++i) {
        delete dyingUnits[i];
    }
    for (size_t i = 0; i < projectiles.size(); ++i) {
        delete projectiles[i];
    }
    for (size_t i = 0; i < crystals.size(); ++i) {
        delete crystals[i];
    }
    templates.clear();
    units.clear();
    dyingUnits.clear();
    projectiles.clear();
    crystals.clear();
    glDeleteTextures(1, &selectionTexture);
    glDeleteTextures(1, &fxTexture);
    delete blobMesh;
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
    u->state = kIdle;
    u->cooldown = 0;
    units.push_back(u);
    return u;
}

// The living unit whose body contains the point, nearest first; the earlier unit wins a tie.
Unit* UnitManager::unitAt(float x, float y, float z) const {
    Unit* best = 0;
    float bestDistance = 4096.0f;
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        float d = distance3(u->position, x, y, z);
        if (d < templates[u->type]->size * 0.65f && d < bestDistance) {
            best = u;
            bestDistance = d;
        }
    }
    return best;
}

// The nearest crystal with something left in it, within its small picking radius.
Crystal* UnitManager::crystalAt(float x, float y, float z) const {
    Crystal* best = 0;
    float bestDistance = 4096.0f;
    for (size_t i = 0; i < crystals.size(); ++i) {
        Crystal* c = crystals[i];
        float d = distance3(c->position, x, y, z);
        if (d < 0.325f && c->amount > 0.0f && d < bestDistance) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
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
    if (!removeFirst(selection, u)) {
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
            if (!(additive && contains(selection, u))) {
                selection.push_back(u);
            }
        }
    }
    if (ownTaken) {
        std::vector<Unit*> own;
        for (size_t i = 0; i < selection.size(); ++i) {
            if (selection[i]->player == 0) {
                own.push_back(selection[i]);
            }
        }
        selection.swap(own);
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
