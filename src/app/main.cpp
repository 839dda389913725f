#include <GL/glew.h>
#include <SDL.h>

#include <iostream>

#include "app/command_line.h"
#include "app/globals.h"
#include "app/main_menu.h"
#include "app/sound.h"
#include "app/window.h"
#include "render/font.h"

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
    // "-r 0 0" (or text instead of numbers) lets SDL pick the size; lay out for the window we really got.
    if (gScreenWidth <= 0 || gScreenHeight <= 0) {
        gScreenWidth = window.surfaceWidth();
        gScreenHeight = window.surfaceHeight();
    }

    SDL_WM_GrabInput(SDL_GRAB_ON);
    SDL_ShowCursor(SDL_DISABLE);

    openSounds();
    gFont = new Font();
    runMainMenu();

    delete gFont;
    gFont = 0;
    closeSounds();
    SDL_Quit();
    return 0;
}
