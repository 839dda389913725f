#ifndef GELMARCH_SCENE_BLOB_MESH_H
#define GELMARCH_SCENE_BLOB_MESH_H

#include <GL/glew.h>

class Frustum;
class MatrixStack;
class Shader;

// Number of grid resolutions kept; level L is an n x (n + 1) grid with n = L + 8.
const int kBlobLevels = 25;

// Every unit and crystal body. The grids hold only (column, row) numbers; the blob shader bends them onto
// the shape numbered "model" (blended towards "model2" while a unit morphs) and makes it wobble over time.
// Shapes: 0 Blob, 1 Fly, 2 Drop, 3 Muffin, 4 Bomber, 5 Rotundus and crystals, 6 Monsterpillow and Slime
// Tower, 7 Slimy.
class BlobMesh {
public:
    bool transparent;
    GLuint vertexArrays[kBlobLevels];
    GLuint vertexBuffers[kBlobLevels];
    GLuint indexBuffers[kBlobLevels];
    Shader* shader;

    // Needs a current GL context; loads "..\shader\blob" and uploads all 25 grids.
    BlobMesh();
    ~BlobMesh();

    // Grid level 0..24 for a blob whose distance to the near plane is `ratio` times its size: 24 when
    // close, 0 when far away or behind the camera (negative ratio).
    int levelOfDetail(float ratio);

    // The three draws expect the 3D pass state (depth test and culling on, blending off) and a frustum
    // extracted for the current camera. They end with blending off, front face CCW and depth writes on,
    // whatever they found; a transparent `draw` also leaves the depth function at GL_LESS.
    // One resting, moving or crystal blob. colourCode: player, + 4 while mining (lighter), or 8 + alpha
    // percent for the magenta crystal blobs. The blend function stays the caller's.
    void draw(float x, float y, float z, float width, float height, float vertfactor, int model, int colourCode,
              int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);
    // A dead unit fading out (alpha = fade) and tipping over by fade * 110 degrees; the caller shrinks the
    // sizes. When transparent, leaves the source-alpha blend function set.
    void drawDying(float x, float y, float z, float fade, float width, float height, float vertfactor, int model,
                   int colourCode, int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);
    // A unit turning from shape `model` (width1 x height1) into `model2` (width2 x height2) by mix 0..1;
    // detail and proportions follow the first shape. When transparent, leaves the source-alpha blend function set.
    void drawMorph(float x, float y, float z, float width1, float height1, float width2, float height2, int model,
                   int model2, int player, int time, MatrixStack* projection, MatrixStack* modelview, float mix,
                   Frustum* frustum);

private:
    enum Variant { kPlain, kDying, kMorph };

    // Shared body of the three draws: places the blob (W, H = w, h; the level from `size`), sends every
    // uniform and draws the strips, far side first when transparent.
    void drawBlob(Variant variant, float x, float y, float z, float w, float h, float size, float zfactor,
                  float vertfactor, int model, int model2, float mix, float fade, const float tint[4], int time,
                  MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);

    BlobMesh(const BlobMesh&);
    BlobMesh& operator=(const BlobMesh&);
};

#endif
