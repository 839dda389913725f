#include "render/control.h"

#include "app/globals.h"
#include "render/canvas.h"
#include "render/font.h"

namespace {

const unsigned int kTextColour = 0xDFFFDFFF;

// Tooltips are drawn by the hovered button they belong to; only plain and command buttons have them.
bool showsTooltip(const Control* control) {
    return (control->kind == 1 || control->kind == 3) && control->state > 0 && control->tooltip;
}

}  // namespace

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

// Not owned: the screen that made the control deletes it.
void Canvas::addControl(Control* control) {
    controls.push_back(control);
}

// Three passes so that every box lies under every picture and every text lies on top.
void Canvas::drawControls(MatrixStack* projection) {
    std::list<Control*>::iterator it;
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 1) {
            drawButtonBox(c->x, c->y, c->w, c->h, c->state, projection);
        }
        if (showsTooltip(c)) {
            Control* t = c->tooltip;
            drawButtonBox(t->x, t->y, t->w, t->h, 0, projection);
        }
    }
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 3) {
            drawInterfacePart(c->x - 4.0f, c->y - 4.0f, c->w + 8.0f, c->h + 8.0f, (float)(c->state * 60 - 4),
                              (float)(342 - c->enabled * 60), projection);
        } else if (c->kind == 4) {
            drawInterfacePart(c->x - 10.0f, c->y - 12.0f, 170.0f, 60.0f, 335.0f, (float)(279 + c->state * 70),
                              projection);
        } else if (c->kind == 5) {
            drawInterfacePart(c->x - 10.0f, c->y - 12.0f, 153.0f, 46.0f, 153.0f, (float)(281 + c->state * 70),
                              projection);
        }
    }
    if (!gFont) {
        return;
    }
    gFont->begin2D();
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 1 || c->kind == 4 || c->kind == 5) {
            gFont->drawTextShadowed(c->caption, c->x + c->w / 2.0f, c->y + c->h / 2.0f - 7.0f, 16.0f, kTextColour,
                                    false, 1, projection);
        } else if (c->kind == 3) {
            unsigned int colour = 0xDFFFDF8Fu + 0x70u * (unsigned int)c->enabled;
            gFont->drawTextShadowed(c->caption, c->x + c->w / 2.0f, c->y + c->h / 2.0f - 15.0f, 32.0f, colour,
                                    false, 1, projection);
        }
        if (showsTooltip(c)) {
            Control* t = c->tooltip;
            gFont->drawTextShadowed(t->description, t->x + 4.0f, t->y + 2.0f, 14.0f, kTextColour, false, 0,
                                    projection);
            gFont->drawTextShadowed(t->caption, t->x + 4.0f, t->y + 18.0f, 16.0f, kTextColour, true, 0,
                                    projection);
            gFont->drawTextShadowed(t->note, t->x + t->w - 4.0f, t->y + 18.0f, 16.0f, kTextColour, false, 2,
                                    projection);
        }
    }
}

// A hovered state lasts until the next motion, also when the mouse leaves the window.
bool Canvas::mouseMove(float x, float y) {
    bool over = false;
    for (std::list<Control*>::iterator it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (!c->takesMouse()) {
            continue;
        }
        c->state = 0;
        if (c->hits(x, y)) {
            c->state = 1;
            over = true;
        }
    }
    return over;
}

// Every control under the point fires, also where controls overlap; a callback may not remove controls
// from this canvas's list.
bool Canvas::mouseClick(float x, float y) {
    bool clicked = false;
    for (std::list<Control*>::iterator it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->takesMouse() && c->hits(x, y) && c->callback) {
            c->callback(c);
            clicked = true;
        }
    }
    return clicked;
}
