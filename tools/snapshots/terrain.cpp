// Builds both tile sets on both map sizes and writes, per map, into out/ (or the DIR argument):
//   terrain_<set>_<size>_minimap.png   the 256 x 256 minimap texture as the HUD shows it;
//   terrain_<set>_<size>_view.png      the game's opening camera (looking at (15, 15), pitch -40,
//                                      distance 14.5) with the fog of the three starting workers;
//   terrain_<set>_<size>_overview.png  a high view over the middle of the map without fog.
// set is "grass" (tile set 0) or "asteroid" (tile set 1). Run from bin/ under Xvfb.

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "read_back.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

namespace {

const int kWidth = 640;
const int kHeight = 480;

// The world camera: look at (lookX, lookY) on the ground from distance d at the given pitch and yaw,
// lifted when the eye would sink into a hill.
void placeCamera(Terrain* terrain, float lookX, float lookY, float pitch, float yaw, float d, MatrixStack& modelview,
                 MatrixStack& projection) {
    float cameraX = -lookX;
    float cameraY = -lookY;
    float cameraZ = -terrain->height(lookX, lookY);
    float p = pitch * 3.1415f / 180.0f;
    float u = yaw * 3.1415f / 180.0f;
    float r = sinf(p) * d;
    float a = sinf(u) * r;
    float b = cosf(u) * (-r);
    float c = cosf(p) * d;
    float ex = -cameraX + a;
    float ey = -cameraY - b;
    float ez = -cameraZ + c;
    float g = terrain->height(ex, ey);
    float lift = ez < g + 1.0f ? g - ez + 1.0f : 0.0f;
    modelview.loadIdentity();
    modelview.translate(0.0f, -lift, -d);
    modelview.rotate(pitch, 1.0f, 0.0f, 0.0f);
    modelview.rotate(yaw, 0.0f, 0.0f, 1.0f);
    modelview.translate(cameraX, cameraY, cameraZ);
    projection.perspective(45.0f, (float)kWidth / (float)kHeight, 0.1f, 250.0f);
}

// One frame of the 3D pass as the game sets it up, terrain only.
void drawView(Terrain* terrain, int tileSet, float lookX, float lookY, float pitch, float d, const std::string& path) {
    MatrixStack modelview(4);
    MatrixStack projection;
    Frustum frustum;
    placeCamera(terrain, lookX, lookY, pitch, 0.0f, d, modelview, projection);
    glViewport(0, 0, kWidth, kHeight);
    if (tileSet == 0) {
        glClearColor(0.2f, 0.2f, 1.0f, 0.0f);
    } else {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    }
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    frustum.extract(projection, modelview);
    terrain->draw(&modelview, &projection, &frustum);
    writePngBottomUp(path, kWidth, kHeight, readOpaquePixels(kWidth, kHeight));
    std::printf("wrote %s\n", path.c_str());
}

void saveMinimap(Terrain* terrain, const std::string& path) {
    std::vector<unsigned char> texels(256 * 256 * 4);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, terrain->minimapTexture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    for (int i = 0; i < 256 * 256; ++i) {
        texels[i * 4 + 3] = 255;
    }
    // Texel row 0 is map y = 0: bottom row first, so the picture shows y upwards like the HUD.
    writePngBottomUp(path, 256, 256, texels);
    std::printf("wrote %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    if (!ensureGlContext()) {
        std::fprintf(stderr, "no OpenGL 3.2 context\n");
        return 1;
    }
    const char* names[2] = {"grass", "asteroid"};
    for (int tileSet = 0; tileSet < 2; ++tileSet) {
        for (int size = 64; size <= 128; size *= 2) {
            Terrain* terrain = new Terrain(size, tileSet);
            std::string base = dir + "/terrain_" + names[tileSet] + "_" + std::to_string(size);
            saveMinimap(terrain, base + "_minimap.png");
            terrain->resetFog();
            terrain->revealFog(14.0f, 14.0f);
            terrain->revealFog(15.0f, 15.0f);
            terrain->revealFog(16.0f, 16.0f);
            drawView(terrain, tileSet, 15.0f, 15.0f, -40.0f, 14.5f, base + "_view.png");
            terrain->fogDisabled = true;
            terrain->resetFog();
            drawView(terrain, tileSet, size / 2.0f, size / 2.0f - 6.0f, -55.0f, size * 0.6f, base + "_overview.png");
            delete terrain;
        }
    }
    return 0;
}
