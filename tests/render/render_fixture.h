#ifndef GELMARCH_TESTS_RENDER_FIXTURE_H
#define GELMARCH_TESTS_RENDER_FIXTURE_H

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/globals.h"
#include "render/canvas.h"
#include "render/font.h"
#include "render/matrix_stack.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

// A 24-bit BMP from RGB triples, rows top first (SDL turns them into the file's BGR).
inline bool writeBmp(const std::string& path, int width, int height, const unsigned char* rgb) {
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    for (int row = 0; row < height; ++row) {
        std::memcpy((unsigned char*)surface->pixels + row * surface->pitch, rgb + row * width * 3, width * 3);
    }
    bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

// textures/font/font.bmp with every cell i coloured (255, i, 0), so a drawn pixel's green names its glyph
// cell. With darkLeftHalves the left 16 columns of every cell are black (no coverage).
inline void writeFontImage(bool darkLeftHalves = false) {
    std::vector<unsigned char> rgb(512 * 512 * 3, 0);
    for (int i = 0; i < 512 * 512; ++i) {
        int row = i / 512, col = i % 512;
        if (darkLeftHalves && col % 32 < 16) continue;
        rgb[i * 3] = 255;
        rgb[i * 3 + 1] = (unsigned char)((row / 32) * 16 + col / 32);
    }
    ASSERT_TRUE(writeBmp("textures/font/font.bmp", 512, 512, rgb.data()));
}

struct Pixel {
    int r, g, b;
};

// One framebuffer pixel, (x, y) from the bottom-left.
inline Pixel readPixel(int x, int y) {
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2]};
}

// The pixel within one step per channel.
inline ::testing::AssertionResult pixelIs(int x, int y, int r, int g, int b) {
    Pixel p = readPixel(x, y);
    if (std::abs(p.r - r) <= 1 && std::abs(p.g - g) <= 1 && std::abs(p.b - b) <= 1) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "pixel " << x << "," << y << " is " << p.r << "," << p.g << "," << p.b;
}

// A table of (x, y, r, g, b) pixel checks.
inline void expectPixels(std::initializer_list<std::array<int, 5>> probes) {
    for (const auto& p : probes) EXPECT_TRUE(pixelIs(p[0], p[1], p[2], p[3], p[4]));
}

// The interface atlas written by Render2DTest has texel (ax, ay), ay counted from the bottom row, coloured
// (ax % 256, ay % 256, 128 if ax >= 256 + 64 if ay >= 256); this decodes a drawn pixel back to (ax, ay).
inline std::pair<int, int> atlasAt(int x, int y) {
    Pixel p = readPixel(x, y);
    return std::make_pair(p.r + ((p.b & 128) ? 256 : 0), p.g + ((p.b & 64) ? 256 : 0));
}

inline GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

// A throw-away game directory entered for the test (DIR/bin the working directory, DIR/shader linking to the
// repository's shaders, textures/ holding the scratch font and atlas above), a Canvas inside its 2D pass, a Font
// that is also the global font, a 640 x 480 viewport and screen cleared to black, ortho(0, 640, 0, 480, 1, -1).
class Render2DTest : public GlTest {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path().string();
        char pattern[] = "/tmp/gelmarch_render_XXXXXX";
        ASSERT_TRUE(mkdtemp(pattern)) << "cannot make a scratch directory";
        root = pattern;
        std::error_code ignored;
        std::filesystem::create_directories(root + "/bin/textures/font", ignored);
        std::filesystem::create_directories(root + "/bin/textures/other", ignored);
        std::filesystem::create_directory_symlink(GELMARCH_SOURCE_DIR "/shader", root + "/shader", ignored);
        ASSERT_EQ(0, chdir((root + "/bin").c_str()));
        GlTest::SetUp();
        if (HasFatalFailure()) return;
        glViewport(0, 0, 640, 480);
        gScreenWidth = 640;
        projection.ortho(0.0f, 640.0f, 0.0f, 480.0f, 1.0f, -1.0f);
        clear(0.0f, 0.0f, 0.0f);
        std::vector<unsigned char> atlas(512 * 512 * 4, 255);
        for (int i = 0; i < 512 * 512; ++i) {
            int ax = i % 512, ay = i / 512;
            atlas[i * 4] = (unsigned char)(ax & 255);
            atlas[i * 4 + 1] = (unsigned char)(ay & 255);
            atlas[i * 4 + 2] = (unsigned char)((ax >= 256 ? 128 : 0) + (ay >= 256 ? 64 : 0));
        }
        ASSERT_TRUE(writePngBottomUp("textures/other/interface.png", 512, 512, atlas));
        writeFontImage();
        gFont = font = new Font();
        canvas = new Canvas();
        canvas->begin2D();
    }
    void TearDown() override {
        if (canvas) {
            canvas->end2D();
            delete canvas;
            delete font;
            gFont = nullptr;
        }
        GlTest::TearDown();
        EXPECT_EQ(0, chdir(previous.c_str()));
        std::error_code ignored;
        if (!root.empty()) std::filesystem::remove_all(root, ignored);
    }
    void clear(float r, float g, float b) {
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    std::string root, previous;
    MatrixStack projection;
    Canvas* canvas = nullptr;
    Font* font = nullptr;
};

#endif
