// The unit manager's 3D drawing of units, crystals and markers, and the shared vertex stream that every
// marker and effect goes through.

#include "game/unit_manager.h"

#include <SDL/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "scene/blob_mesh.h"
#include "scene/terrain.h"

// Nothing is made until the first draw, so a manager that never draws needs no GL objects.
UnitManager::StreamGeometry::StreamGeometry() : vertexArray(0), buffer(0) {}

// Needs the context that made the objects to be current (the manager dies before the window).
UnitManager::StreamGeometry::~StreamGeometry() {
    if (buffer != 0) {
        glDeleteBuffers(1, &buffer);
    }
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
    }
}

// Positions first, texcoords after them in the same buffer; the buffer is orphaned on every call so the
// driver never waits for the previous draw.
void UnitManager::StreamGeometry::draw(Shader* shader, MatrixStack* modelview, MatrixStack* projection,
                                       const float tint[4], GLenum mode, const float* vertices,
                                       const float* texcoords, int count, int run) {
    if (!shader->valid) {
        return;  // without a program the uniforms would only raise GL errors every frame
    }
    if (vertexArray == 0) {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
    }
    shader->bind();
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLsizeiptr positionBytes = (GLsizeiptr)(count * 3 * sizeof(float));
    GLsizeiptr texcoordBytes = texcoords ? (GLsizeiptr)(count * 2 * sizeof(float)) : 0;
    glBufferData(GL_ARRAY_BUFFER, positionBytes + texcoordBytes, 0, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, positionBytes, vertices);
    GLint texcoord = texcoords ? shader->attribute("texcoord") : -1;
    if (texcoord >= 0) {
        glBufferSubData(GL_ARRAY_BUFFER, positionBytes, texcoordBytes, texcoords);
        glVertexAttribPointer(texcoord, 2, GL_FLOAT, GL_FALSE, 0, (const void*)(size_t)positionBytes);
        glEnableVertexAttribArray(texcoord);
    }
    GLint vertex = shader->attribute("vertex");
    if (vertex >= 0) {
        glVertexAttribPointer(vertex, 3, GL_FLOAT, GL_FALSE, 0, 0);
        glEnableVertexAttribArray(vertex);
    }
    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview->current.m);
    glUniform4f(shader->uniform("tint"), tint[0], tint[1], tint[2], tint[3]);
    for (int first = 0; first < count; first += run) {
        glDrawArrays(mode, first, run);
    }
    // a later call with fewer attributes must not read stale ones
    if (vertex >= 0) {
        glDisableVertexAttribArray(vertex);
    }
    if (texcoord >= 0) {
        glDisableVertexAttribArray(texcoord);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    Shader::unbind();
}

namespace {

// The larger of a type's width and height, halved: the radius of a sphere around its blob.
float bodyRadius(const UnitTemplate* type) {
    return (type->size > type->heightScale ? type->size : type->heightScale) * 0.5f;
}

// Moving and fighting units wobble harder than resting ones.
float wobbleFor(int state) {
    if (state == kMove || state == kAttackMove || state == kAttack || state == kChase) {
        return 0.12f;
    }
    return 0.03f;
}

// One frame of every projectile's trail: live particles age and drift, a flying projectile emits new ones
// at its position, and the trail's visibility is refreshed while culling is on. Runs for unseen
// projectiles too, so a trail coming into view looks the same as one that was watched.
void advanceTrails(std::vector<Projectile*>& projectiles, int frameTime, bool culling, Frustum* frustum) {
    for (size_t i = 0; i < projectiles.size(); ++i) {
        Projectile* q = projectiles[i];
        float spread = q->kind > 3 ? 6.0f : 10.0f;
        for (int k = 0; k < Projectile::kParticleCount; ++k) {
            float* particle = q->particles[k];
            particle[0] -= (float)frameTime / 300.0f;
            if (particle[0] > 0.0f) {
                for (int axis = 1; axis <= 3; ++axis) {
                    int jitter = rand() % 2001 - 1000;
                    particle[axis] += ((float)jitter / 1000.0f) * 0.01f * (float)frameTime / spread;
                }
            }
        }
        q->emitTimer += frameTime;
        if (q->impactTime == 0) {
            while (q->emitTimer >= 2) {
                q->emitTimer -= 5;
                q->emitIndex = (q->emitIndex + 1) % Projectile::kParticleCount;
                float* particle = q->particles[q->emitIndex];
                particle[0] = 1.35f;
                particle[1] = q->position[0];
                particle[2] = q->position[1];
                particle[3] = q->position[2];
            }
        }
        if (culling) {
            q->inView = frustum->sphereVisible(q->position[0], q->position[1], q->position[2], 3.5f);
        }
    }
}

// The colour code of a crystal's glow blob: 20 (alpha 0.12) at rest, pulsing up to 80 (alpha 0.72) with a
// full glow; the phase runs across the map so neighbouring crystals do not pulse in step.
int crystalGlowCode(const Crystal* c, int t) {
    float phase = (float)(c->position[1] + (t / 866.0 - c->position[0]));
    return (int)(fabsf(sinf(phase)) * c->glow * 30.0f) + 20;
}

}  // namespace

