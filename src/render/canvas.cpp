#include "render/canvas.h"

#include "app/globals.h"
#include "render/font.h"

namespace {

const float kAtlasSize = 512.0f;

// 0xRRGGBBAA to four floats in 0..1.
void colourToTint(unsigned int colour, float* tint) {
    tint[0] = (float)((colour >> 24) & 0xFF) / 255.0f;
    tint[1] = (float)((colour >> 16) & 0xFF) / 255.0f;
    tint[2] = (float)((colour >> 8) & 0xFF) / 255.0f;
    tint[3] = (float)(colour & 0xFF) / 255.0f;
}

// The rectangle's corners in the one order every shape uses: (x, y), (x + w, y), (x + w, y + h), (x, y + h).
void rectCorners(float x, float y, float w, float h, float* corners) {
    corners[0] = x;
    corners[1] = y;
    corners[2] = x + w;
    corners[3] = y;
    corners[4] = x + w;
    corners[5] = y + h;
    corners[6] = x;
    corners[7] = y + h;
}

// The pressed button (state 2) is pale; its alpha of 1.2 is left for the shader to clamp.
void buttonFill(int state, float* tint) {
    float s = (float)state;
    float pale = state == 2 ? 0.7f : 0.0f;
    tint[0] = pale;
    tint[1] = s * 0.1f + 0.8f;
    tint[2] = pale;
    tint[3] = s * 0.2f + 0.8f;
}

// Opaque, a little greener per state.
void buttonOutline(int state, float* tint) {
    float s = (float)state;
    tint[0] = 0.3f;
    tint[1] = s * 0.1f + 0.8f;
    tint[2] = 0.3f;
    tint[3] = 1.0f;
}

}  // namespace

// Loads the two 2D programs and the interface atlas; missing files are reported by the loaders and the
// canvas then draws nothing with them.
Canvas::Canvas() : plainShader(0), texShader(0), interfaceTexture(0), vertexArray(0), vertexBuffer(0) {
    plainShader = new Shader("..\\shader\\plain");
    texShader = new Shader("..\\shader\\tex");
    interfaceTexture = loadTexture(".\\textures\\other\\interface.png");
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
}

