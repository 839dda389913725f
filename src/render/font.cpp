#include "render/font.h"

#include "render/draw_2d.h"
#include "render/font_advances.h"

#include <vector>

namespace {

const float kCell = 0.0625f;     // one cell of the 16 x 16 grid in texture coordinates
const float kSample = 0.0605f;   // how much of a cell a glyph quad samples across, short of the next cell
const float kQuadWidth = 31.0f;  // font units

// The glyph cell of a character: c - 32 from space on, control characters after the printable ones,
// plus 128 when bold; -1 for bytes 128..255, which have no glyph and are skipped.
int glyphIndex(unsigned char c, bool bold) {
    if (c >= 128) {
        return -1;
    }
    int index = c >= 32 ? c - 32 : c + 96;
    return bold ? index + 128 : index;
}

}  // namespace

// Loads the font program and image; a missing one is reported by its loader and text then draws nothing.
Font::Font() : shader(0), texture(0), vertexArray(0), vertexBuffer(0) {
    shader = new Shader("..\\shader\\font");
    texture = loadTexture(".\\textures\\font\\font.bmp");
    for (int i = 0; i < 256; ++i) {
        widths[i] = kFontAdvances[i];
    }
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
}

// The texture first, then the program.
Font::~Font() {
    glDeleteTextures(1, &texture);
    delete shader;
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}

// Text blends over what is there and ignores depth.
void Font::begin2D() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

// Back to the state the 3D passes expect.
void Font::end2D() {
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

// In pixels: the advances are font units, 32 to a cell of size pixels.
float Font::textWidth(std::string text, float size, bool bold) {
    float units = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        int index = glyphIndex((unsigned char)text[i], bold);
        if (index >= 0) {
            units += widths[index];
        }
    }
    return units * size / 32.0f;
}

// All glyph quads of the line go up in one buffer (positions, then texture coordinates) and are drawn
// one strip per character. Expects the caller's 2D state (blending on, depth test off).
void Font::drawText(std::string text, float x, float y, float size, unsigned int colour, bool bold, int align,
                    MatrixStack* projection) {
    shader->bind();
    GLint vertex = shader->attribute("vertex");
    GLint texcoord = shader->attribute("texcoord");
    if (vertex < 0 || texcoord < 0) {
        Shader::unbind();
        return;
    }
    float tint[4];
    colourToTint(colour, tint);

    std::vector<float> positions;
    std::vector<float> texcoords;
    positions.reserve(text.size() * 16);  // the texture coordinates follow
    texcoords.reserve(text.size() * 8);
    float pen = 0.0f;
    for (size_t i = 0; i < text.size(); ++i) {
        int index = glyphIndex((unsigned char)text[i], bold);
        if (index < 0) {
            continue;
        }
        float s = (float)(index % 16) * kCell;
        float t = (float)(index / 16) * kCell;
        const float quad[8] = {pen, 0.0f, pen + kQuadWidth, 0.0f, pen, 32.0f, pen + kQuadWidth, 32.0f};
        const float uv[8] = {s, t + kCell, s + kSample, t + kCell, s, t, s + kSample, t};
        positions.insert(positions.end(), quad, quad + 8);
        texcoords.insert(texcoords.end(), uv, uv + 8);
        pen += widths[index];
    }
    int glyphs = (int)(positions.size() / 8);

    // pen is the line's advance in font units, so this is textWidth without a second pass.
    float width = (float)(int)(pen * size / 32.0f);
    float offset = 0.0f;
    if (align == 1) {
        offset = width / 2.0f;
    } else if (align == 2) {
        offset = width;
    }
    MatrixStack modelview(1);
    modelview.translate(x - offset, y, 0.0f);
    modelview.scale(size / 32.0f, size / 32.0f, 1.0f);

    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4fv(shader->uniform("tint"), 1, tint);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview.current.m);
    glUniform1i(shader->uniform("font"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    // Positions, then texture coordinates, in one buffer.
    size_t half = positions.size() * sizeof(float);
    positions.insert(positions.end(), texcoords.begin(), texcoords.end());
    const StreamedAttribute attributes[2] = {{vertex, 2, 0}, {texcoord, 2, half}};
    streamDraw(vertexArray, vertexBuffer, positions.data(), half * 2, attributes, 2, GL_TRIANGLE_STRIP,
               glyphs * 4, 4);
    Shader::unbind();
}

// The shadow's alpha is three quarters of the text's, rounded down.
void Font::drawTextShadowed(std::string text, float x, float y, float size, unsigned int colour, bool bold,
                            int align, MatrixStack* projection) {
    unsigned int shadow = ((colour & 0xFF) * 3) / 4;
    drawText(text, x + 2.0f, y - 2.0f, size, shadow, bold, align, projection);
    drawText(text, x, y, size, colour, bold, align, projection);
}
