#include "app/window.h"

#include "app/gl_context.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdlib>
#include <iostream>


Window::Window(int width, int height, bool fullscreen) : ok(false), screen(0) {
    ok = false;
    SDL_putenv((char*)"SDL_VIDEO_CENTERED=center");
    // The context needs X11; without a display SDL would otherwise fall back to a text-mode driver
    // that takes over the terminal before failing. A driver the user names explicitly still wins.
    if (!std::getenv("SDL_VIDEODRIVER")) {
        SDL_putenv((char*)"SDL_VIDEODRIVER=x11");
    }
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO) < 0) {
        // A machine without a sound device still plays, silently.
        if (SDL_Init(SDL_INIT_VIDEO) < 0) {
            std::cout << "Couldn't initialize SDL: " << SDL_GetError() << std::endl;
            return;
        }
    }
    SDL_WM_SetCaption("Gelmarch", "Gelmarch");

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);

    Uint32 flags = SDL_HWSURFACE | SDL_OPENGL | SDL_DOUBLEBUF;
    if (fullscreen) {
        flags |= SDL_FULLSCREEN;
    }
    screen = SDL_SetVideoMode(width, height, 32, flags);
    if (!screen) {
        std::cout << "Couldn't set video mode " << width << "x" << height << "x32 : " << SDL_GetError() << std::endl;
        return;
    }

    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK) {
        std::cout << "Warning!!! Error in glew_init()" << std::endl;
    }

    ok = createCoreContext();
}

int Window::surfaceWidth() const {
    return screen ? screen->w : 0;
}

int Window::surfaceHeight() const {
    return screen ? screen->h : 0;
}
