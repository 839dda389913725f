// The terrain object: construction order, height queries, the mesh and its GL objects, drawing,
// the minimap and texture filtering. Generation lives in terrain_generation.cpp, the fog in terrain_fog.cpp.

#include "scene/terrain.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "render/frustum.h"
#include "render/matrix_stack.h"
#include "render/shader.h"
#include "render/texture.h"
#include "render/vector3.h"

namespace {

const int kChunkCells = 16;
const int kIndicesPerStrip = 34;
const int kIndicesPerChunk = kIndicesPerStrip * kChunkCells;
const float kChunkRadius = 13.92f;

}  // namespace

// Builds the whole map in a fixed order (the random numbers are drawn in this order too).
Terrain::Terrain(int size_, int tileSet)
    : minimapTexture(0), fogTexture(0), fogMap(0), fogDisabled(false), heights(0), size(size_), shader(0),
      weightTexture(0), vertexArray(0), positionBuffer(0), indexBuffer(0), normalBuffer(0), frustumCulling(true) {
    int w = size + 1;
    int vertices = w * w;
    heights = new float[vertices];
    for (int i = 0; i < 4; ++i) {
        tileTextures[i] = 0;
        normalTextures[i] = 0;
    }

    float* positions = new float[vertices * 3];
    float* normals = new float[vertices * 3];
    unsigned int* indices = new unsigned int[indexCount()];
    fogTexture = createBlankTexture(size);
    fogMap = new unsigned char[size * size * 4];
    std::memset(fogMap, 0, size * size * 4);

    loadTileTextures(tileSet);
    generateHeights(heights);
    applyModifierImage(modifierPath(size, tileSet, rand() % 3), tileSet);

    buildPositions(positions);
    buildIndices(indices);
    buildNormals(normals);
    createMeshObjects(positions, indices, normals);

    signed char* types = new signed char[vertices];
    classifyTiles(tileSet, types);
    unsigned char* image = new unsigned char[16 * size * size * 3];
    buildWeightImage(types, image);
    createWeightTexture(image);

    renderMinimap();

    delete[] image;
    delete[] types;
    delete[] indices;
    delete[] normals;
    delete[] positions;
}

// Releases every GL object and array the constructor made.
Terrain::~Terrain() {
    glDeleteTextures(4, tileTextures);
    glDeleteTextures(4, normalTextures);
    glDeleteTextures(1, &weightTexture);
    glDeleteTextures(1, &minimapTexture);
    glDeleteTextures(1, &fogTexture);
    glDeleteBuffers(1, &positionBuffer);
    glDeleteBuffers(1, &normalBuffer);
    glDeleteBuffers(1, &indexBuffer);
    glDeleteVertexArrays(1, &vertexArray);
    delete shader;
    delete[] fogMap;
    delete[] heights;
}

// Assumes size is a multiple of the 16-cell chunk.
int Terrain::indexCount() const {
    int chunks = size / kChunkCells;
    return chunks * chunks * kIndicesPerChunk;
}

// Bilinear between the four vertices around (x, y); the outermost vertex ring never contributes.
float Terrain::height(float x, float y) const {
    int ix = (int)x;
    int iy = (int)y;
    float fx = x - (float)ix;
    float fy = y - (float)iy;
    if (ix < 1) {
        ix = 1;
        fx = 0.0f;
    }
    if (iy < 1) {
        iy = 1;
        fy = 0.0f;
    }
    if (ix >= size - 1) {
        ix = size - 2;
        fx = 1.0f;
    }
    if (iy >= size - 1) {
        iy = size - 2;
        fy = 1.0f;
    }
    int w = size + 1;
    const float* h = heights + ix + iy * w;
    float a = (1.0f - fx) * h[0] + fx * h[1];
    float b = (1.0f - fx) * h[w] + fx * h[w + 1];
    return (1.0f - fy) * a + fy * b;
}

