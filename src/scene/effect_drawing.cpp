// The unit manager's additive effects: mining and attack beams and the projectile trail particles, all
// cut from the effect atlas (three beam rows, then a row of four particle frames).

#include "game/unit_manager.h"

#include <SDL/SDL.h>

#include <cmath>

#include "game/crystal.h"
#include "game/projectile.h"
#include "game/unit.h"
#include "render/matrix_stack.h"
#include "render/shader.h"

namespace {

// Per player, 0xRRGGBB00: the player's colour and a lighter one for beam cores. Callers add the alpha byte.
const unsigned int kPlayerColours[4] = {0x00DF0000u, 0xFF000000u, 0x0000FF00u, 0xCFCF0000u};
const unsigned int kLightColours[4] = {0x68DF6800u, 0xFF686800u, 0x6868FF00u, 0xCFCF6800u};

// 0xRRGGBBAA to four floats 0..1.
void unpackColour(unsigned int colour, float tint[4]) {
    tint[0] = (float)((colour >> 24) & 0xFFu) / 255.0f;
    tint[1] = (float)((colour >> 16) & 0xFFu) / 255.0f;
    tint[2] = (float)((colour >> 8) & 0xFFu) / 255.0f;
    tint[3] = (float)(colour & 0xFFu) / 255.0f;
}

// One layer of an attack beam.
struct BeamLayer {
    int frame;
    float period;  // ms per texture unit of scroll
    float halfWidth;
    int colourTable;  // 0 player colour, 1 light colour, -1 fixed colour
    unsigned int colour;  // the alpha byte, or the whole fixed colour
};

// Three looks, chosen by the shooter type's projectile kind: a braided plasma (0), a pulsing stream (1) and
// a hot acid jet (2). Layers go from wide and faint to thin and bright.
const BeamLayer kBeam0[4] = {{2, 1600.0f, 0.27f, 0, 0x18u}, {2, 1333.6f, 0.21f, 0, 0x20u},
                             {2, 1033.0f, 0.15f, 1, 0x28u}, {2, 866.7f, 0.09f, 1, 0x28u}};
const BeamLayer kBeam1[3] = {{0, 1600.0f, 0.25f, 0, 0x20u}, {1, 1600.0f, 0.15f, 0, 0x40u},
                             {1, 917.4f, 0.08f, 1, 0x68u}};
const BeamLayer kBeam2[3] = {{0, 1500.0f, 0.35f, -1, 0xD0400020u}, {0, 1118.0f, 0.23f, -1, 0xE0A05030u},
                             {0, 633.0f, 0.08f, -1, 0xFFFFFF60u}};

// Player numbers outside 0..3 take the human's colours rather than reading past the tables.
int colourIndex(int player) {
    return player >= 0 && player < 4 ? player : 0;
}

}  // namespace

// Effects add light: blended additively, both sides visible, no depth written so they never hide each other.
void UnitManager::drawEffects(MatrixStack* modelview, MatrixStack* projection) {
    int t = (int)SDL_GetTicks();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_CULL_FACE);
    glDepthMask(GL_FALSE);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, fxTexture);

    for (size_t i = 0; i < units.size(); ++i) {
        Unit* u = units[i];
        Crystal* c = u->crystal;
        if (u->miningEffect >= 1 && c && u->nearVisible && !(u->hidden && c->hidden)) {
            // a stream of crystal matter between the worker and the crystal's foot
            const float crystalFoot[3] = {c->position[0], c->position[1], c->position[2] - 0.15f};
            drawBeam(u->position, crystalFoot, modelview, projection, texture2Shader, (float)t / 1600.0f, 0.32f,
                     0xC000DF40u, 0);
            drawBeam(u->position, crystalFoot, modelview, projection, texture2Shader, (float)t / 1033.0f, 0.07f,
                     0xFFFFFF60u, 0);
            continue;
        }
        Unit* target = u->target;
        if (u->beamEffect < 0 || !target || (u->hidden && target->hidden)) {
            continue;
        }
        // each player's beams leave and hit at their own heights, so crossing beams stay apart
        const float shooterLift = (float)u->player * 0.12f - 0.1f;
        const float targetLift = (float)u->player * 0.15f - 0.3f;
        const float from[3] = {u->position[0], u->position[1], u->position[2] + shooterLift};
        const float to[3] = {target->position[0], target->position[1], target->position[2] + targetLift};
        const BeamLayer* layers = kBeam0;
        int count = 4;
        if (u->beamEffect == 1) {
            layers = kBeam1;
            count = 3;
        } else if (u->beamEffect == 2) {
            layers = kBeam2;
            count = 3;
        } else if (u->beamEffect != 0) {
            continue;
        }
        int p = colourIndex(u->player);
        for (int k = 0; k < count; ++k) {
            const BeamLayer& layer = layers[k];
            unsigned int colour = layer.colour;
            if (layer.colourTable == 0) {
                colour += kPlayerColours[p];
            } else if (layer.colourTable == 1) {
                colour += kLightColours[p];
            }
            drawBeam(from, to, modelview, projection, texture2Shader, -(float)t / layer.period, layer.halfWidth,
                     colour, layer.frame);
        }
    }

    for (size_t i = 0; i < projectiles.size(); ++i) {
        Projectile* q = projectiles[i];
        if (!q->inView || q->hidden) {
            continue;
        }
        unsigned int own = kPlayerColours[colourIndex(q->player)] + 0x28u;
        for (int k = 0; k < Projectile::kParticleCount; ++k) {
            const float* particle = q->particles[k];
            if (particle[0] <= 0.0f) {
                continue;
            }
            float fade = particle[0] < 1.0f ? particle[0] : 1.0f;
            bool even = k % 2 == 0;
            int frame = 0;
            unsigned int colour = 0xFFDF5030u;
            if (q->kind == 1 || q->kind == 4) {
                frame = 2;
                colour = even ? own : 0xD0D0D018u;
            } else if (q->kind == 2 || q->kind == 5) {
                colour = even ? own : 0xFFDF5030u;
            }
            drawParticle(particle + 1, frame, colour, fade, modelview, projection, texture2Shader);
        }
    }

    glDepthMask(GL_TRUE);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
}

