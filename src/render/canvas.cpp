#include "render/canvas.h"

#include "app/globals.h"
#include "render/control.h"
#include "render/draw_2d.h"
#include "render/font.h"

namespace {

const float kAtlasSize = 512.0f;

const unsigned int kTextColour = 0xDFFFDFFF;

// Tooltips are drawn by the hovered button they belong to; only plain and command buttons have them.
bool showsTooltip(const Control* control) {
    return (control->kind == 1 || control->kind == 3) && control->state > 0 && control->tooltip;
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
    glUniformMatrix4fv(plainShader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4fv(plainShader->uniform("tint"), 1, tint);
    const StreamedAttribute attribute = {vertex, 2, 0};
    streamDraw(vertexArray, vertexBuffer, corners, sizeof(corners), &attribute, 1, mode, 4, 4);
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
    glUniformMatrix4fv(texShader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform1i(texShader->uniform("texture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    const StreamedAttribute attributes[2] = {{vertex, 3, 0}, {texcoord, 2, 12 * sizeof(float)}};
    streamDraw(vertexArray, vertexBuffer, data, sizeof(data), attributes, 2, GL_TRIANGLE_FAN, 4, 4);
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

// Not owned: the screen that made the control deletes it.
void Canvas::addControl(Control* control) {
    controls.push_back(control);
}

// Three passes so that every box lies under every picture and every text lies on top.
void Canvas::drawControls(MatrixStack* projection) {
    std::list<Control*>::iterator it;
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 1) {
            drawButtonBox(c->x, c->y, c->w, c->h, c->state, projection);
        }
        if (showsTooltip(c)) {
            Control* t = c->tooltip;
            drawButtonBox(t->x, t->y, t->w, t->h, 0, projection);
        }
    }
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 3) {
            drawInterfacePart(c->x - 4.0f, c->y - 4.0f, c->w + 8.0f, c->h + 8.0f, (float)(c->state * 60 - 4),
                              (float)(342 - c->enabled * 60), projection);
        } else if (c->kind == 4) {
            drawInterfacePart(c->x - 10.0f, c->y - 12.0f, 170.0f, 60.0f, 335.0f, (float)(279 + c->state * 70),
                              projection);
        } else if (c->kind == 5) {
            drawInterfacePart(c->x - 10.0f, c->y - 12.0f, 153.0f, 46.0f, 153.0f, (float)(281 + c->state * 70),
                              projection);
        }
    }
    if (!gFont) {
        return;
    }
    gFont->begin2D();
    for (it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->kind == 1 || c->kind == 4 || c->kind == 5) {
            gFont->drawTextShadowed(c->caption, c->x + c->w / 2.0f, c->y + c->h / 2.0f - 7.0f, 16.0f, kTextColour,
                                    false, 1, projection);
        } else if (c->kind == 3) {
            unsigned int colour = 0xDFFFDF8Fu + 0x70u * (unsigned int)c->enabled;
            gFont->drawTextShadowed(c->caption, c->x + c->w / 2.0f, c->y + c->h / 2.0f - 15.0f, 32.0f, colour,
                                    false, 1, projection);
        }
        if (showsTooltip(c)) {
            Control* t = c->tooltip;
            gFont->drawTextShadowed(t->description, t->x + 4.0f, t->y + 2.0f, 14.0f, kTextColour, false, 0,
                                    projection);
            gFont->drawTextShadowed(t->caption, t->x + 4.0f, t->y + 18.0f, 16.0f, kTextColour, true, 0,
                                    projection);
            gFont->drawTextShadowed(t->note, t->x + t->w - 4.0f, t->y + 18.0f, 16.0f, kTextColour, false, 2,
                                    projection);
        }
    }
}

// A hovered state lasts until the next motion, also when the mouse leaves the window.
bool Canvas::mouseMove(float x, float y) {
    bool over = false;
    for (std::list<Control*>::iterator it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (!c->takesMouse()) {
            continue;
        }
        c->state = 0;
        if (c->hits(x, y)) {
            c->state = 1;
            over = true;
        }
    }
    return over;
}

// Every control under the point fires, also where controls overlap; a callback may not remove controls
// from this canvas's list.
bool Canvas::mouseClick(float x, float y) {
    bool clicked = false;
    for (std::list<Control*>::iterator it = controls.begin(); it != controls.end(); ++it) {
        Control* c = *it;
        if (c->takesMouse() && c->hits(x, y) && c->callback) {
            c->callback(c);
            clicked = true;
        }
    }
    return clicked;
}
