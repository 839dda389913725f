#ifndef GELMARCH_RENDER_CANVAS_H
#define GELMARCH_RENDER_CANVAS_H

#include <GL/glew.h>

#include <list>

#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"

class Control;

// The 2D layer of a screen, in window pixels (origin bottom-left, y up) under the projection each call is
// given. Colours given as one number are 0xRRGGBBAA. Each shape's few vertices are streamed through one
// buffer under the Canvas's own vertex array. A 2D pass is begin2D, drawing calls, end2D.
class Canvas {
public:
    Canvas();
    ~Canvas();

    // Blending on, depth test and culling off, plainShader bound.
    void begin2D();
    // Ends the global font's text mode, unbinds, and restores the 3D state (depth test and culling on,
    // blending off).
    void end2D();

    // The plain shapes expect plainShader to be bound (begin2D, drawTexture and drawInterface leave it so).
    void drawRect(float x, float y, float w, float h, unsigned int colour, bool outline, MatrixStack* projection);
    // Fill and outline in the button colours of state 0 normal, 1 hovered, 2 pressed, -1 selection box.
    void drawButtonBox(float x, float y, float w, float h, int state, MatrixStack* projection);
    // Only the outline of drawButtonBox.
    void drawFrame(float x, float y, float w, float h, int state, MatrixStack* projection);
    // A 4 x 4 pixel square centred on (x, y), coloured by kind (minimap dots).
    void drawMarker(float x, float y, int kind, MatrixStack* projection);
    // The whole texture over the rectangle: t = 0 (the image's top row) along the bottom edge.
    // Ends with plainShader bound.
    void drawTexture(float x, float y, float w, float h, MatrixStack* projection, Texture texture);
    // A w x h piece of the 512 x 512 interface atlas at (texX, texY), counted from the atlas's bottom-left,
    // one texel per pixel. Ends with no program bound.
    void drawInterfacePart(float x, float y, float w, float h, float texX, float texY, MatrixStack* projection);
    // The HUD background of the game screen, sized to gScreenWidth. Ends with plainShader bound.
    void drawInterface(MatrixStack* projection);

    // The GUI controls. The list does not own them.
    void addControl(Control* control);
    // Boxes, then atlas pictures, then texts (leaving the font's text mode on). plainShader bound on entry.
    void drawControls(MatrixStack* projection);
    // Marks every mouse-answering control under the point as hovered, the others as normal;
    // true if the point is on at least one.
    bool mouseMove(float x, float y);
    // Runs the callback of every mouse-answering control under the point, in list order;
    // true if at least one ran.
    bool mouseClick(float x, float y);

    std::list<Control*> controls;
    Shader* plainShader;
    Shader* texShader;
    Texture interfaceTexture;

private:
    void drawPlain(float x, float y, float w, float h, const float* tint, GLenum mode, MatrixStack* projection);
    void drawTextured(const float* corners, const float* texcoords, Texture texture, MatrixStack* projection);

    GLuint vertexArray;
    GLuint vertexBuffer;

    Canvas(const Canvas&);
    Canvas& operator=(const Canvas&);
};

#endif
