// A skirmish on a generated map drawn with the unit manager's own drawing, written to out/units.png (or
// DIR/units.png for a DIR argument). Run from bin/ under Xvfb. The human's squad (green) faces three
// computer players' units: every unit type, flyers over their ground marks, a Blob mining a crystal, a Blob
// splitting, a unit morphing, a unit sinking away after death, shots in flight with their trails, the beams
// of the continuous-damage types, destination rings and target lines of moving units, and the highlight
// ring of the unit under the pointer. The simulation runs for real for a second before the picture.
// A second picture, units_close.png, looks at the fight from nearer and lower.

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/globals.h"
#include "game/crystal.h"
#include "game/unit.h"
#include "game/unit_manager.h"
#include "game/unit_template.h"
#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "scene/terrain.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

#include "read_back.h"

namespace {

const int kWidth = 1280;
const int kHeight = 800;

// The game's camera: looking at (x, y) on the ground from `distance` away, tilted by `pitch` degrees.
void aim(MatrixStack& projection, MatrixStack& modelview, Frustum& frustum, Terrain* terrain, float x, float y,
         float distance, float pitch, float yaw) {
    projection.perspective(45.0f, (float)kWidth / (float)kHeight, 0.1f, 250.0f);
    modelview.loadIdentity();
    modelview.translate(0.0f, 0.0f, -distance);
    modelview.rotate(pitch, 1.0f, 0.0f, 0.0f);
    modelview.rotate(yaw, 0.0f, 0.0f, 1.0f);
    modelview.translate(-x, -y, -terrain->height(x, y));
    frustum.extract(projection, modelview);
}

// A unit standing on the ground (flyers at their flying height), the way the game places them.
Unit* place(UnitManager* m, Terrain* terrain, int type, float x, float y, int player) {
    float z = terrain->height(x, y) + 0.6f + (m->templates[type]->isAir ? 3.0f : 0.0f);
    return m->createUnit(type, x, y, z, player);
}

// One frame: clear, terrain, units, effects, as the world's draw does it.
void drawFrame(UnitManager* m, Terrain* terrain, MatrixStack& projection, MatrixStack& modelview,
               Frustum& frustum) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.42f, 0.58f, 0.82f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LESS);
    terrain->draw(&modelview, &projection, &frustum);
    m->drawUnits(&modelview, &projection, &frustum);
    m->drawEffects(&modelview, &projection);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "/work/main/out";
    if (!ensureGlContext()) {
        std::printf("no OpenGL 3.2 context\n");
        return 1;
    }
    OffscreenTarget target;
    if (!target.make(kWidth, kHeight)) {
        std::printf("cannot make an offscreen framebuffer\n");
        return 1;
    }
    gScreenWidth = kWidth;
    gScreenHeight = kHeight;

    Terrain* terrain = new Terrain(64, 0);
    terrain->fogDisabled = true;
    terrain->resetFog();
    srand(7);
    UnitManager* m = new UnitManager(terrain, 64);
    for (size_t i = 0; i < m->crystals.size(); ++i) {
        delete m->crystals[i];
    }
    m->crystals.clear();
    const float cx = 32.0f;
    const float cy = 32.0f;

    // a crystal cluster on the west flank, one Blob mining it, one splitting beside it
    const float cluster[3][2] = {{0.35f, 0.25f}, {-0.25f, 0.25f}, {0.15f, -0.25f}};
    for (int k = 0; k < 3; ++k) {
        float x = cx - 7.0f + cluster[k][0];
        float y = cy + 0.5f + cluster[k][1];
        m->crystals.push_back(new Crystal(x, y, terrain->height(x, y) + 0.2f));
    }
    Unit* miner = place(m, terrain, kBlob, cx - 8.5f, cy - 1.0f, 0);
    m->order(miner, kMine, m->crystals[0]);
    Unit* splitter = place(m, terrain, kBlob, cx - 6.0f, cy - 2.6f, 0);
    splitter->state = kSplit;
    splitter->progress = 0.7f;

    // the human's line: every ground type, flyers above it
    const int ownGround[6] = {kBlob, kMuffin, kDrop, kRotundus, kMonsterpillow, kSlimeTower};
    for (int i = 0; i < 6; ++i) {
        place(m, terrain, ownGround[i], cx - 4.0f + i * 1.6f, cy - 3.0f + (i % 2) * 0.5f, 0);
    }
    place(m, terrain, kFly, cx - 2.5f, cy - 1.6f, 0);
    place(m, terrain, kBomber, cx + 0.5f, cy - 1.4f, 0);
    place(m, terrain, kSlimy, cx + 3.5f, cy - 1.6f, 0);
    // a Muffin half-way into a Rotundus
    Unit* morphing = place(m, terrain, kMuffin, cx - 5.5f, cy - 4.5f, 0);
    morphing->state = kMorph;
    morphing->morphTarget = kRotundus;
    morphing->progress = 0.5f;
    // two walkers with their goals marked: a move and an attack-move
    Unit* walker = place(m, terrain, kBlob, cx + 5.5f, cy - 4.0f, 0);
    float goal[3] = {cx + 8.0f, cy - 1.0f, 0.0f};
    m->order(walker, kMove, goal);
    Unit* raider = place(m, terrain, kDrop, cx + 6.5f, cy - 5.0f, 0);
    float raid[3] = {cx + 9.0f, cy + 3.5f, 0.0f};
    m->order(raider, kAttackMove, raid);

    // three computer players across the field
    const int enemyTypes[9] = {kMuffin, kDrop, kRotundus, kMonsterpillow, kSlimeTower, kBlob, kFly, kBomber, kSlimy};
    for (int i = 0; i < 9; ++i) {
        int player = 1 + i % 3;
        place(m, terrain, enemyTypes[i], cx - 4.5f + i * 1.2f, cy + 1.2f + (i % 2) * 0.6f, player);
    }
    // the one that is about to die, so it sinks away in the picture
    Unit* doomed = place(m, terrain, kRotundus, cx + 6.0f, cy + 1.0f, 2);

    MatrixStack projection;
    MatrixStack modelview(8);
    Frustum frustum;
    aim(projection, modelview, frustum, terrain, cx, cy, 15.0f, -52.0f, 0.0f);

    // one second of real play at 60 frames a second: shots fly, beams burn, the crystal is mined
    for (int frame = 0; frame < 60; ++frame) {
        if (frame == 40) {
            doomed->life = -1.0f;  // below what one frame of regeneration gives back
        }
        // keep the split and the morph on screen however long the picture takes
        splitter->progress = 0.7f;
        morphing->progress = 0.5f;
        m->update(16);
        // hover the first enemy Drop: the pointer's highlight ring
        Unit* hovered = m->units[m->units.size() - 9];
        for (int k = 0; k < 3; ++k) {
            gPickPoint[k] = hovered->position[k];
        }
        drawFrame(m, terrain, projection, modelview, frustum);
    }
    bool ok = saveOpaqueFrame(dir + "/units.png", kWidth, kHeight);

    aim(projection, modelview, frustum, terrain, cx + 0.5f, cy - 0.5f, 8.0f, -60.0f, 20.0f);
    m->update(16);
    drawFrame(m, terrain, projection, modelview, frustum);
    ok = saveOpaqueFrame(dir + "/units_close.png", kWidth, kHeight) && ok;

    delete m;
    delete terrain;
    target.release();
    GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        std::printf("GL error 0x%x\n", error);
        return 1;
    }
    return ok ? 0 : 1;
}
