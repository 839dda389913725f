#include "scene/sky.h"

#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"

namespace {

const char* kSkyImages[12] = {
    ".\\textures\\skybox\\1.bmp", ".\\textures\\skybox\\2.bmp",  ".\\textures\\skybox\\3.bmp",
    ".\\textures\\skybox\\4.bmp", ".\\textures\\skybox\\5.bmp",  ".\\textures\\skybox\\6.bmp",
    ".\\textures\\skybox\\7.bmp", ".\\textures\\skybox\\8.bmp",  ".\\textures\\skybox\\9.bmp",
    ".\\textures\\skybox\\10.bmp", ".\\textures\\skybox\\11.bmp", ".\\textures\\skybox\\12.bmp",
};

// Each face is a strip of four corners; v runs with z on the sides (1 at the bottom edge).
const float kFaces[6][12] = {
    {0.5f, -0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 0.5f},
    {-0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f, 0.5f, -0.5f, -0.5f, 0.5f, -0.5f, 0.5f},
    {-0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f, -0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f},
    {0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 0.5f, -0.5f, 0.5f, -0.5f, -0.5f, 0.5f, 0.5f},
    {-0.5f, -0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0.5f},
    {-0.5f, 0.5f, -0.5f, -0.5f, -0.5f, -0.5f, 0.5f, 0.5f, -0.5f, 0.5f, -0.5f, -0.5f},
};

const float kTexcoords[8] = {1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f};

}  // namespace

// Tile set 1 is the asteroid sky; everything else gets the daylight one.
const char* skyImagePath(int tileSet, int face) {
    int first = tileSet == 1 ? 0 : 6;
    return kSkyImages[first + face];
}

// Loads the images in face order; loadTexture leaves each bound, so the wrap mode applies to it.
void loadSkyTextures(int tileSet, GLuint textures[6]) {
    for (int face = 0; face < 6; ++face) {
        textures[face] = loadTexture(skyImagePath(tileSet, face));
        if (textures[face] != 0) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
    }
}

// The cube never changes, so it is uploaded once: 24 positions followed by 24 texcoord pairs.
void createSkyGeometry(GLuint* vertexArray, GLuint* vertexBuffer) {
    float data[6 * 12 + 6 * 8];
    for (int face = 0; face < 6; ++face) {
        for (int i = 0; i < 12; ++i) {
            data[face * 12 + i] = kFaces[face][i];
        }
        for (int i = 0; i < 8; ++i) {
            data[72 + face * 8 + i] = kTexcoords[i];
        }
    }
    glGenVertexArrays(1, vertexArray);
    glGenBuffers(1, vertexBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, *vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(data), data, GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// Attribute locations are looked up at every draw, as for every other program of the game. The cube is
// pushed to the far end of the depth range and tested there, so it only fills pixels that nothing before
// it has covered: drawn after the opaque ground it costs nothing where the ground fills the screen, and
// anything drawn after it still covers it.
void drawSkyBox(Shader* shader, const GLuint textures[6], GLuint vertexArray, GLuint vertexBuffer,
                MatrixStack* projection, MatrixStack* rotation) {
    if (!shader || shader->program == 0) {
        return;
    }
    GLint depthFunc = GL_LESS;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    glDepthRange(1.0, 1.0);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    shader->bind();
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    GLint texcoord = shader->attribute("texcoord");
    GLint vertex = shader->attribute("vertex");
    if (texcoord >= 0) {
        glEnableVertexAttribArray(texcoord);
        glVertexAttribPointer(texcoord, 2, GL_FLOAT, GL_FALSE, 0, (const void*)(72 * sizeof(float)));
    }
    if (vertex >= 0) {
        glEnableVertexAttribArray(vertex);
        glVertexAttribPointer(vertex, 3, GL_FLOAT, GL_FALSE, 0, (const void*)0);
    }
    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, rotation->current.m);
    glUniform1i(shader->uniform("texture"), 0);
    glActiveTexture(GL_TEXTURE0);
    for (int face = 0; face < 6; ++face) {
        glBindTexture(GL_TEXTURE_2D, textures[face]);
        glDrawArrays(GL_TRIANGLE_STRIP, face * 4, 4);
    }
    if (texcoord >= 0) {
        glDisableVertexAttribArray(texcoord);
    }
    if (vertex >= 0) {
        glDisableVertexAttribArray(vertex);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glDepthFunc((GLenum)depthFunc);
    glDepthRange(0.0, 1.0);
}
