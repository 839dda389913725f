// The benchmark's match frame as pictures, to compare a speed change before and after: a 128 map with
// three enemies, 60 of the human's fighters in front of the camera (half of them walking, with their target
// lines), the HUD with the option list, at 1024 x 768, once per render option switched away from its
// default (out/frame_T_OPTION.png, T the tile set), plus the view tilted up to the horizon
// (out/frame_T_horizon.png). The map is drawn from rand() seeded by the clock, so two runs show the same
// map only when the clock reads the same (run both under one fixed time to compare them pixel for pixel).
// Run from bin/ under Xvfb:
//   cd bin && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ../build/tools/snapshots/snapshot_frame ../out

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "app/command_panel.h"
#include "app/globals.h"
#include "app/world.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "render/font.h"
#include "scene/blob_mesh.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

#include "read_back.h"

namespace {

const int kWidth = 1024;
const int kHeight = 768;

// The frame as the game loop draws it: its clear and 3D state, then the world's drawing.
void drawFrame(World& world) {
    glViewport(0, 0, kWidth, kHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    world.draw(false);
}

// Every picture of one tile set; each option is switched back before the next one.
void shots(const std::string& dir, int tileSet) {
    World world(128, 3, 1, tileSet);
    gWorld = &world;
    createCommandPanel(world.canvas);
    rebuildCommandPanel();
    UnitManager* m = world.unitManager;
    float cx = -world.cameraX;
    float cy = -world.cameraY;
    for (int i = 0; i < 60; ++i) {
        float x = cx - 4.0f + (float)(i % 8);
        float y = cy - 2.0f + (float)(i / 8);
        Unit* u = m->createUnit(i % 2 == 0 ? 1 : 2, x, y, world.terrain->height(x, y), 0);
        if (i % 2 == 0) {
            float to[3] = {x + 6.0f, y + 9.0f, world.terrain->height(x + 6.0f, y + 9.0f)};
            m->order(u, kMove, to);
        }
    }
    world.showInfo = true;
    world.update(16);
    std::string prefix = dir + "/frame_" + std::to_string(tileSet) + "_";
    auto shoot = [&](const char* name) {
        drawFrame(world);
        saveOpaqueFrame(prefix + name, kWidth, kHeight);
    };
    shoot("default.png");

    world.wireframe = true;
    shoot("wireframe.png");
    world.wireframe = false;
    world.toggleLinearFilter();
    shoot("nearest.png");
    world.toggleLinearFilter();
    world.toggleMipmapping();
    shoot("no_mipmaps.png");
    world.toggleMipmapping();
    m->showTargetLines = false;
    shoot("no_target_lines.png");
    m->showTargetLines = true;
    // 2 -> 4 -> ... -> back to 1: pictures at 4x and at 1 (off).
    world.cycleAnisotropy();
    shoot("anisotropy4.png");
    while (world.anisotropy != 1) {
        world.cycleAnisotropy();
    }
    shoot("anisotropy1.png");
    world.cycleAnisotropy();
    world.toggleFrustumCulling();
    shoot("no_culling.png");
    world.toggleFrustumCulling();
    m->blobMesh->transparent = false;
    shoot("opaque_blobs.png");
    m->blobMesh->transparent = true;

    world.cameraPitch = -100.0f;
    world.cameraYaw = 30.0f;
    shoot("horizon.png");
    destroyCommandPanel();
    gWorld = 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    if (!ensureGlContext()) {
        return 1;
    }
    OffscreenTarget target;
    if (!target.make(kWidth, kHeight)) {
        return 1;
    }
    gScreenWidth = kWidth;
    gScreenHeight = kHeight;
    gFont = new Font();
    shots(dir, 0);
    shots(dir, 1);
    delete gFont;
    gFont = 0;
    target.release();
    return 0;
}
