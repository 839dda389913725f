#ifndef GELMARCH_TESTS_RENDER_FIXTURE_H
#define GELMARCH_TESTS_RENDER_FIXTURE_H

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "render/canvas.h"
#include "render/font.h"
#include "render/matrix_stack.h"
#include "support/gl_test.h"
#include "support/png_snapshot.h"

// A throw-away game directory entered while the object lives: DIR/bin is the working directory, DIR/shader
// links to the repository's shaders, and textures/ holds only what the test writes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();

private:
    std::string root;
    std::string previous;
};

// A 24-bit BMP from RGB triples, rows top first.
bool writeBmp(const std::string& path, int width, int height, const unsigned char* rgb);
// textures/font/font.bmp with every cell i coloured (255, i, 0), so a drawn pixel's green names its glyph
// cell. With darkLeftHalves the left 16 columns of every cell are black (no coverage).
void writeFontImage(bool darkLeftHalves = false);
// textures/other/interface.png whose texel (ax, ay), ay counted from the bottom row, is coloured
// (ax % 256, ay % 256, 128 if ax >= 256 + 64 if ay >= 256); atlasAt decodes a drawn pixel back.
std::pair<int, int> atlasAt(int x, int y);

struct Pixel {
    int r, g, b;
};
// One framebuffer pixel, (x, y) from the bottom-left, and a check of it within one step per channel.
Pixel readPixel(int x, int y);
::testing::AssertionResult pixelIs(int x, int y, int r, int g, int b);
GLint currentProgram();

// A scratch directory with the images above, a Canvas inside its 2D pass, a Font that is also the global
// font, a 640 x 480 viewport cleared to black and the 2D projection ortho(0, 640, 0, 480, 1, -1).
class Render2DTest : public GlTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void clear(float r, float g, float b);

    ScratchDir scratch;
    MatrixStack projection;
    Canvas* canvas = nullptr;
    Font* font = nullptr;
    Font* savedFont = nullptr;
};

#endif
