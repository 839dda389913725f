#ifndef GELMARCH_SCENE_TERRAIN_H
#define GELMARCH_SCENE_TERRAIN_H

#include <GL/glew.h>

class Frustum;
class MatrixStack;
class Shader;

// The square height field of one match: generated once in the constructor, drawn every frame in 16 x 16
// chunks of triangle strips, with the fog of war and the minimap. Map units are cells; z is up.
// Vertex (x, y) is element x + y * (size + 1) of every per-vertex array.
class Terrain {
public:
    // 256 x 256 top view of the whole map, rendered once at the end of construction.
    GLuint minimapTexture;
    // size x size RGBA; alpha is the fog darkness, re-uploaded from fogMap at every draw.
    GLuint fogTexture;
    // size * size * 4 bytes, texel (x, y) at (y * size + x) * 4; only the alpha byte changes (0 clear, 128 fogged).
    unsigned char* fogMap;
    bool fogDisabled;
    // (size + 1)^2 vertex heights.
    float* heights;
    int size;
    Shader* shader;
    // tileTextures, normalTextures and weightTexture form one run of nine textures for filtering and drawing.
    GLuint tileTextures[4];
    GLuint normalTextures[4];
    GLuint weightTexture;
    GLuint vertexArray;
    GLuint positionBuffer;
    GLuint indexBuffer;
    GLuint normalBuffer;
    bool frustumCulling;

    // size is 64 or 128 (a multiple of 16); tileSet 0 "Rocky Grasslands", 1 "Crazy Asteroid".
    // Needs a current GL context; seeds rand() from the clock and consumes it.
    Terrain(int size, int tileSet);
    ~Terrain();

    // Bilinear ground height; positions outside 1 .. size - 1 are clamped to that range.
    float height(float x, float y) const;
    // Highest of height at the point and at the four points radius away along the axes.
    float maxHeightAround(float x, float y, float radius) const;

    // Draws with the current GL state (a 3D pass); culls chunks against frustum while frustumCulling is on.
    void draw(MatrixStack* modelview, MatrixStack* projection, Frustum* frustum);

    // Fog of war, rebuilt every frame: everything fogged (or clear while fogDisabled), then one reveal per unit.
    void resetFog();
    // Clears a disc of radius 7 around (x, y) with a one-cell soft edge; never darkens.
    void revealFog(float x, float y);
    // True when the fog texel under (x, y) is light enough to show what stands there.
    bool isVisible(float x, float y) const;

    // Filtering of the nine tile, normal and weight textures (not the fog or the minimap).
    void setAnisotropy(float level);
    void setFiltering(bool linear, bool mipmaps);

    // --- Construction steps, public so each can be checked on its own. ---

    // Seeds rand() from the clock, runs the midpoint displacement and the five smoothing passes on
    // target, which holds (size + 1)^2 floats.
    void generateHeights(float* target);
    // One midpoint-displacement step on the square of half-width half centred at (cx, cy) of an n x n cell
    // grid, then the four quadrants depth first. Points whose done flag is set keep their height.
    static void subdivide(float* heights, unsigned char* done, int n, int half, int cx, int cy, float amplitude,
                          float factor);
    // One smoothing pass (forward then backward sweep) over an n x n cell grid, in place.
    static void smoothPass(float* heights, int n);
    // The modifier image file for a map size, tile set and choice k in 0..2.
    static const char* modifierPath(int size, int tileSet, int k);
    // Adds (tile set 0) or substitutes (tile set 1) a greyscale image's heights. A missing or wrongly sized
    // image prints one line and leaves the heights as they are; returns whether the image was applied.
    bool applyModifierImage(const char* path, int tileSet);
    // Tile type 0..3 per vertex into types ((size + 1)^2 bytes).
    void classifyTiles(int tileSet, signed char* types) const;
    // The 4size x 4size RGB weight image (red type 1, green type 2, blue type 3) from a type map.
    void buildWeightImage(const signed char* types, unsigned char* image) const;
    // Folded and jittered vertex positions, 3 floats per vertex.
    void buildPositions(float* positions) const;
    // Strip indices for every 16 x 16 chunk: (size / 16)^2 * 544 of them.
    void buildIndices(unsigned int* indices) const;
    // Per-vertex normals from the eight neighbour pairs (level ground gives (0, 0, -1)), 3 floats each.
    void buildNormals(float* normals) const;
    // Number of strip indices for this map.
    int indexCount() const;

private:
    // One random jitter: rand() % 20001 - 10001, an integer in -10001..9999 (not symmetric about zero).
    static int jitter();
    void loadTileTextures(int tileSet);
    void createMeshObjects(const float* positions, const unsigned int* indices, const float* normals);
    void createWeightTexture(const unsigned char* image);
    void renderMinimap();
    void drawChunksNearFirst(Frustum* frustum);
    void drawingTextures(GLuint textures[9]) const;

    Terrain(const Terrain&);
    Terrain& operator=(const Terrain&);
};

#endif
