#ifndef GELMARCH_TESTS_RENDER_FIXTURE_H
#define GELMARCH_TESTS_RENDER_FIXTURE_H

#include <string>

#include "render/matrix_stack.h"
#include "support/gl_test.h"

// A throw-away working directory laid out like the game's: DIR/bin is the working directory, DIR/shader
// links to the repository's shaders (so "..\shader\NAME" resolves), and DIR/bin/textures holds images the
// test writes itself. The tests thereby never depend on the generated art.
class ScratchDir {
public:
    // Without linkShaders the directory has no shaders at all.
    explicit ScratchDir(bool linkShaders = true);
    ~ScratchDir();

    // Into DIR/bin and back to where the process was.
    void enter();
    void leave();
    // DIR/bin/ + relative path, with '/' separators.
    std::string path(const std::string& relative) const;

    // The font image: every 32 x 32 cell is the colour (255, index, 0), so a drawn pixel's green says which
    // glyph cell it came from and its full brightness means full coverage.
    void writeFontImage();
    // The interface atlas: each texel says where it is, counted from the bottom-left of the image
    // (see atlasTexel).
    void writeAtlas();

    std::string root;

private:
    std::string previous;
    bool inside;
};

// Colour of atlas texel (ax, ay), ay counted from the bottom row: red = ax % 256, green = ay % 256,
// blue = 128 when ax >= 256 plus 64 when ay >= 256.
void atlasTexel(int ax, int ay, unsigned char* rgb);

// A 24-bit BMP with rows given top first, 3 bytes (r, g, b) per pixel.
bool writeBmp24(const std::string& path, int width, int height, const unsigned char* rgbTopFirst);
// An 8-bit palettised BMP: one index per pixel (top row first) into a palette of (r, g, b) triples.
bool writeBmp8(const std::string& path, int width, int height, const unsigned char* indicesTopFirst,
               const unsigned char* paletteRgb, int paletteSize);
// A 32-bit RGBA PNG with rows given top first.
bool writePngRgba(const std::string& path, int width, int height, const unsigned char* rgbaTopFirst);

struct Pixel {
    int r, g, b;
};
// One framebuffer pixel, (x, y) from the bottom-left.
Pixel readPixel(int x, int y);

// GL tests that draw in 2D: a scratch directory as working directory, a 640 x 480 viewport cleared to
// black and the game's 2D projection ortho(0, 640, 0, 480, 1, -1).
class Render2DTest : public GlTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void clear(float r, float g, float b);

    ScratchDir scratch;
    MatrixStack projection;
};

#endif
