#include "render/control.h"

#include "app/globals.h"
#include "render/font.h"

// Normal, enabled, unlinked and with empty texts; id 0 until the owner sets it.
Control::Control(int kind_, float x_, float y_, float w_, float h_)
    : x(x_), y(y_), w(w_), h(h_), kind((unsigned char)kind_), state(0), enabled(1), callback(0), tooltip(0),
      id(0) {}

// The title line holds the caption and the note side by side with 50 pixels between them.
void Control::fitTooltip() {
    if (!gFont) {
        return;
    }
    float below = gFont->textWidth(description, 14.0f, false) + 10.0f;
    float title = gFont->textWidth(caption, 16.0f, true) + 50.0f + gFont->textWidth(note, 16.0f, false);
    w = below > title ? below : title;
    h = 35.0f;
}

// Closed on all sides, so a pointer on the border counts.
bool Control::hits(float px, float py) const {
    return x <= px && y <= py && px <= x + w && py <= y + h;
}

// Tooltips are shown through their owner and unknown kinds are inert.
bool Control::takesMouse() const {
    return kind == 1 || kind == 3 || kind == 4 || kind == 5;
}