// Blending order: dying units, then living units farthest first, then crystals; the flat markers come last
// and write no depth so they never hide a blob drawn after them.
void UnitManager::drawUnits(MatrixStack* modelview, MatrixStack* projection, Frustum* frustum) {
    int t = (int)SDL_GetTicks();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, selectionTexture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);

    // dead units sinking away: they fade, shrink and tip over
    for (size_t i = 0; i < dyingUnits.size(); ++i) {
        Unit* u = dyingUnits[i];
        const UnitTemplate* type = templates[u->type];
        const float* p = u->position;
        if (u->hidden) {
            continue;
        }
        if (frustumCulling && !frustum->sphereVisible(p[0], p[1], p[2], bodyRadius(type))) {
            continue;
        }
        blobMesh->drawDying(p[0], p[1], p[2], 1.0f - u->progress, (1.0f - u->progress / 4.0f) * type->size,
                            (1.0f - u->progress / 2.0f) * type->heightScale, 0.03f, type->shape,
                            u->player + u->miningEffect, t, projection, modelview, frustum);
    }

    // living units, culled, then sorted back to front for blending
    std::vector<Unit*> listed;
    listed.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        const float* p = u->position;
        if (u->hidden) {
            continue;
        }
        if (frustumCulling) {
            float radius = bodyRadius(templates[u->type]);
            if (u->state == kMorph) {
                radius *= 2.0f;  // the target shape may be larger
            }
            if (!frustum->sphereVisible(p[0], p[1], p[2], radius)) {
                u->culled = true;
                continue;
            }
            u->culled = false;
            u->nearVisible = frustum->sphereVisible(p[0], p[1], p[2], 7.0f);
        }
        u->viewDepth = frustum->distance(p[0], p[1], p[2], kPlaneNear);
        listed.push_back(u);
    }
    std::sort(listed.begin(), listed.end(), compareDepth);
    for (size_t i = 0; i < listed.size(); ++i) {
        Unit* u = listed[i];
        const UnitTemplate* type = templates[u->type];
        const float* p = u->position;
        float wobble = wobbleFor(u->state);
        if (u->state == kSplit) {
            // the two halves drift apart diagonally as the split proceeds
            float apart = u->progress * 0.25f;
            blobMesh->draw(p[0] - apart, p[1] - apart, p[2], type->size, type->heightScale, wobble, type->shape,
                           u->player, t, projection, modelview, frustum);
            blobMesh->draw(p[0] + apart, p[1] + apart, p[2], type->size, type->heightScale, wobble, type->shape,
                           u->player, t, projection, modelview, frustum);
        } else if (u->state == kMorph) {
            const UnitTemplate* next = templates[u->morphTarget];
            blobMesh->drawMorph(p[0], p[1], p[2], type->size, type->heightScale, next->size, next->heightScale,
                                type->shape, next->shape, u->player, t, projection, modelview, u->progress,
                                frustum);
        } else {
            blobMesh->draw(p[0], p[1], p[2], type->size, type->heightScale, wobble, type->shape,
                           u->player + u->miningEffect, t, projection, modelview, frustum);
        }
    }

    advanceTrails(projectiles, frameTime, frustumCulling, frustum);

    // crystals: a magenta gem and a pulsing additive glow that brightens while it is mined
    for (size_t i = 0; i < crystals.size(); ++i) {
        Crystal* c = crystals[i];
        if (c->amount <= 0.0f) {
            continue;
        }
        c->glow -= (float)frameTime / 1000.0f;
        if (c->glow < 0.0f) {
            c->glow = 0.0f;
        }
        const float* p = c->position;
        if (frustumCulling && !frustum->sphereVisible(p[0], p[1], p[2], 0.5f)) {
            continue;
        }
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        blobMesh->draw(p[0], p[1], p[2], 0.5f, 0.5f, 1.0f, 5, 80, 0, projection, modelview, frustum);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        blobMesh->draw(p[0], p[1], p[2], 0.53f, 0.53f, 1.0f, 5, crystalGlowCode(c, t), 0, projection, modelview,
                       frustum);
    }

    // where the human's units are heading
    float pulse = sinf((float)(t / 100.0)) * 0.02f + 0.13f;
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        if (u->player != 0) {
            continue;
        }
        if (u->state == kMove || u->state == kAttackMove) {
            drawRing(u->destination[0], u->destination[1], u->destination[2], pulse, modelview, projection,
                     textureShader, u->state == kMove ? 0 : 1);
        }
    }

    glEnable(GL_LINE_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (showTargetLines) {
        for (size_t i = 0; i < units.size(); ++i) {
            Unit* u = units[i];
            if (u->player != 0) {
                continue;
            }
            int colour = -1;
            if (u->state == kMove || (u->state == kMine && u->miningEffect == 0)) {
                colour = 0;
            } else if (u->state == kAttackMove || u->state == kAttack) {
                colour = 1;
            }
            if (colour >= 0) {
                drawLine(u->position[0], u->position[1], u->position[2], u->destination[0], u->destination[1],
                         u->destination[2], modelview, projection, monocolorShader, colour, 0.65f);
            }
        }
    }
    // a flyer's plumb line down to the ground, so its place on the map can be read
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        if (templates[u->type]->isAir) {
            const float* p = u->position;
            drawLine(p[0], p[1], terrain->height(p[0], p[1]), p[0], p[1], p[2], modelview, projection,
                     monocolorShader, u->player, 0.5f);
        }
    }
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);

    // rings under every unit (also in fog: the player knows something is there) and ground marks of flyers
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        const float* p = u->position;
        drawRing(p[0], p[1], p[2] - 0.3f, templates[u->type]->size * 0.65f, modelview, projection, textureShader,
                 u->player);
    }
    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        if (templates[u->type]->isAir) {
            const float* p = u->position;
            drawRing(p[0], p[1], terrain->height(p[0], p[1]) + 0.1f, 0.125f, modelview, projection, textureShader,
                     u->player);
        }
    }

    // highlights under the pointer
    Unit* hovered = unitAt(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
    if (hovered && !hovered->hidden) {
        const float* p = hovered->position;
        drawRing(p[0], p[1], p[2] - 0.3f, templates[hovered->type]->size * 0.65f, modelview, projection,
                 textureShader, hovered->player + 4);
    }
    Crystal* hoveredCrystal = crystalAt(gPickPoint[0], gPickPoint[1], gPickPoint[2]);
    if (hoveredCrystal) {
        const float* p = hoveredCrystal->position;
        drawRing(p[0], p[1], p[2] - 0.15f, 0.325f, modelview, projection, textureShader, 8);
    }
}

