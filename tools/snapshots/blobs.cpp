// Draws every blob shape the way the game does and writes three pictures to out/ (or to DIR for a DIR
// argument). Run from bin/ under Xvfb.
// blob_gallery.png, tiles of 128 px, top to bottom:
//   rows 1-4   the nine unit types (Blob, Muffin, Drop, Rotundus, Monsterpillow, Slime Tower, Fly, Bomber,
//              Slimy) at rest in the colours of players 0-3, and a crystal with its glow in the last column;
//   row 5      the same types moving (strong wobble) for player 0, a crystal being mined;
//   rows 6-9   every morph of the unit tree at mix 0, 0.25, 0.5, 0.75, 1, two morphs per row:
//              Blob>Muffin, Blob>Slime Tower / Muffin>Drop, Muffin>Rotundus / Muffin>Fly,
//              Rotundus>Monsterpillow / Fly>Bomber, Fly>Slimy;
//   row 10     a dying Rotundus of player 1 (fade 1, 0.8, 0.6, 0.4, 0.2), then a dying Blob of player 2
//              while mining (code 6) the same way;
//   row 11     Blob, Muffin, Drop, Monsterpillow, Slimy drawn opaque, then the same five transparent, on stripes.
// blob_closeups.png: the nine types and a crystal large, two rows of five.
// blob_scene.png: squads of two players, flyers and a crystal field on a generated map under the game's
// camera (pitch -40, distance 12).

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/blob_mesh.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

