#include "app/gl_context.h"

#include <GL/glew.h>
#include <GL/glxew.h>
#include <SDL.h>
#include <SDL_syswm.h>

#include <iostream>

// Kept apart from window.cpp: X11 names its window type Window too.

namespace {

// A failed glXCreateContextAttribsARB raises an X error whose default handler ends the process;
// we want the null result instead.
bool gXErrorSeen = false;
int recordXError(Display*, XErrorEvent*) {
    gXErrorSeen = true;
    return 0;
}

// The framebuffer configuration behind the visual of SDL's window, so the new context fits the drawable.
GLXFBConfig configForWindow(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        return 0;
    }
    VisualID visual = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    GLXFBConfig* configs = glXGetFBConfigs(display, DefaultScreen(display), &count);
    GLXFBConfig found = 0;
    for (int i = 0; configs && i < count && !found; ++i) {
        int id = 0;
        glXGetFBConfigAttrib(display, configs[i], GLX_VISUAL_ID, &id);
        if ((VisualID)id == visual) {
            found = configs[i];
        }
    }
    if (configs) {
        XFree(configs);
    }
    return found;
}

}  // namespace

bool createCoreContext() {
    if (glxewIsSupported("GLX_ARB_create_context") != GL_TRUE || !glXCreateContextAttribsARB) {
        std::cerr << "No OpenGL 3.2 context available" << std::endl;
        return false;
    }

    int attributes[] = {
        GLX_CONTEXT_MAJOR_VERSION_ARB, 3,
        GLX_CONTEXT_MINOR_VERSION_ARB, 2,
        GLX_CONTEXT_FLAGS_ARB, GLX_CONTEXT_FORWARD_COMPATIBLE_BIT_ARB,
        0
    };

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    GLXContext context = 0;
    Display* display = 0;
    Window drawable = 0;
    if (SDL_GetWMInfo(&info) > 0 && info.subsystem == SDL_SYSWM_X11) {
        display = info.info.x11.display;
        drawable = info.info.x11.window;
        info.info.x11.lock_func();
        GLXFBConfig config = configForWindow(display, drawable);
        if (config) {
            XSync(display, False);
            gXErrorSeen = false;
            int (*previous)(Display*, XErrorEvent*) = XSetErrorHandler(recordXError);
            context = glXCreateContextAttribsARB(display, config, 0, True, attributes);
            XSync(display, False);
            XSetErrorHandler(previous);
            if (gXErrorSeen) {
                context = 0;
            }
        }
        info.info.x11.unlock_func();
    }
    if (!context) {
        std::cerr << "ERROR: could not create rendering context" << std::endl;
    }
    // SDL's own legacy context is left alone; it ends with SDL_Quit.
    if (display) {
        glXMakeCurrent(display, None, 0);
        if (context) {
            glXMakeCurrent(display, drawable, context);
        }
    }
    return context != 0;
}

// The drawable and connection the core context was made current on in createCoreContext.
void swapCoreContext() {
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (display && drawable) {
        glXSwapBuffers(display, drawable);
    } else {
        SDL_GL_SwapBuffers();
    }
}
