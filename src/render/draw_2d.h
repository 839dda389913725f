#ifndef GELMARCH_RENDER_DRAW_2D_H
#define GELMARCH_RENDER_DRAW_2D_H

#include <GL/glew.h>

#include <cstddef>

// What the Canvas and the Font share for their 2D layer: colours given as 0xRRGGBBAA, and a few vertices
// streamed through one buffer per draw.

// One attribute of streamed vertex data: the program's location, floats per vertex and the byte offset
// of its first value (each attribute's values are packed one after another).
struct StreamedAttribute {
    GLint location;
    int components;
    size_t offset;
};

// 0xRRGGBBAA to four floats in 0..1.
void colourToTint(unsigned int colour, float* tint);

// Streams `bytes` of `data` into `buffer` under `vertexArray`, points the attributes at it, draws `vertices`
// vertices as separate runs of `run` in `mode`, and unbinds the buffer and the vertex array again.
// The program, its uniforms and its textures are the caller's to set.
void streamDraw(GLuint vertexArray, GLuint buffer, const float* data, size_t bytes,
                const StreamedAttribute* attributes, int attributeCount, GLenum mode, int vertices, int run);

#endif
