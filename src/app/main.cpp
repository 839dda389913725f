#include <GL/glew.h>
#include <SDL.h>

#include <iostream>

#include "app/command_line.h"
#include "app/globals.h"
#include "app/sound.h"
#include "app/window.h"
#include "render/font.h"

namespace {

// Stands in for the main menu: clears the window each frame until Escape or a close request.
void runBlankLoop() {
    bool running = true;
    while (running) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) {
                running = false;
            } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
                running = false;
            }
        }
        glClearColor(0.05f, 0.08f, 0.12f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapBuffers();
        SDL_Delay(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    LaunchOptions options = parseCommandLine(argc, argv);
    if (options.exitNow) {
        return 0;
    }

    Window window(options.width, options.height, options.fullscreen);
    if (!window.isOk()) {
        std::cerr << "Failed to create desired OpenGL window - exitting..." << std::endl;
        SDL_Quit();
        return 1;
    }
    gScreenWidth = options.width;
    gScreenHeight = options.height;

    SDL_WM_GrabInput(SDL_GRAB_ON);
    SDL_ShowCursor(SDL_DISABLE);

    openSounds();
    gFont = new Font();
    runBlankLoop();

    delete gFont;
    gFont = 0;
    closeSounds();
    SDL_Quit();
    return 0;
}
