#ifndef GELMARCH_APP_WINDOW_H
#define GELMARCH_APP_WINDOW_H

#include "render/gl_error.h"

struct SDL_Surface;

// The one window: SDL 1.2 video mode with a legacy GL context, GLEW on it, then a forward-compatible
// OpenGL 3.2 context made current on the same X11 window. Failures print their line and leave ok false.
class Window {
public:
    Window(int width, int height, bool fullscreen);
    bool isOk() const { return ok; }
    // The size SDL actually gave the surface (0 x 0 without one).
    int surfaceWidth() const;
    int surfaceHeight() const;

private:
    bool ok;
    SDL_Surface* screen;
};

#endif
