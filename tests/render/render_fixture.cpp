#include "render_fixture.h"

#include <GL/glew.h>
#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "support/png_snapshot.h"

#ifndef GELMARCH_SOURCE_DIR
#define GELMARCH_SOURCE_DIR "."
#endif

ScratchDir::ScratchDir(bool linkShaders) : inside(false) {
    char pattern[] = "/tmp/gelmarch_render_XXXXXX";
    const char* made = mkdtemp(pattern);
    root = made ? made : "/tmp";
    std::filesystem::create_directories(root + "/bin/textures/font");
    std::filesystem::create_directories(root + "/bin/textures/other");
    std::error_code ignored;
    if (linkShaders) {
        std::filesystem::create_directory_symlink(std::string(GELMARCH_SOURCE_DIR) + "/shader", root + "/shader",
                                                  ignored);
    }
}

ScratchDir::~ScratchDir() {
    leave();
    if (root.compare(0, 21, "/tmp/gelmarch_render_") == 0) {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
}

void ScratchDir::enter() {
    if (inside) {
        return;
    }
    char buffer[4096];
    previous = getcwd(buffer, sizeof(buffer)) ? buffer : ".";
    inside = chdir((root + "/bin").c_str()) == 0;
}

void ScratchDir::leave() {
    if (inside && chdir(previous.c_str()) == 0) {
        inside = false;
    }
}

std::string ScratchDir::path(const std::string& relative) const {
    return root + "/bin/" + relative;
}

void ScratchDir::writeFontImage() {
    std::vector<unsigned char> rgb(512 * 512 * 3);
    for (int row = 0; row < 512; ++row) {
        for (int col = 0; col < 512; ++col) {
            unsigned char* p = &rgb[(row * 512 + col) * 3];
            p[0] = 255;
            p[1] = (unsigned char)((row / 32) * 16 + col / 32);
            p[2] = 0;
        }
    }
    writeBmp24(path("textures/font/font.bmp"), 512, 512, rgb.data());
}

void atlasTexel(int ax, int ay, unsigned char* rgb) {
    rgb[0] = (unsigned char)(ax & 255);
    rgb[1] = (unsigned char)(ay & 255);
    rgb[2] = (unsigned char)((ax >= 256 ? 128 : 0) + (ay >= 256 ? 64 : 0));
}

void ScratchDir::writeAtlas() {
    std::vector<unsigned char> rgba(512 * 512 * 4);
    for (int row = 0; row < 512; ++row) {
        for (int col = 0; col < 512; ++col) {
            unsigned char* p = &rgba[(row * 512 + col) * 4];
            atlasTexel(col, 511 - row, p);
            p[3] = 255;
        }
    }
    writePngRgba(path("textures/other/interface.png"), 512, 512, rgba.data());
}

bool writeBmp24(const std::string& path, int width, int height, const unsigned char* rgbTopFirst) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    if (!surface) {
        return false;
    }
    for (int row = 0; row < height; ++row) {
        unsigned char* out = (unsigned char*)surface->pixels + row * surface->pitch;
        for (int col = 0; col < width; ++col) {
            const unsigned char* in = rgbTopFirst + (row * width + col) * 3;
            // Masks above put blue in the lowest byte of a little-endian pixel.
            out[col * 3] = in[2];
            out[col * 3 + 1] = in[1];
            out[col * 3 + 2] = in[0];
        }
    }
    bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

bool writeBmp8(const std::string& path, int width, int height, const unsigned char* indicesTopFirst,
               const unsigned char* paletteRgb, int paletteSize) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 8, 0, 0, 0, 0);
    if (!surface) {
        return false;
    }
    std::vector<SDL_Color> colours(paletteSize);
    for (int i = 0; i < paletteSize; ++i) {
        colours[i].r = paletteRgb[i * 3];
        colours[i].g = paletteRgb[i * 3 + 1];
        colours[i].b = paletteRgb[i * 3 + 2];
        colours[i].unused = 0;
    }
    SDL_SetColors(surface, colours.data(), 0, paletteSize);
    for (int row = 0; row < height; ++row) {
        std::memcpy((unsigned char*)surface->pixels + row * surface->pitch, indicesTopFirst + row * width, width);
    }
    bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

bool writePngRgba(const std::string& path, int width, int height, const unsigned char* rgbaTopFirst) {
    std::vector<unsigned char> bottomFirst((size_t)width * height * 4);
    for (int row = 0; row < height; ++row) {
        std::memcpy(&bottomFirst[(size_t)(height - 1 - row) * width * 4], rgbaTopFirst + (size_t)row * width * 4,
                    (size_t)width * 4);
    }
    return writePngBottomUp(path, width, height, bottomFirst);
}

Pixel readPixel(int x, int y) {
    unsigned char rgba[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    Pixel p = {rgba[0], rgba[1], rgba[2]};
    return p;
}

void Render2DTest::SetUp() {
    GlTest::SetUp();
    if (HasFatalFailure()) {
        return;
    }
    scratch.enter();
    glViewport(0, 0, 640, 480);
    projection.ortho(0.0f, 640.0f, 0.0f, 480.0f, 1.0f, -1.0f);
    clear(0.0f, 0.0f, 0.0f);
}

void Render2DTest::TearDown() {
    scratch.leave();
    GlTest::TearDown();
}

void Render2DTest::clear(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
