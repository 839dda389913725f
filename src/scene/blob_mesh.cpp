#include "scene/blob_mesh.h"

#include <cmath>
#include <vector>

#include "render/frustum.h"
#include "render/gl_error.h"
#include "render/matrix_stack.h"
#include "render/shader.h"

namespace {

const float kPlayerColours[4][3] = {
    {0.0f, 1.0f, 0.0f},
    {1.0f, 0.0f, 0.0f},
    {0.0f, 0.0f, 1.0f},
    {1.0f, 1.0f, 0.0f},
};

// Player colour for an index that is already reduced; out-of-range indices read as green.
void setPlayerColour(int player, float tint[4]) {
    if (player < 0 || player > 3) {
        player = 0;
    }
    tint[0] = kPlayerColours[player][0];
    tint[1] = kPlayerColours[player][1];
    tint[2] = kPlayerColours[player][2];
}

}  // namespace

// Uploads the 25 grids, each with its own vertex array recording the buffers; needs a current context.
BlobMesh::BlobMesh() : transparent(true), shader(0) {
    shader = new Shader("..\\shader\\blob");
    shader->bind();
    for (int level = 0; level < kBlobLevels; ++level) {
        int n = level + 8;
        glGenVertexArrays(1, &vertexArrays[level]);
        glBindVertexArray(vertexArrays[level]);

        // The grid holds its own column and row numbers; the shader turns them into a shape.
        std::vector<float> grid(n * (n + 1) * 2);
        for (int k = 0; k < n; ++k) {
            for (int j = 0; j <= n; ++j) {
                int e = k * (n + 1) + j;
                grid[e * 2] = (float)j;
                grid[e * 2 + 1] = (float)k;
            }
        }
        glGenBuffers(1, &vertexBuffers[level]);
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffers[level]);
        glBufferData(GL_ARRAY_BUFFER, grid.size() * sizeof(float), &grid[0], GL_STATIC_DRAW);

        std::vector<GLuint> indices((2 * n - 2) * (n + 1));
        for (int k = 0; k < n - 1; ++k) {
            int base = k * (2 * n + 2);
            for (int j = 0; j <= n; ++j) {
                indices[base + j * 2] = (GLuint)((k + 1) * (n + 1) + j);
                indices[base + j * 2 + 1] = (GLuint)(k * (n + 1) + j);
            }
        }
        glGenBuffers(1, &indexBuffers[level]);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffers[level]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(GLuint), &indices[0], GL_STATIC_DRAW);

        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffers[level]);
        GLint vertex = shader->attribute("vertex");
        if (vertex >= 0) {
            glVertexAttribPointer(vertex, 2, GL_FLOAT, GL_FALSE, 0, 0);
            glEnableVertexAttribArray(vertex);
        }
    }
    glBindVertexArray(0);
    Shader::unbind();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    checkGlError();
}

// Releases every level's vertex array and buffers, then the shader.
BlobMesh::~BlobMesh() {
    for (int level = 0; level < kBlobLevels; ++level) {
        glDeleteVertexArrays(1, &vertexArrays[level]);
        glDeleteBuffers(1, &vertexBuffers[level]);
        glDeleteBuffers(1, &indexBuffers[level]);
    }
    delete shader;
}

// 0..24 from a distance-over-size ratio; NaN-safe for blobs behind the camera.
int BlobMesh::levelOfDetail(float ratio) {
    // powf of a negative base is NaN; a blob behind the near plane gets the coarsest grid.
    float p = powf(ratio, 0.95f);
    if (p != p) {
        return 0;
    }
    // Clamp before truncating: a huge ratio would overflow the int conversion.
    float f = 32.0f - p;
    if (f < 8.0f) {
        return 0;
    }
    int i = (int)f;
    if (i > 32) {
        i = 32;
    }
    return i - 8;
}

// Player colour, alpha 1; morphing units are tinted this way.
void BlobMesh::playerTint(int player, float tint[4]) {
    setPlayerColour(player, tint);
    tint[3] = 1.0f;
}

// draw's tint: the player colour of code mod 4, lighter above 3, magenta crystal alpha above 7.
void BlobMesh::codeTint(int colourCode, float tint[4]) {
    int player = colourCode % 4;
    setPlayerColour(player < 0 ? 0 : player, tint);
    tint[3] = 1.0f;
    if (colourCode > 3) {
        // A lighter tint while mining; green stays as it is so the human's units keep their hue.
        if (tint[0] < 0.8f) {
            tint[0] += 0.2f;
        }
        if (tint[2] < 0.8f) {
            tint[2] += 0.2f;
        }
    }
    if (colourCode > 7) {
        tint[0] = 1.0f;
        tint[1] = 0.0f;
        tint[2] = 1.0f;
        tint[3] = (float)(colourCode - 8) / 100.0f;
    }
}