// Target lines and flyers' plumb lines; the caller sets up blending and smoothing.
void UnitManager::drawLine(float x1, float y1, float z1, float x2, float y2, float z2, MatrixStack* modelview,
                           MatrixStack* projection, Shader* shader, int colour, float alpha) {
    float tint[4] = {0.0f, 1.0f, 0.0f, alpha};
    if (colour > 0) {
        tint[0] = 1.0f;
        tint[1] = 0.0f;
    }
    const float vertices[6] = {x1, y1, z1, x2, y2, z2};
    markerStream.draw(shader, modelview, projection, tint, GL_LINES, vertices, 0, 2, 2);
}

// The ring image stretched over a square lying flat at height z; drawn blended without writing depth, so
// rings overlap each other and the blobs above them cleanly.
void UnitManager::drawRing(float x, float y, float z, float radius, MatrixStack* modelview, MatrixStack* projection,
                           Shader* shader, int colourCode) {
    float tint[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    if (colourCode % 4 > 0) {
        tint[0] = 1.0f;
        tint[1] = 0.0f;
    }
    if (colourCode > 3) {
        tint[3] = 0.65f;
    }
    if (colourCode == 8) {
        tint[0] = 1.0f;
        tint[1] = 0.0f;
        tint[2] = 1.0f;
        tint[3] = 1.0f;
    } else if (colourCode == 9) {
        tint[0] = 0.7f;
        tint[1] = 0.0f;
        tint[2] = 0.8f;
        tint[3] = 1.0f;
    }
    const float r = radius;
    const float vertices[12] = {x - r, y - r, z, x + r, y - r, z, x - r, y + r, z, x + r, y + r, z};
    const float texcoords[8] = {0.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f};
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    markerStream.draw(shader, modelview, projection, tint, GL_TRIANGLE_STRIP, vertices, texcoords, 4, 4);
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}

// Farther units first, so nearer see-through blobs blend over them.
bool UnitManager::compareDepth(Unit* a, Unit* b) {
    return a->viewDepth > b->viewDepth;
}