namespace {

struct TypeLook {
    int shape;
    float size;
    float height;
};

// The nine unit types' shape, size and height scale, in type order.
const TypeLook kTypes[9] = {
    {0, 0.9f, 1.2f}, {3, 1.0f, 0.7f}, {2, 1.0f, 1.2f}, {5, 1.1f, 1.1f}, {6, 1.6f, 0.7f},
    {6, 1.0f, 1.7f}, {1, 0.65f, 1.1f}, {4, 1.3f, 0.9f}, {7, 0.65f, 1.0f},
};

// The morphs of the unit tree as (from type, to type).
const int kMorphs[8][2] = {{0, 1}, {0, 5}, {1, 2}, {1, 3}, {1, 6}, {3, 4}, {6, 7}, {6, 8}};

// A picture of tiles: its tile size and row count, and the camera of the tile being drawn.
struct Sheet {
    int tile;
    int rows;
    MatrixStack projection;
    MatrixStack modelview;
    Frustum frustum;
    Sheet(int tile, int rows) : tile(tile), rows(rows), modelview(8) {}
};

// Points the camera of tile (column, row, counted from the top) at the middle of a unit of height h
// standing at (x, y, z), looking down at it the way the game camera does, and sets the tile's viewport.
void aimAt(Sheet& sheet, int column, int row, float x, float y, float z, float h) {
    glViewport(column * sheet.tile, (sheet.rows - 1 - row) * sheet.tile, sheet.tile, sheet.tile);
    sheet.projection.perspective(38.0f, 1.0f, 0.5f, 100.0f);
    sheet.modelview.loadIdentity();
    sheet.modelview.translate(0.0f, 0.0f, -3.4f);
    sheet.modelview.rotate(-40.0f, 1.0f, 0.0f, 0.0f);
    sheet.modelview.translate(-x, -y, -(z - 0.5f + h * 0.5f));
    sheet.frustum.extract(sheet.projection, sheet.modelview);
}

// Clears one tile to a ground-like backdrop; `stripes` paints bands so see-through bodies show it.
void backdrop(const Sheet& sheet, int column, int row, bool stripes) {
    glEnable(GL_SCISSOR_TEST);
    int left = column * sheet.tile;
    int bottom = (sheet.rows - 1 - row) * sheet.tile;
    glScissor(left, bottom, sheet.tile, sheet.tile);
    float shade = ((column + row) % 2 == 0) ? 0.0f : 0.025f;
    glClearColor(0.23f + shade, 0.26f + shade, 0.2f + shade, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (stripes) {
        for (int band = 0; band < sheet.tile; band += 16) {
            glScissor(left + band, bottom, 8, sheet.tile);
            glClearColor(0.85f, 0.82f, 0.7f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    glDisable(GL_SCISSOR_TEST);
}

// A crystal as the game draws it: a magenta gem and an additive glow around it.
void drawCrystal(BlobMesh* mesh, Sheet& sheet, float x, float y, float z, int glowCode) {
    mesh->draw(x, y, z, 0.5f, 0.5f, 1.0f, 5, 80, 0, &sheet.projection, &sheet.modelview, &sheet.frustum);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    mesh->draw(x, y, z, 0.53f, 0.53f, 1.0f, 5, glowCode, 0, &sheet.projection, &sheet.modelview, &sheet.frustum);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// Renders `drawing` into an offscreen colour + depth target of the given size and writes it, opaque
// (blending leaves alpha below 1), to `path`. The 3D pass state is set for the drawing.
template <class Drawing>
bool picture(const std::string& path, int width, int height, Drawing drawing) {
    OffscreenTarget target;
    bool ok = target.make(width, height);
    if (ok) {
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        glDepthFunc(GL_LESS);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        drawing();
        std::vector<unsigned char> pixels(width * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (size_t i = 3; i < pixels.size(); i += 4) {
            pixels[i] = 255;
        }
        ok = writePngBottomUp(path, width, height, pixels);
    }
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    target.release();
    return ok;
}

// The tiles of blob_gallery.png (see the top of the file).
void drawGallery(BlobMesh* mesh) {
    Sheet sheet(128, 11);
    const int time = 123456;
    // Rows 1-5: every type per player at rest, then moving.
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 10; ++column) {
            backdrop(sheet, column, row, false);
            float x = 5.0f + column * 3.0f;
            float y = 5.0f + row * 3.0f;
            aimAt(sheet, column, row, x, y, 0.5f, column == 9 ? 0.5f : kTypes[column].height);
            if (column == 9) {
                drawCrystal(mesh, sheet, x, y, 0.5f, row == 4 ? 70 : 20);
                continue;
            }
            const TypeLook& t = kTypes[column];
            mesh->draw(x, y, 0.5f, t.size, t.height, row == 4 ? 0.12f : 0.03f, t.shape, row == 4 ? 0 : row,
                       time + row * 170, &sheet.projection, &sheet.modelview, &sheet.frustum);
        }
    }
    // Rows 6-9: morph sequences, two per row.
    for (int m = 0; m < 8; ++m) {
        const TypeLook& a = kTypes[kMorphs[m][0]];
        const TypeLook& b = kTypes[kMorphs[m][1]];
        for (int i = 0; i < 5; ++i) {
            int column = (m % 2) * 5 + i;
            int row = 5 + m / 2;
            float x = 7.0f + m * 1.5f;
            backdrop(sheet, column, row, false);
            aimAt(sheet, column, row, x, 9.0f, 0.5f, a.height);
            mesh->drawMorph(x, 9.0f, 0.5f, a.size, a.height, b.size, b.height, a.shape, b.shape, m % 4, time,
                            &sheet.projection, &sheet.modelview, i * 0.25f, &sheet.frustum);
        }
    }
    // Row 10: dying sequences, shrinking the way unit drawing shrinks them.
    for (int column = 0; column < 10; ++column) {
        float progress = (column % 5) * 0.2f;
        const TypeLook& t = kTypes[column < 5 ? 3 : 0];
        float x = 4.0f + column * 2.0f;
        backdrop(sheet, column, 9, false);
        aimAt(sheet, column, 9, x, 11.0f, 0.5f, t.height);
        mesh->drawDying(x, 11.0f, 0.5f, 1.0f - progress, (1.0f - progress / 4.0f) * t.size,
                        (1.0f - progress / 2.0f) * t.height, 0.03f, t.shape, column < 5 ? 1 : 6, time,
                        &sheet.projection, &sheet.modelview, &sheet.frustum);
    }
    // Row 11: opaque against transparent over a striped backdrop.
    const int seeThrough[5] = {0, 1, 2, 4, 8};
    for (int column = 0; column < 10; ++column) {
        const TypeLook& t = kTypes[seeThrough[column % 5]];
        float x = 6.0f + column * 2.0f;
        backdrop(sheet, column, 10, true);
        aimAt(sheet, column, 10, x, 13.0f, 0.5f, t.height);
        mesh->transparent = column >= 5;
        mesh->draw(x, 13.0f, 0.5f, t.size, t.height, 0.03f, t.shape, column % 4, time, &sheet.projection,
                   &sheet.modelview, &sheet.frustum);
    }
    mesh->transparent = true;
}

// The nine types and a crystal, large.
void drawCloseups(BlobMesh* mesh) {
    Sheet sheet(256, 2);
    for (int i = 0; i < 10; ++i) {
        int column = i % 5;
        int row = i / 5;
        float x = 3.0f + i * 2.0f;
        backdrop(sheet, column, row, false);
        if (i == 9) {
            aimAt(sheet, column, row, x, 20.0f, 0.5f, 1.0f);
            drawCrystal(mesh, sheet, x, 20.0f, 0.5f, 50);
            continue;
        }
        const TypeLook& t = kTypes[i];
        aimAt(sheet, column, row, x, 20.0f, 0.5f, t.height);
        mesh->draw(x, 20.0f, 0.5f, t.size, t.height, 0.03f, t.shape, 0, 40000 + i * 333, &sheet.projection,
                   &sheet.modelview, &sheet.frustum);
    }
}

struct Placed {
    float x, y, z;
    int type;
    int player;
    float depth;
};

bool fartherFirst(const Placed& a, const Placed& b) {
    return a.depth > b.depth;
}

// Units on real ground, seen the way a player sees them, far ones first as the game sorts them.
void drawScene(BlobMesh* mesh, int width, int height) {
    Terrain* terrain = new Terrain(64, 0);
    terrain->fogDisabled = true;
    terrain->resetFog();
    const float lookX = 32.0f;
    const float lookY = 32.0f;
    Sheet camera(0, 0);
    camera.projection.perspective(45.0f, (float)width / (float)height, 0.1f, 250.0f);
    camera.modelview.loadIdentity();
    camera.modelview.translate(0.0f, 0.0f, -12.0f);
    camera.modelview.rotate(-40.0f, 1.0f, 0.0f, 0.0f);
    camera.modelview.translate(-lookX, -lookY, -terrain->height(lookX, lookY));
    camera.frustum.extract(camera.projection, camera.modelview);
    glViewport(0, 0, width, height);
    glClearColor(0.45f, 0.6f, 0.85f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    terrain->draw(&camera.modelview, &camera.projection, &camera.frustum);

    // two squads facing each other, every type, flyers above them
    std::vector<Placed> units;
    for (int i = 0; i < 9; ++i) {
        for (int side = 0; side < 2; ++side) {
            Placed u;
            u.type = i;
            u.player = side == 0 ? 0 : 1 + i % 3;
            u.x = lookX - 5.6f + i * 1.4f;
            u.y = lookY - 2.6f + side * 2.6f + (i % 2) * 0.5f;
            u.z = terrain->height(u.x, u.y) + 0.5f + (i >= 6 ? 1.3f : 0.0f);
            u.depth = camera.frustum.distance(u.x, u.y, u.z, kPlaneNear);
            units.push_back(u);
        }
    }
    std::sort(units.begin(), units.end(), fartherFirst);
    for (size_t i = 0; i < units.size(); ++i) {
        const Placed& u = units[i];
        const TypeLook& t = kTypes[u.type];
        if (u.type == 0 && u.player == 0) {
            // one worker half-way into a muffin
            const TypeLook& to = kTypes[1];
            mesh->drawMorph(u.x, u.y, u.z, t.size, t.height, to.size, to.height, t.shape, to.shape, u.player, 51000,
                            &camera.projection, &camera.modelview, 0.5f, &camera.frustum);
        } else {
            mesh->draw(u.x, u.y, u.z, t.size, t.height, u.type % 2 ? 0.12f : 0.03f, t.shape, u.player,
                       51000 + i * 90, &camera.projection, &camera.modelview, &camera.frustum);
        }
    }
    for (int i = 0; i < 6; ++i) {
        float x = lookX - 2.0f + (i % 3) * 0.8f + (i / 3) * 0.4f;
        float y = lookY + 3.5f + (i / 3) * 0.7f;
        drawCrystal(mesh, camera, x, y, terrain->height(x, y) + 0.25f, 20 + i * 8);
    }
    delete terrain;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "/work/main/out";
    if (!ensureGlContext()) {
        std::printf("no OpenGL 3.2 context\n");
        return 1;
    }
    BlobMesh* mesh = new BlobMesh();
    bool ok = picture(dir + "/blob_gallery.png", 1280, 1408, [&] { drawGallery(mesh); });
    ok = picture(dir + "/blob_closeups.png", 1280, 512, [&] { drawCloseups(mesh); }) && ok;
    ok = picture(dir + "/blob_scene.png", 1024, 768, [&] { drawScene(mesh, 1024, 768); }) && ok;
    delete mesh;
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::printf("GL error 0x%x\n", error);
        return 1;
    }
    return ok ? 0 : 1;
}