// Five samples in a fixed order; a later one wins only when strictly higher.
float Terrain::maxHeightAround(float x, float y, float radius) const {
    float samples[5] = {height(x, y), height(x + radius, y), height(x - radius, y), height(x, y + radius),
                        height(x, y - radius)};
    float best = samples[0];
    for (int i = 1; i < 5; ++i) {
        if (samples[i] > best) {
            best = samples[i];
        }
    }
    return best;
}

// The outer ring folds in to 2 and size - 2 to form the map's rim; the second ring is jittered by up to a
// quarter cell so the rim does not look ruled. Draws one jitter per jittered coordinate, x before y.
void Terrain::buildPositions(float* positions) const {
    int w = size + 1;
    for (int x = 0; x <= size; ++x) {
        for (int y = 0; y <= size; ++y) {
            float* p = positions + (x + y * w) * 3;
            int coords[2] = {x, y};
            for (int axis = 0; axis < 2; ++axis) {
                int v = coords[axis];
                float value = (float)v;
                if (v == 0) {
                    value = 2.0f;
                } else if (v == size) {
                    value = (float)size - 2.0f;
                } else if (v == 1 || v == size - 1) {
                    value = (float)v + (float)jitter() * 0.25f / 10000.0f;
                }
                p[axis] = value;
            }
            p[2] = heights[x + y * w];
        }
    }
}

// Chunk (X, Y) holds 16 strips of 34 indices; each strip zigzags between rows r + 1 and r.
void Terrain::buildIndices(unsigned int* indices) const {
    int chunks = size / kChunkCells;
    int w = size + 1;
    for (int cy = 0; cy < chunks; ++cy) {
        for (int cx = 0; cx < chunks; ++cx) {
            unsigned int* chunk = indices + (cy * chunks + cx) * kIndicesPerChunk;
            for (int r = 0; r < kChunkCells; ++r) {
                unsigned int* strip = chunk + r * kIndicesPerStrip;
                for (int c = 0; c <= kChunkCells; ++c) {
                    int x = kChunkCells * cx + c;
                    int y = kChunkCells * cy + r;
                    strip[c * 2] = (unsigned int)(x + (y + 1) * w);
                    strip[c * 2 + 1] = (unsigned int)(x + y * w);
                }
            }
        }
    }
}

