#ifndef GELMARCH_RENDER_FONT_H
#define GELMARCH_RENDER_FONT_H

#include <GL/glew.h>

#include <string>

#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"

// The game's one proportional bitmap font: a 512 x 512 image of 16 x 16 cells of 32 x 32 pixels, regular
// glyphs in indices 0..127 and bold in 128..255, with a fixed advance table in font units (a cell is 32
// units; text of size s is a cell s pixels high). Colours are 0xRRGGBBAA. Bytes 128..255 are skipped.
class Font {
public:
    Font();
    ~Font();

    // Blending on, depth test and culling off; binds nothing. Static: the Canvas's 2D pass uses it too.
    static void begin2D();
    // Blending off, depth test and culling on.
    static void end2D();

    // Sum of the advances of the text's glyphs, in pixels at this size.
    float textWidth(std::string text, float size, bool bold);
    // One line; (x, y) is the bottom-left of the first cell (align 0), the bottom centre (1) or the
    // bottom-right end (2) of the line, offset by the width truncated to whole pixels.
    void drawText(std::string text, float x, float y, float size, unsigned int colour, bool bold, int align,
                  MatrixStack* projection);
    // drawText in black at three quarters of the colour's alpha, 2 pixels right and down, then the text.
    void drawTextShadowed(std::string text, float x, float y, float size, unsigned int colour, bool bold, int align,
                          MatrixStack* projection);

    Shader* shader;
    Texture texture;
    float widths[256];

private:
    GLuint vertexArray;
    GLuint vertexBuffer;

    Font(const Font&);
    Font& operator=(const Font&);
};

#endif
