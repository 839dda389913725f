#ifndef GELMARCH_RENDER_CONTROL_H
#define GELMARCH_RENDER_CONTROL_H

#include <string>

// One clickable element of a screen, kept (not owned) in its Canvas's control list. Kinds: 1 plain button,
// 2 tooltip (drawn only through the control it belongs to), 3 command button, 4 menu action button,
// 5 menu option button; any other kind is neither drawn nor hit-tested. Drawing and the mouse rules are
// the Canvas's (addControl, drawControls, mouseMove, mouseClick).
class Control {
public:
    typedef void (*Callback)(Control* control);

    Control(int kind, float x, float y, float w, float h);

    // For a tooltip: sizes it to its texts in the global font (title bold 16 with the note beside it,
    // description regular 14 below), height 35. Without a global font it keeps its size.
    void fitTooltip();
    // All four edges belong to the control.
    bool hits(float px, float py) const;
    // Kinds 1, 3, 4 and 5 answer the mouse.
    bool takesMouse() const;

    float x, y, w, h;
    unsigned char kind;
    std::string caption;
    std::string description;
    std::string note;
    int state;       // 0 normal, 1 under the mouse; the button drawing also knows 2 (pressed)
    int enabled;     // only command buttons show it; clicks are not filtered by it
    Callback callback;
    Control* tooltip;
    int id;          // free for the owner
};

#endif
