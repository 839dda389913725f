#include "render/draw_2d.h"

// Channels from the top byte down.
void colourToTint(unsigned int colour, float* tint) {
    tint[0] = (float)((colour >> 24) & 0xFF) / 255.0f;
    tint[1] = (float)((colour >> 16) & 0xFF) / 255.0f;
    tint[2] = (float)((colour >> 8) & 0xFF) / 255.0f;
    tint[3] = (float)(colour & 0xFF) / 255.0f;
}

// The buffer is re-specified on every call (orphaned), so a draw never waits for the previous one.
void streamDraw(GLuint vertexArray, GLuint buffer, const float* data, size_t bytes,
                const StreamedAttribute* attributes, int attributeCount, GLenum mode, int vertices, int run) {
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, (GLsizeiptr)bytes, data, GL_STREAM_DRAW);
    for (int i = 0; i < attributeCount; ++i) {
        GLuint location = (GLuint)attributes[i].location;
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, attributes[i].components, GL_FLOAT, GL_FALSE, 0,
                              (const void*)attributes[i].offset);
    }
    for (int first = 0; first + run <= vertices; first += run) {
        glDrawArrays(mode, first, run);
    }
    for (int i = 0; i < attributeCount; ++i) {
        glDisableVertexAttribArray((GLuint)attributes[i].location);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}
