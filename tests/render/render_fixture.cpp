#include "render_fixture.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "app/globals.h"

ScratchDir::ScratchDir() {
    char buffer[4096];
    previous = getcwd(buffer, sizeof(buffer)) ? buffer : ".";
    char pattern[] = "/tmp/gelmarch_render_XXXXXX";
    if (!mkdtemp(pattern)) {
        ADD_FAILURE() << "cannot make a scratch directory";
        return;
    }
    root = pattern;
    std::error_code ignored;
    std::filesystem::create_directories(root + "/bin/textures/font", ignored);
    std::filesystem::create_directories(root + "/bin/textures/other", ignored);
    std::filesystem::create_directory_symlink(GELMARCH_SOURCE_DIR "/shader", root + "/shader", ignored);
    EXPECT_EQ(0, chdir((root + "/bin").c_str()));
}

ScratchDir::~ScratchDir() {
    EXPECT_EQ(0, chdir(previous.c_str()));
    std::error_code ignored;
    if (!root.empty()) std::filesystem::remove_all(root, ignored);
}

bool writeBmp(const std::string& path, int width, int height, const unsigned char* rgb) {
    // The masks put blue in the lowest byte of each little-endian pixel, as BMP files keep it.
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (int row = 0; row < height; ++row) {
        unsigned char* out = (unsigned char*)surface->pixels + row * surface->pitch;
        for (int i = 0; i < width * 3; ++i) {
            out[i] = rgb[row * width * 3 + i - i % 3 + 2 - i % 3];
        }
    }
    bool ok = SDL_SaveBMP(surface, path.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

void writeFontImage(bool darkLeftHalves) {
    std::vector<unsigned char> rgb(512 * 512 * 3, 0);
    for (int i = 0; i < 512 * 512; ++i) {
        int row = i / 512, col = i % 512;
        if (!darkLeftHalves || col % 32 >= 16) {
            rgb[i * 3] = 255;
            rgb[i * 3 + 1] = (unsigned char)((row / 32) * 16 + col / 32);
        }
    }
    ASSERT_TRUE(writeBmp("textures/font/font.bmp", 512, 512, rgb.data()));
}

// The atlas described with atlasAt, rows bottom first.
void writeAtlas() {
    std::vector<unsigned char> rgba(512 * 512 * 4, 255);
    for (int i = 0; i < 512 * 512; ++i) {
        int ax = i % 512, ay = i / 512;
        rgba[i * 4] = (unsigned char)(ax & 255);
        rgba[i * 4 + 1] = (unsigned char)(ay & 255);
        rgba[i * 4 + 2] = (unsigned char)((ax >= 256 ? 128 : 0) + (ay >= 256 ? 64 : 0));
    }
    ASSERT_TRUE(writePngBottomUp("textures/other/interface.png", 512, 512, rgba));
}

std::pair<int, int> atlasAt(int x, int y) {
    Pixel p = readPixel(x, y);
    return std::make_pair(p.r + ((p.b & 128) ? 256 : 0), p.g + ((p.b & 64) ? 256 : 0));
}

Pixel readPixel(int x, int y) {
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2]};
}

::testing::AssertionResult pixelIs(int x, int y, int r, int g, int b) {
    Pixel p = readPixel(x, y);
    if (std::abs(p.r - r) <= 1 && std::abs(p.g - g) <= 1 && std::abs(p.b - b) <= 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is (" << p.r << "," << p.g << ","
                                         << p.b << "), expected (" << r << "," << g << "," << b << ")";
}

GLint currentProgram() {
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

void Render2DTest::SetUp() {
    GlTest::SetUp();
    if (HasFatalFailure()) return;
    glViewport(0, 0, 640, 480);
    projection.ortho(0.0f, 640.0f, 0.0f, 480.0f, 1.0f, -1.0f);
    clear(0.0f, 0.0f, 0.0f);
    writeAtlas();
    writeFontImage();
    savedFont = gFont;
    gFont = font = new Font();
    canvas = new Canvas();
    canvas->begin2D();
}

void Render2DTest::TearDown() {
    if (canvas) {
        canvas->end2D();
        delete canvas;
        delete font;
        gFont = savedFont;
    }
    GlTest::TearDown();
}

void Render2DTest::clear(float r, float g, float b) {
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