// drawDying's tint: as codeTint but lighter by less, alpha = fade, magenta only for 8.
void BlobMesh::dyingTint(int colourCode, float fade, float tint[4]) {
    int player = colourCode % 4;
    setPlayerColour(player < 0 ? 0 : player, tint);
    tint[3] = fade;
    if (colourCode > 3) {
        if (tint[0] < 0.9f) {
            tint[0] += 0.1f;
        }
        if (tint[2] < 0.9f) {
            tint[2] += 0.1f;
        }
    }
    if (colourCode == 8) {
        tint[0] = 1.0f;
        tint[1] = 0.0f;
        tint[2] = 1.0f;
    }
}

// A unit or crystal at rest or busy; the blend function stays the caller's.
void BlobMesh::draw(float x, float y, float z, float width, float height, float vertfactor, int model,
                    int colourCode, int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum) {
    float tint[4];
    codeTint(colourCode, tint);
    drawBlob(x, y, z, width, height, width > height ? width : height, height / width, vertfactor, model, -1, 0.0f,
             tint, time, false, 0.0f, 0, projection, modelview, frustum);
}

// A dead unit shrinking (caller's sizes), tipping over and fading out.
void BlobMesh::drawDying(float x, float y, float z, float fade, float width, float height, float vertfactor,
                         int model, int colourCode, int time, MatrixStack* projection, MatrixStack* modelview,
                         Frustum* frustum) {
    float tint[4];
    dyingTint(colourCode, fade, tint);
    drawBlob(x, y, z, width, height, width > height ? width : height, height / width, vertfactor, model, -1, 0.0f,
             tint, time, true, fade, 1, projection, modelview, frustum);
}

// A unit between two types; detail level and zfactor follow the first shape.
void BlobMesh::drawMorph(float x, float y, float z, float width1, float height1, float width2, float height2,
                         int model, int model2, int player, int time, MatrixStack* projection,
                         MatrixStack* modelview, float mix, Frustum* frustum) {
    float tint[4];
    playerTint(player, tint);
    float w = (1.0f - mix) * width1 + mix * width2;
    float h = (1.0f - mix) * height1 + mix * height2;
    drawBlob(x, y, z, w, h, width1 > height1 ? width1 : height1, height1 / width1, 0.03f, model, model2, mix, tint,
             time, false, 0.0f, 1, projection, modelview, frustum);
}

// Places the blob, sends every uniform in a fixed order and draws its strips, far side first when
// transparent. Expects the 3D pass state (depth test and culling on, blending off) and restores it.
void BlobMesh::drawBlob(float x, float y, float z, float w, float h, float sizeForDetail, float zfactor,
                        float vertfactor, int model, int model2, float mix, const float tint[4], int time,
                        bool rotateDying, float fade, int blendMode, MatrixStack* projection,
                        MatrixStack* modelview, Frustum* frustum) {
    // Without a working program there is nothing to draw with (and uniforms would raise GL errors every
    // frame): the blob simply does not appear.
    if (!shader->valid) {
        return;
    }
    int level = levelOfDetail(frustum->distance(x, y, z, kPlaneNear) / sizeForDetail);
    int n = level + 8;
    glBindVertexArray(vertexArrays[level]);
    shader->bind();

    modelview->push();
    modelview->translate(x, y, z + (h - 1.0f) / 2.0f);
    if (rotateDying) {
        modelview->rotate(fade * 110.0f, sinf(x), sinf(y), 0.0f);
    }
    modelview->scale(w, w, h);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview->current.m);
    modelview->pop();

    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4f(shader->uniform("tint"), tint[0], tint[1], tint[2], tint[3]);
    glUniform1i(shader->uniform("time"), time);
    glUniform1i(shader->uniform("model"), model);
    if (model2 >= 0) {
        glUniform1i(shader->uniform("model2"), model2);
    }
    glUniform1f(shader->uniform("vertfactor"), vertfactor);
    glUniform1f(shader->uniform("mixfactor"), mix);
    glUniform1f(shader->uniform("resolution"), (float)n);
    glUniform1f(shader->uniform("x"), x);
    glUniform1f(shader->uniform("y"), y);
    glUniform1f(shader->uniform("z"), z);
    glUniform1f(shader->uniform("zfactor"), zfactor);

    int stripLength = 2 * n + 2;
    if (transparent) {
        glEnable(GL_BLEND);
        if (blendMode == 0) {
            glDepthFunc(GL_LEQUAL);
        } else {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        // Far side first, without depth writes, so the near side blends over it.
        glFrontFace(GL_CW);
        glDepthMask(GL_FALSE);
        for (int k = 0; k < n - 1; ++k) {
            glDrawElements(GL_TRIANGLE_STRIP, stripLength, GL_UNSIGNED_INT, (const void*)(size_t)(k * stripLength * 4));
        }
        glFrontFace(GL_CCW);
        glDepthMask(GL_TRUE);
        if (blendMode == 0) {
            glDepthFunc(GL_LESS);
        }
    }
    for (int k = 0; k < n - 1; ++k) {
        glDrawElements(GL_TRIANGLE_STRIP, stripLength, GL_UNSIGNED_INT, (const void*)(size_t)(k * stripLength * 4));
    }
    Shader::unbind();
    glBindVertexArray(0);
    if (transparent) {
        glDisable(GL_BLEND);
    }
}
