// The unit manager's 3D drawing of units, crystals and markers, and the shared vertex stream that every
// marker and effect goes through.

#include "game/unit_manager.h"

#include "render/shader.h"

// Nothing is made until the first draw, so a manager that never draws needs no GL objects.
UnitManager::StreamGeometry::StreamGeometry() : vertexArray(0), buffer(0) {}

// Needs the context that made the objects to be current (the manager dies before the window).
UnitManager::StreamGeometry::~StreamGeometry() {
    if (buffer != 0) {
        glDeleteBuffers(1, &buffer);
    }
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
    }
}

// Positions first, texcoords after them in the same buffer; the buffer is orphaned on every upload so
// the driver never waits for the previous draw.
void UnitManager::StreamGeometry::upload(Shader* shader, const float* vertices, const float* texcoords,
                                         int count) {
    if (vertexArray == 0) {
        glGenVertexArrays(1, &vertexArray);
        glGenBuffers(1, &buffer);
    }
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    GLsizeiptr positionBytes = (GLsizeiptr)(count * 3 * sizeof(float));
    GLsizeiptr texcoordBytes = texcoords ? (GLsizeiptr)(count * 2 * sizeof(float)) : 0;
    glBufferData(GL_ARRAY_BUFFER, positionBytes + texcoordBytes, 0, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, positionBytes, vertices);
    GLint vertex = shader->attribute("vertex");
    if (vertex >= 0) {
        glVertexAttribPointer(vertex, 3, GL_FLOAT, GL_FALSE, 0, 0);
        glEnableVertexAttribArray(vertex);
    }
    if (texcoords) {
        glBufferSubData(GL_ARRAY_BUFFER, positionBytes, texcoordBytes, texcoords);
        GLint texcoord = shader->attribute("texcoord");
        if (texcoord >= 0) {
            glVertexAttribPointer(texcoord, 2, GL_FLOAT, GL_FALSE, 0, (const void*)(size_t)positionBytes);
            glEnableVertexAttribArray(texcoord);
        }
    }
}

// The attributes belong to this array only, but a later upload with fewer of them must not read stale ones.
void UnitManager::StreamGeometry::release(Shader* shader) {
    GLint vertex = shader->attribute("vertex");
    if (vertex >= 0) {
        glDisableVertexAttribArray(vertex);
    }
    GLint texcoord = shader->attribute("texcoord");
    if (texcoord >= 0) {
        glDisableVertexAttribArray(texcoord);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}
