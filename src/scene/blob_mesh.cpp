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

// The rgb of a player's colour; anything but 0..3 is green.
void playerColour(int player, float tint[4]) {
    if (player < 0 || player > 3) {
        player = 0;
    }
    tint[0] = kPlayerColours[player][0];
    tint[1] = kPlayerColours[player][1];
    tint[2] = kPlayerColours[player][2];
}

// The colour of a colour code: its player (code mod 4, C remainder, so a negative code is green), and for
// codes above 3 (a mining unit) red and blue below `below` raised by `lift`. Green stays as it is so the
// human's units keep their hue.
void codeColour(int colourCode, float below, float lift, float tint[4]) {
    playerColour(colourCode % 4, tint);
    if (colourCode > 3) {
        if (tint[0] < below) {
            tint[0] += lift;
        }
        if (tint[2] < below) {
            tint[2] += lift;
        }
    }
}

void setMagenta(float tint[4]) {
    tint[0] = 1.0f;
    tint[1] = 0.0f;
    tint[2] = 1.0f;
}

// Issues the n - 1 strips of the bound grid of size n.
void drawStrips(int n) {
    int stripLength = 2 * n + 2;
    for (int k = 0; k < n - 1; ++k) {
        glDrawElements(GL_TRIANGLE_STRIP, stripLength, GL_UNSIGNED_INT, (const void*)(size_t)(k * stripLength * 4));
    }
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
        // A program that failed to load has no attribute; -1 would be a GL error on every level.
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

// 32 - ratio^0.95, truncated and kept to 8..32, less 8.
int BlobMesh::levelOfDetail(float ratio) {
    // A negative ratio (behind the near plane) has no real power: NaN fails the test like a huge ratio
    // does, and both get the coarsest grid before the int conversion could overflow.
    float f = 32.0f - powf(ratio, 0.95f);
    if (!(f >= 8.0f)) {
        return 0;
    }
    return (int)f - 8;
}

// Tint rule A: the code's colour with alpha 1, magenta with alpha (code - 8) percent above 7.
void BlobMesh::draw(float x, float y, float z, float width, float height, float vertfactor, int model,
                    int colourCode, int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum) {
    float tint[4];
    codeColour(colourCode, 0.8f, 0.2f, tint);
    tint[3] = 1.0f;
    if (colourCode > 7) {
        setMagenta(tint);
        tint[3] = (float)(colourCode - 8) / 100.0f;
    }
    drawBlob(kPlain, x, y, z, width, height, width > height ? width : height, height / width, vertfactor, model, 0,
             0.0f, 0.0f, tint, time, projection, modelview, frustum);
}

// Tint rule B: the code's colour lightened less, alpha = fade, magenta for exactly 8.
void BlobMesh::drawDying(float x, float y, float z, float fade, float width, float height, float vertfactor,
                         int model, int colourCode, int time, MatrixStack* projection, MatrixStack* modelview,
                         Frustum* frustum) {
    float tint[4];
    codeColour(colourCode, 0.9f, 0.1f, tint);
    tint[3] = fade;
    if (colourCode == 8) {
        setMagenta(tint);
    }
    drawBlob(kDying, x, y, z, width, height, width > height ? width : height, height / width, vertfactor, model, 0,
             0.0f, fade, tint, time, projection, modelview, frustum);
}

// The size moves with the mix; the level of detail and zfactor stay with the first shape.
void BlobMesh::drawMorph(float x, float y, float z, float width1, float height1, float width2, float height2,
                         int model, int model2, int player, int time, MatrixStack* projection,
                         MatrixStack* modelview, float mix, Frustum* frustum) {
    float tint[4];
    playerColour(player, tint);
    tint[3] = 1.0f;
    float w = (1.0f - mix) * width1 + mix * width2;
    float h = (1.0f - mix) * height1 + mix * height2;
    drawBlob(kMorph, x, y, z, w, h, width1 > height1 ? width1 : height1, height1 / width1, 0.03f, model, model2, mix,
             0.0f, tint, time, projection, modelview, frustum);
}

// Places the blob, sends every uniform in a fixed order and draws its strips, far side first when
// transparent. Without a working program the blob simply does not appear (its uniforms would only raise
// GL errors every frame).
void BlobMesh::drawBlob(Variant variant, float x, float y, float z, float w, float h, float size, float zfactor,
                        float vertfactor, int model, int model2, float mix, float fade, const float tint[4],
                        int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum) {
    if (!shader->valid) {
        return;
    }
    int level = levelOfDetail(frustum->distance(x, y, z, kPlaneNear) / size);
    int n = level + 8;
    glBindVertexArray(vertexArrays[level]);
    shader->bind();

    // Lifted by (H - 1) / 2 so the shape's bottom at -0.5 rests on the ground below the unit's centre.
    modelview->push();
    modelview->translate(x, y, z + (h - 1.0f) / 2.0f);
    if (variant == kDying) {
        modelview->rotate(fade * 110.0f, sinf(x), sinf(y), 0.0f);
    }
    modelview->scale(w, w, h);
    glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview->current.m);
    modelview->pop();

    glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
    glUniform4f(shader->uniform("tint"), tint[0], tint[1], tint[2], tint[3]);
    glUniform1i(shader->uniform("time"), time);
    glUniform1i(shader->uniform("model"), model);
    if (variant == kMorph) {
        glUniform1i(shader->uniform("model2"), model2);
    }
    glUniform1f(shader->uniform("vertfactor"), vertfactor);
    glUniform1f(shader->uniform("mixfactor"), mix);
    glUniform1f(shader->uniform("resolution"), (float)n);
    glUniform1f(shader->uniform("x"), x);
    glUniform1f(shader->uniform("y"), y);
    glUniform1f(shader->uniform("z"), z);
    glUniform1f(shader->uniform("zfactor"), zfactor);

    if (transparent) {
        glEnable(GL_BLEND);
        if (variant == kPlain) {
            glDepthFunc(GL_LEQUAL);
        } else {
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        }
        // Far side first, without depth writes, so the near side blends over it.
        glFrontFace(GL_CW);
        glDepthMask(GL_FALSE);
        drawStrips(n);
        glFrontFace(GL_CCW);
        glDepthMask(GL_TRUE);
        if (variant == kPlain) {
            glDepthFunc(GL_LESS);
        }
    }
    drawStrips(n);
    Shader::unbind();
    glBindVertexArray(0);
    if (transparent) {
        glDisable(GL_BLEND);
    }
}