// Sum of the cross products of consecutive neighbour pairs (later x earlier), z halved to exaggerate
// slopes. Uses the grid offsets, not the jittered positions. Level ground gives (0, 0, -1).
void Terrain::buildNormals(float* normals) const {
    static const int kOffsets[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    int w = size + 1;
    for (int x = 0; x <= size; ++x) {
        for (int y = 0; y <= size; ++y) {
            float h = heights[x + y * w];
            Vector3 n;
            for (int i = 0; i < 8; ++i) {
                int j = (i + 1) % 8;
                int xi = x + kOffsets[i][0];
                int yi = y + kOffsets[i][1];
                int xj = x + kOffsets[j][0];
                int yj = y + kOffsets[j][1];
                if (xi < 0 || yi < 0 || xi > size || yi > size || xj < 0 || yj < 0 || xj > size || yj > size) {
                    continue;
                }
                Vector3 a((float)kOffsets[i][0], (float)kOffsets[i][1], heights[xi + yi * w] - h);
                Vector3 b((float)kOffsets[j][0], (float)kOffsets[j][1], heights[xj + yj * w] - h);
                b.cross(a);
                n.add(b);
            }
            n.z = n.z / 2.0f;
            n.normalize();
            float* out = normals + (x + y * w) * 3;
            out[0] = n.x;
            out[1] = n.y;
            out[2] = n.z;
        }
    }
}

// Surface images first, then the matching normal maps; a missing file leaves name 0.
void Terrain::loadTileTextures(int tileSet) {
    static const char* const kFiles[2][8] = {
        {".\\textures\\terrain\\0.bmp", ".\\textures\\terrain\\1.bmp", ".\\textures\\terrain\\2.bmp",
         ".\\textures\\terrain\\3.bmp", ".\\textures\\terrain\\0n.bmp", ".\\textures\\terrain\\1n.bmp",
         ".\\textures\\terrain\\2n.bmp", ".\\textures\\terrain\\3n.bmp"},
        {".\\textures\\terrain\\4.bmp", ".\\textures\\terrain\\5.bmp", ".\\textures\\terrain\\6.bmp",
         ".\\textures\\terrain\\7.bmp", ".\\textures\\terrain\\4n.bmp", ".\\textures\\terrain\\5n.bmp",
         ".\\textures\\terrain\\6n.bmp", ".\\textures\\terrain\\7n.bmp"}};
    int set = tileSet == 1 ? 1 : 0;
    for (int i = 0; i < 4; ++i) {
        tileTextures[i] = loadTexture(kFiles[set][i]);
    }
    for (int i = 0; i < 4; ++i) {
        normalTextures[i] = loadTexture(kFiles[set][4 + i]);
    }
}

// Vertex array with positions, normals and strip indices; the samplers and map size are set once here.
void Terrain::createMeshObjects(const float* positions, const unsigned int* indices, const float* normals) {
    int vertices = (size + 1) * (size + 1);
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    shader = new Shader("..\\shader\\terrain");
    shader->bind();

    glGenBuffers(1, &positionBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glBufferData(GL_ARRAY_BUFFER, vertices * 12, positions, GL_STATIC_DRAW);
    glGenBuffers(1, &normalBuffer);
    glBindBuffer(GL_ARRAY_BUFFER, normalBuffer);
    glBufferData(GL_ARRAY_BUFFER, vertices * 12, normals, GL_STATIC_DRAW);
    glGenBuffers(1, &indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, indexCount() * 4, indices, GL_STATIC_DRAW);

    // A shader that failed to load has no attributes; skipping keeps the GL error queue clean.
    GLint vertexAttribute = shader->attribute("vertex");
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    if (vertexAttribute >= 0) {
        glVertexAttribPointer(vertexAttribute, 3, GL_FLOAT, GL_FALSE, 0, 0);
        glEnableVertexAttribArray(vertexAttribute);
    }
    GLint normalAttribute = shader->attribute("normal");
    glBindBuffer(GL_ARRAY_BUFFER, normalBuffer);
    if (normalAttribute >= 0) {
        glVertexAttribPointer(normalAttribute, 3, GL_FLOAT, GL_FALSE, 0, 0);
        glEnableVertexAttribArray(normalAttribute);
    }

    if (shader->valid) {
        static const char* const kSamplers[10] = {"terrain0", "terrain1", "terrain2", "terrain3", "normal0",
                                                  "normal1",  "normal2",  "normal3",  "alpha",    "fow"};
        for (int i = 0; i < 10; ++i) {
            glUniform1i(shader->uniform(kSamplers[i]), i);
        }
        glUniform1f(shader->uniform("mapsize"), (float)size);
    }

    glBindVertexArray(0);
    Shader::unbind();
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// Mipmapped RGB weights. Clamped at the edges: the map does not tile, so the first and last texels
// must not blend with the opposite side of the map.
void Terrain::createWeightTexture(const unsigned char* image) {
    glGenTextures(1, &weightTexture);
    glBindTexture(GL_TEXTURE_2D, weightTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Rows are 12 * size bytes with size even: a multiple of every unpack alignment.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4 * size, 4 * size, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
    glGenerateMipmap(GL_TEXTURE_2D);
}

// Draws the whole map from straight above into the framebuffer's corner and copies it into the
// minimap texture. Leaves the viewport at 256 x 256 for the caller to reset.
void Terrain::renderMinimap() {
    minimapTexture = createBlankTexture(256);
    glViewport(0, 0, 256, 256);
    Frustum* frustum = new Frustum();
    MatrixStack* modelview = new MatrixStack();
    MatrixStack* projection = new MatrixStack();
    projection->ortho(0.0f, (float)size, 0.0f, (float)size, 100.0f, -100.0f);
    frustum->extract(*projection, *modelview);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw(modelview, projection, frustum);
    glBindTexture(GL_TEXTURE_2D, minimapTexture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 256, 256, 0);
    delete modelview;
    delete projection;
    delete frustum;
}

// One frame of terrain: all ten textures bound, the fog re-sent, then the chunks that pass the frustum
// (or every chunk while culling is off). Leaves texture unit 9 active.
void Terrain::draw(MatrixStack* modelview, MatrixStack* projection, Frustum* frustum) {
    glBindVertexArray(vertexArray);
    shader->bind();
    if (shader->valid) {
        glUniformMatrix4fv(shader->uniform("modelview"), 1, GL_FALSE, modelview->current.m);
        glUniformMatrix4fv(shader->uniform("projection"), 1, GL_FALSE, projection->current.m);
        glUniform1i(shader->uniform("time"), (GLint)SDL_GetTicks());
    }
    GLuint textures[9];
    drawingTextures(textures);
    for (int i = 0; i < 9; ++i) {
        glActiveTexture(GL_TEXTURE0 + i);
        glBindTexture(GL_TEXTURE_2D, textures[i]);
    }
    glActiveTexture(GL_TEXTURE9);
    glBindTexture(GL_TEXTURE_2D, fogTexture);
    // the texture already has its size x size RGBA storage; only the contents change each frame
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, fogMap);

    if (shader->valid) {
        drawChunksNearFirst(frustum);
    }
    Shader::unbind();
    glBindVertexArray(0);
}

// The chunks that pass the frustum (all of them while culling is off), nearest first, each chunk's rows
// from the camera's side, in one call. The ground is opaque and the depth test early, so ground drawn
// behind ground that is already there is not shaded at all; drawn the other way round it is shaded twice.
void Terrain::drawChunksNearFirst(Frustum* frustum) {
    int chunks = size / kChunkCells;
    int w = size + 1;
    std::vector<std::pair<float, int> > order;
    order.reserve(chunks * chunks);
    for (int cx = 0; cx < chunks; ++cx) {
        for (int cy = 0; cy < chunks; ++cy) {
            int vx = kChunkCells * cx + 8;
            int vy = kChunkCells * cy + 8;
            float z = heights[vx + vy * w];
            if (frustumCulling && !frustum->sphereVisible((float)vx, (float)vy, z, kChunkRadius)) {
                continue;
            }
            order.push_back(std::make_pair(frustum->distance((float)vx, (float)vy, z, kPlaneNear), cy * chunks + cx));
        }
    }
    std::sort(order.begin(), order.end());
    // Rows run along +y: start at row 0 when the view looks towards +y.
    bool rowsUp = frustum->planes[kPlaneNear][1] >= 0.0f;
    std::vector<GLsizei> counts(order.size() * kChunkCells, kIndicesPerStrip);
    std::vector<const void*> offsets(order.size() * kChunkCells);
    for (size_t i = 0; i < order.size(); ++i) {
        int first = order[i].second * kIndicesPerChunk;
        for (int k = 0; k < kChunkCells; ++k) {
            int r = rowsUp ? k : kChunkCells - 1 - k;
            offsets[i * kChunkCells + k] = (const void*)(size_t)((first + r * kIndicesPerStrip) * 4);
        }
    }
    if (!counts.empty()) {
        glMultiDrawElements(GL_TRIANGLE_STRIP, &counts[0], GL_UNSIGNED_INT, &offsets[0], (GLsizei)counts.size());
    }
}

// The tile, normal and weight textures as one run of nine, in the order the draw binds them to units 0..8.
void Terrain::drawingTextures(GLuint textures[9]) const {
    for (int i = 0; i < 4; ++i) {
        textures[i] = tileTextures[i];
        textures[4 + i] = normalTextures[i];
    }
    textures[8] = weightTexture;
}

// Option key: the nine drawing textures in their fixed order; fog and minimap keep their filtering.
void Terrain::setAnisotropy(float level) {
    GLuint textures[9];
    drawingTextures(textures);
    ::setAnisotropy(textures, 9, level);
}

// Option keys: the weight texture follows the tiles, so it is switched along with them.
void Terrain::setFiltering(bool linear, bool mipmaps) {
    GLuint textures[9];
    drawingTextures(textures);
    ::setFiltering(textures, 9, linear, mipmaps);
}
