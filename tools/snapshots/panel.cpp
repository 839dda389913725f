// Draws one panel of everything the 2D layer offers and writes it to out/panel.png (or DIR/panel.png):
// the HUD background, rectangles and button boxes in every state, minimap markers of every kind, text in
// every size and both weights with the three alignments and the icon glyphs, and a row of GUI controls
// (plain buttons, command buttons enabled, hovered and disabled with a tooltip, menu buttons).
// Run from bin/ under Xvfb with the generated art in bin/textures:
//   cd bin && xvfb-run -a -s "-screen 0 1280x1024x24" ../build/tools/snapshots/snapshot_panel ../out

#include <GL/glew.h>

#include <cstdio>
#include <string>

#include "app/globals.h"
#include "app/window.h"
#include "render/canvas.h"
#include "render/control.h"
#include "render/font.h"
#include "render/matrix_stack.h"
#include "support/png_snapshot.h"

namespace {

const int kWidth = 1024;
const int kHeight = 640;
const unsigned int kWhite = 0xFFFFFFFF;
const unsigned int kLabel = 0xDFFFDFFF;

// Thin vertical guide so the three alignments can be judged against their anchor.
void guide(Canvas* canvas, float x, float y, float h, MatrixStack* projection) {
    canvas->drawRect(x, y, 1.0f, h, 0xFF4040FF, false, projection);
}

void drawShapes(Canvas* canvas, MatrixStack* projection) {
    float y = 560.0f;
    canvas->drawRect(20.0f, y, 60.0f, 40.0f, 0xD04040FF, false, projection);
    canvas->drawRect(60.0f, y - 20.0f, 60.0f, 40.0f, 0x4060FF80, false, projection);
    canvas->drawRect(140.0f, y, 60.0f, 40.0f, 0xFFFF40FF, true, projection);
    for (int state = -1; state <= 2; ++state) {
        canvas->drawButtonBox(220.0f + (float)(state + 1) * 70.0f, y, 60.0f, 40.0f, state, projection);
    }
    canvas->drawFrame(500.0f, y, 60.0f, 40.0f, 0, projection);
    canvas->drawFrame(570.0f, y, 60.0f, 40.0f, 1, projection);
    for (int kind = 0; kind <= 5; ++kind) {
        float x = 660.0f + (float)kind * 14.0f;
        canvas->drawMarker(x, y + 20.0f, kind, projection);
        canvas->drawMarker(x, y + 10.0f, kind, projection);
    }
    // The font image itself, as drawTexture shows a texture.
    canvas->drawTexture(760.0f, 440.0f, 160.0f, 160.0f, projection, gFont->texture);
}

void drawTexts(Font* font, Canvas* canvas, MatrixStack* projection) {
    canvas->begin2D();
    guide(canvas, 840.0f, 300.0f, 120.0f, projection);
    canvas->end2D();
    font->begin2D();
    const float sizes[] = {12.0f, 14.0f, 16.0f, 18.0f, 24.0f, 32.0f};
    float y = 500.0f;
    for (float size : sizes) {
        char label[64];
        std::snprintf(label, sizeof(label), "Size %g: Blobs 0123456789", size);
        font->drawTextShadowed(label, 20.0f, y, size, kWhite, false, 0, projection);
        font->drawTextShadowed(label, 390.0f, y, size, kLabel, true, 0, projection);
        y -= size + 6.0f;
    }
    font->drawText("The quick brown fox jumps over the lazy dog!", 20.0f, y - 4.0f, 16.0f, 0xFFD040FF, false, 0,
                   projection);
    std::string icons;
    for (int c = 1; c < 32; ++c) {
        icons += (char)c;
    }
    font->drawText(icons, 20.0f, y - 40.0f, 24.0f, kWhite, false, 0, projection);
    font->drawText(icons, 20.0f, y - 66.0f, 24.0f, kWhite, true, 0, projection);
    font->drawTextShadowed("left", 840.0f, 390.0f, 18.0f, kWhite, false, 0, projection);
    font->drawTextShadowed("centred", 840.0f, 360.0f, 18.0f, kWhite, false, 1, projection);
    font->drawTextShadowed("right", 840.0f, 330.0f, 18.0f, kWhite, false, 2, projection);
    font->drawTextShadowed("half alpha", 840.0f, 300.0f, 18.0f, 0xFFFFFF80, true, 1, projection);
    font->end2D();
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : "../out";
    Window window(kWidth, kHeight, false);
    if (!window.isOk()) {
        std::fprintf(stderr, "no OpenGL 3.2 context\n");
        return 1;
    }
    gScreenWidth = kWidth;
    gScreenHeight = kHeight;
    gFont = new Font();
    Canvas* canvas = new Canvas();
    MatrixStack projection;
    projection.ortho(0.0f, (float)kWidth, 0.0f, (float)kHeight, 1.0f, -1.0f);

    Control plain(1, 300.0f, 240.0f, 120.0f, 30.0f);
    plain.caption = "Plain button";
    Control hovered(1, 440.0f, 240.0f, 120.0f, 30.0f);
    hovered.caption = "Hovered";
    Control tip(2, 0.0f, 0.0f, 0.0f, 0.0f);
    tip.caption = "Split";
    tip.note = "\x1c" "50";
    tip.description = "Divides the blob into two workers.";
    tip.fitTooltip();
    tip.x = (float)kWidth - tip.w - 10.0f;
    tip.y = 222.0f;
    Control commands[3] = {Control(3, 620.0f, 130.0f, 50.0f, 50.0f), Control(3, 680.0f, 130.0f, 50.0f, 50.0f),
                           Control(3, 740.0f, 130.0f, 50.0f, 50.0f)};
    commands[0].caption = "\x1f";
    commands[1].caption = "\x1c";
    commands[1].tooltip = &tip;
    commands[2].caption = "\x1d";
    commands[2].enabled = 0;
    Control action(4, 300.0f, 150.0f, 150.0f, 36.0f);
    action.caption = "Start game";
    Control option(5, 470.0f, 150.0f, 125.0f, 25.0f);
    option.caption = "128 x 128";
    canvas->addControl(&plain);
    canvas->addControl(&hovered);
    canvas->addControl(&commands[0]);
    canvas->addControl(&commands[1]);
    canvas->addControl(&commands[2]);
    canvas->addControl(&action);
    canvas->addControl(&option);
    canvas->mouseMove(500.0f, 255.0f);  // hovers the second plain button
    commands[1].state = 1;

    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0.12f, 0.14f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    canvas->begin2D();
    canvas->drawInterface(&projection);
    drawShapes(canvas, &projection);
    canvas->drawControls(&projection);
    canvas->end2D();
    drawTexts(gFont, canvas, &projection);

    std::string path = dir + "/panel.png";
    bool ok = saveFramebufferPng(path, 0, 0, kWidth, kHeight);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    checkGlError();

    delete canvas;
    delete gFont;
    gFont = 0;
    return ok ? 0 : 1;
}