// Three crossed squares read as a round puff from any direction; frames sit side by side in the atlas's
// last row.
void UnitManager::drawParticle(const float* position, int frame, unsigned int colour, float fade,
                               MatrixStack* modelview, MatrixStack* projection, Shader* shader) {
    const float h = 0.125f;
    const float x = position[0];
    const float y = position[1];
    const float z = position[2];
    const float vertices[36] = {
        x - h, y - h, z, x - h, y + h, z, x + h, y - h, z, x + h, y + h, z,  // flat
        x - h, y, z - h, x - h, y, z + h, x + h, y, z - h, x + h, y, z + h,  // facing y
        x, y - h, z - h, x, y - h, z + h, x, y + h, z - h, x, y + h, z + h,  // facing x
    };
    const float u0 = (float)frame * 0.25f;
    const float u1 = u0 + 0.25f;
    const float texcoords[24] = {u0, 1.0f, u0, 0.75f, u1, 1.0f, u1, 0.75f, u0, 1.0f, u0, 0.75f,
                                 u1, 1.0f, u1, 0.75f, u0, 1.0f, u0, 0.75f, u1, 1.0f, u1, 0.75f};
    float tint[4];
    unpackColour(colour, tint);
    tint[3] *= fade;
    markerStream.draw(shader, modelview, projection, tint, GL_TRIANGLE_STRIP, vertices, texcoords, 12, 4);
}

// Four ribbons along the beam, one upright, one flat and two diagonal, so it looks solid from any side.
// The texture repeats every two world units along it and slides by `scroll`.
void UnitManager::drawBeam(const float* from, const float* to, MatrixStack* modelview, MatrixStack* projection,
                           Shader* shader, float scroll, float halfWidth, unsigned int colour, int frame) {
    float dx = to[0] - from[0];
    float dy = to[1] - from[1];
    float dz = to[2] - from[2];
    float a = atan2f(dy, dx);
    float length = sqrtf(dx * dx + dy * dy + dz * dz);
    // 1.57075, a hair under a quarter turn: the side ribbons keep the slant the beams were tuned with
    const float side[3] = {cosf(a - 1.57075f) * halfWidth, sinf(a - 1.57075f) * halfWidth, 0.0f};
    const float offsets[4][3] = {
        {0.0f, 0.0f, -halfWidth},
        {side[0], side[1], 0.0f},
        {side[0], side[1], -halfWidth},
        {side[0], side[1], halfWidth},
    };
    float vertices[48];
    for (int strip = 0; strip < 4; ++strip) {
        const float* o = offsets[strip];
        float* v = vertices + strip * 12;
        for (int c = 0; c < 3; ++c) {
            v[c] = to[c] + o[c];
            v[3 + c] = to[c] - o[c];
            v[6 + c] = from[c] + o[c];
            v[9 + c] = from[c] - o[c];
        }
    }
    const float s0 = scroll;
    const float s1 = length / 2.0f + scroll;
    const float row0 = (float)frame * 0.25f;
    const float row1 = row0 + 0.25f;
    float texcoords[32];
    for (int strip = 0; strip < 4; ++strip) {
        float* uv = texcoords + strip * 8;
        uv[0] = s1;
        uv[1] = row1;
        uv[2] = s1;
        uv[3] = row0;
        uv[4] = s0;
        uv[5] = row1;
        uv[6] = s0;
        uv[7] = row0;
    }
    float tint[4];
    unpackColour(colour, tint);
    markerStream.draw(shader, modelview, projection, tint, GL_TRIANGLE_STRIP, vertices, texcoords, 16, 4);
}
