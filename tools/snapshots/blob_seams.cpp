// Close-ups for checking that blob bodies hold together, written to DIR (default ../out) with the name
// prefix PREFIX (default "now"). Run from bin/ under Xvfb:
//   ../build/tools/snapshots/snapshot_blob_seams ../out now
// <prefix>_seam_<shape>.png    Muffin and Slimy seen from the game's camera direction (pitch -40), turned so
//                              that the side where the grid closes (+x) faces the camera at an angle, at
//                              grid sizes 19, 20, 21 and 9 (left to right), 256 px each, on magenta.
// <prefix>_morph_end.png       for each morph of the unit tree (rows), at the default zoom: the last frame
//                              of the morph and the first frame after it.

#include <GL/glew.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/blob_mesh.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

#include "read_back.h"

namespace {

const float kDegrees = 3.14159265f / 180.0f;

// One blob of shape `model` at grid size n (picked through the camera's distance), in a size x size tile.
void drawAtGridSize(BlobMesh* mesh, int model, int n, int left, int size) {
    float ratio = powf(n == 31 ? 0.95f : 31.5f - n, 1.0f / 0.95f);
    float distance = 0.1f + ratio;
    MatrixStack projection;
    MatrixStack modelview(4);
    projection.perspective(2.0f * asinf(0.7f / distance) / kDegrees, 1.0f, 0.1f, 100.0f);
    modelview.translate(0.0f, 0.0f, -distance);
    modelview.rotate(-50.0f, 1.0f, 0.0f, 0.0f);
    modelview.rotate(70.0f, 0.0f, 0.0f, 1.0f);
    Frustum frustum;
    frustum.extract(projection, modelview);
    glViewport(left, 0, size, size);
    mesh->draw(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.03f, model, 0, 2000, &projection, &modelview, &frustum);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    std::string prefix = argc > 2 ? argv[2] : "now";
    if (!ensureGlContext()) {
        std::fprintf(stderr, "no OpenGL 3.2 context\n");
        return 1;
    }
    OffscreenTarget target;
    if (!target.make(1024, 1024)) {
        std::fprintf(stderr, "no offscreen target\n");
        return 1;
    }
    BlobMesh* mesh = new BlobMesh();
    mesh->transparent = false;
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);

    const int shapes[2] = {3, 7};
    const char* names[2] = {"muffin", "slimy"};
    const int sizes[4] = {19, 20, 21, 9};
    for (int s = 0; s < 2; ++s) {
        glViewport(0, 0, 1024, 256);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int k = 0; k < 4; ++k) {
            drawAtGridSize(mesh, shapes[s], sizes[k], k * 256, 256);
        }
        saveOpaqueFrame(dir + "/" + prefix + "_seam_" + names[s] + ".png", 1024, 256);
    }

    // the game's camera on a 1024 x 768 window, the middle 128 x 128 pixels of it per frame
    std::vector<UnitTemplate*> types;
    createUnitTemplates(types);
    MatrixStack projection;
    MatrixStack modelview(4);
    projection.perspective(2.0f * atanf(tanf(22.5f * kDegrees) * 128.0f / 768.0f) / kDegrees, 1.0f, 0.1f, 250.0f);
    modelview.translate(0.0f, 0.0f, -14.5f);
    modelview.rotate(-40.0f, 1.0f, 0.0f, 0.0f);
    Frustum frustum;
    frustum.extract(projection, modelview);
    glViewport(0, 0, 256, 1024);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    int row = 0;
    for (UnitTemplate* from : types) {
        for (int target : from->morphTargets) {
            if (target < 0) {
                continue;
            }
            const UnitTemplate* to = types[target];
            glViewport(0, 1024 - 128 * (row + 1), 128, 128);
            mesh->drawMorph(0.0f, 0.0f, 0.0f, from->size, from->heightScale, to->size, to->heightScale, from->shape,
                            to->shape, 0, 2000, &projection, &modelview, 1.0f, &frustum);
            glViewport(128, 1024 - 128 * (row + 1), 128, 128);
            mesh->draw(0.0f, 0.0f, 0.0f, to->size, to->heightScale, 0.03f, to->shape, 0, 2000, &projection,
                       &modelview, &frustum);
            std::printf("row %d: %s into %s\n", row, from->name.c_str(), to->name.c_str());
            ++row;
        }
    }
    saveOpaqueFrame(dir + "/" + prefix + "_morph_end.png", 256, 1024);
    for (UnitTemplate* type : types) {
        delete type;
    }
    delete mesh;
    target.release();
    return 0;
}