// The controls belong to the screens that made them; only the list goes.
Canvas::~Canvas() {
    delete plainShader;
    delete texShader;
    glDeleteTextures(1, &interfaceTexture);
    glDeleteBuffers(1, &vertexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
}

// The font's text mode is the same switch of GL state, so the Canvas uses it.
void Canvas::begin2D() {
    Font::begin2D();
    plainShader->bind();
}

// Ends the font's text mode too, whether or not text was drawn.
void Canvas::end2D() {
    Shader::unbind();
    Font::end2D();
}

// Streams the rectangle's four corners and draws them with plainShader's locations into whatever program is bound
// (the caller's contract is that it is plainShader). Nothing is drawn when the program did not build.
void Canvas::drawPlain(float x, float y, float w, float h, const float* tint, GLenum mode,
                       MatrixStack* projection) {
    GLint vertex = plainShader->attribute("vertex");
    if (vertex < 0) {
        return;
    }
    float corners[8];
    rectCorners(x, y, w, h, corners);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, 8 * sizeof(float), corners, GL_STREAM_DRAW);
    glEnableVertexAttribArray((GLuint)vertex);
    glVertexAttribPointer((GLuint)vertex, 2, GL_FLOAT, GL_FALSE, 0, 0);
    glUniformMatrix4fv(plainShader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4fv(plainShader->uniform("tint"), 1, tint);
    glDrawArrays(mode, 0, 4);
    glDisableVertexAttribArray((GLuint)vertex);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

// Filled as a fan, or only its outline as a line loop.
void Canvas::drawRect(float x, float y, float w, float h, unsigned int colour, bool outline,
                      MatrixStack* projection) {
    float tint[4];
    colourToTint(colour, tint);
    drawPlain(x, y, w, h, tint, outline ? GL_LINE_LOOP : GL_TRIANGLE_FAN, projection);
}

// The fill first, so the outline lies on top.
void Canvas::drawButtonBox(float x, float y, float w, float h, int state, MatrixStack* projection) {
    float tint[4];
    buttonFill(state, tint);
    drawPlain(x, y, w, h, tint, GL_TRIANGLE_FAN, projection);
    drawFrame(x, y, w, h, state, projection);
}

// The outline in the button outline colour.
void Canvas::drawFrame(float x, float y, float w, float h, int state, MatrixStack* projection) {
    float tint[4];
    buttonOutline(state, tint);
    drawPlain(x, y, w, h, tint, GL_LINE_LOOP, projection);
}

// Kinds 0 to 4 have their own colours, every other kind is dark grey.
void Canvas::drawMarker(float x, float y, int kind, MatrixStack* projection) {
    static const float kColours[6][4] = {
        {0.6f, 1.0f, 0.6f, 1.0f}, {1.0f, 0.1f, 0.1f, 1.0f}, {0.1f, 0.1f, 0.9f, 1.0f},
        {1.0f, 1.0f, 0.1f, 1.0f}, {0.5f, 0.0f, 0.6f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f},
    };
    int index = (kind >= 0 && kind <= 4) ? kind : 5;
    drawPlain(x - 2.0f, y - 2.0f, 4.0f, 4.0f, kColours[index], GL_TRIANGLE_FAN, projection);
}

// Binds texShader and draws a fan of four corners (z = 0) with their texture coordinates on unit 0;
// leaves texShader bound. Nothing is drawn when the program did not build.
void Canvas::drawTextured(const float* corners, const float* texcoords, Texture texture,
                          MatrixStack* projection) {
    texShader->bind();
    GLint vertex = texShader->attribute("vertex");
    GLint texcoord = texShader->attribute("texcoord");
    if (vertex < 0 || texcoord < 0) {
        return;
    }
    float data[20];
    for (int i = 0; i < 4; ++i) {
        data[i * 3] = corners[i * 2];
        data[i * 3 + 1] = corners[i * 2 + 1];
        data[i * 3 + 2] = 0.0f;
    }
    for (int i = 0; i < 8; ++i) {
        data[12 + i] = texcoords[i];
    }
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(data), data, GL_STREAM_DRAW);
    glEnableVertexAttribArray((GLuint)texcoord);
    glVertexAttribPointer((GLuint)texcoord, 2, GL_FLOAT, GL_FALSE, 0, (const void*)(12 * sizeof(float)));
    glEnableVertexAttribArray((GLuint)vertex);
    glVertexAttribPointer((GLuint)vertex, 3, GL_FLOAT, GL_FALSE, 0, 0);
    glUniformMatrix4fv(texShader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform1i(texShader->uniform("texture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glDisableVertexAttribArray((GLuint)texcoord);
    glDisableVertexAttribArray((GLuint)vertex);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

// Stretches the whole texture; the plain program is bound again for the shapes that follow.
void Canvas::drawTexture(float x, float y, float w, float h, MatrixStack* projection, Texture texture) {
    static const float kTexcoords[8] = {0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f};
    float corners[8];
    rectCorners(x, y, w, h, corners);
    drawTextured(corners, kTexcoords, texture, projection);
    plainShader->bind();
}

// Atlas texY counts from the bottom of the atlas, as t = 1 - texY / 512.
void Canvas::drawInterfacePart(float x, float y, float w, float h, float texX, float texY,
                               MatrixStack* projection) {
    float corners[8];
    rectCorners(x, y, w, h, corners);
    float left = texX / kAtlasSize;
    float right = (texX + w) / kAtlasSize;
    float bottom = 1.0f - texY / kAtlasSize;
    float top = 1.0f - (texY + h) / kAtlasSize;
    float texcoords[8] = {left, bottom, right, bottom, right, top, left, top};
    drawTextured(corners, texcoords, interfaceTexture, projection);
    Shader::unbind();
}

// Wider windows stretch the middle strip past the atlas edge, where repeat wrapping continues it.
void Canvas::drawInterface(MatrixStack* projection) {
    float width = (float)gScreenWidth;
    drawRect(0.0f, 0.0f, 230.0f, 230.0f, 0x000800FF, false, projection);
    drawRect(width - 200.0f, 0.0f, 200.0f, 200.0f, 0x000800FF, false, projection);
    drawRect(230.0f, 0.0f, width - 430.0f, 130.0f, 0x000800FF, false, projection);
    drawInterfacePart(240.0f, 95.0f, width - 440.0f, 72.0f, 0.0f, 440.0f, projection);
    drawInterfacePart(0.0f, 0.0f, 280.0f, 280.0f, 0.0f, 0.0f, projection);
    drawInterfacePart(width - 240.0f, 0.0f, 240.0f, 240.0f, 272.0f, 0.0f, projection);
    plainShader->bind();
}
