#include "render/font.h"

#include <vector>

namespace {

// Advances in font units (a cell is 32), by glyph index: regular 0..127, bold 128..255. The control
// character cells hold icons a full cell wide, except the bold ones that carry their own widths.
const float kWidths[256] = {
    7, 7, 9, 14, 13, 20, 19, 6, 7, 7, 10, 16, 5, 10, 5, 9,
    13, 13, 13, 13, 13, 13, 13, 13, 13, 13, 5, 5, 16, 16, 16, 11,
    23, 15, 14, 15, 17, 12, 12, 16, 17, 6, 9, 14, 11, 22, 18, 18,
    13, 18, 14, 13, 13, 16, 15, 22, 14, 13, 14, 7, 9, 7, 16, 10,
    6, 12, 14, 11, 14, 13, 8, 14, 14, 6, 6, 12, 6, 21, 14, 14,
    14, 14, 8, 10, 8, 14, 12, 17, 11, 12, 11, 7, 6, 7, 16, 8,
    32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32,
    32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32,
    7, 8, 12, 14, 14, 21, 20, 7, 9, 9, 11, 17, 7, 10, 7, 11,
    14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 7, 7, 17, 17, 17, 11,
    23, 17, 15, 15, 18, 13, 12, 17, 18, 8, 11, 16, 12, 23, 19, 18,
    15, 18, 16, 13, 14, 17, 16, 24, 16, 15, 15, 9, 10, 9, 17, 10,
    8, 13, 15, 12, 15, 13, 9, 15, 14, 7, 7, 13, 7, 22, 15, 15,
    15, 15, 10, 11, 9, 15, 13, 19, 13, 13, 12, 9, 8, 9, 17, 9,
    14, 0, 7, 14, 12, 22, 10, 10, 9, 30, 13, 8, 23, 0, 15, 0,
    32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32, 32,
};

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
        widths[i] = kWidths[i];
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
    float tint[4] = {(float)((colour >> 24) & 0xFF) / 255.0f, (float)((colour >> 16) & 0xFF) / 255.0f,
                     (float)((colour >> 8) & 0xFF) / 255.0f, (float)(colour & 0xFF) / 255.0f};

    std::vector<float> positions;
    std::vector<float> texcoords;
    positions.reserve(text.size() * 8);
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

    float offset = 0.0f;
    if (align == 1) {
        offset = (float)(int)textWidth(text, size, bold) / 2.0f;
    } else if (align == 2) {
        offset = (float)(int)textWidth(text, size, bold);
    }
    MatrixStack modelview(1);
    modelview.translate(x - offset, y, 0.0f);
    modelview.scale(size / 32.0f, size / 32.0f, 1.0f);

    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    size_t half = positions.size() * sizeof(float);
    glBufferData(GL_ARRAY_BUFFER, half * 2, 0, GL_STREAM_DRAW);
    if (glyphs > 0) {
        glBufferSubData(GL_ARRAY_BUFFER, 0, half, positions.data());
        glBufferSubData(GL_ARRAY_BUFFER, half, half, texcoords.data());
    }
    glEnableVertexAttribArray((GLuint)texcoord);
    glVertexAttribPointer((GLuint)texcoord, 2, GL_FLOAT, GL_FALSE, 0, (const void*)half);
    glEnableVertexAttribArray((GLuint)vertex);
    glVertexAttribPointer((GLuint)vertex, 2, GL_FLOAT, GL_FALSE, 0, 0);
    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4fv(shader->uniform("tint"), 1, tint);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview.current.m);
    glUniform1i(shader->uniform("font"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int i = 0; i < glyphs; ++i) {
        glDrawArrays(GL_TRIANGLE_STRIP, i * 4, 4);
    }
    glDisableVertexAttribArray((GLuint)texcoord);
    glDisableVertexAttribArray((GLuint)vertex);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    Shader::unbind();
}

// The shadow's alpha is three quarters of the text's, rounded down.
void Font::drawTextShadowed(std::string text, float x, float y, float size, unsigned int colour, bool bold,
                            int align, MatrixStack* projection) {
    unsigned int shadow = ((colour & 0xFF) * 3) / 4;
    drawText(text, x + 2.0f, y - 2.0f, size, shadow, bold, align, projection);
    drawText(text, x, y, size, colour, bold, align, projection);
}
