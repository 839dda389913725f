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

    // One resting, moving or crystal blob. colourCode: player + 4 while mining (lighter), or 8 + alpha
    // percent for the magenta crystal blobs. Leaves blend, depth function, front face and depth mask as
    // it found them (blending assumed off).
    void draw(float x, float y, float z, float width, float height, float vertfactor, int model, int colourCode,
              int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);
    // A dead unit fading out (fade 1 -> 0 alpha) and tipping over by up to 110 degrees.
    // Sets the blend function to source-alpha / one-minus-source-alpha and leaves it so.
    void drawDying(float x, float y, float z, float fade, float width, float height, float vertfactor, int model,
                   int colourCode, int time, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);
    // A unit turning from shape `model` (width1 x height1) into `model2` (width2 x height2); mix 0..1.
    // Sets the blend function like drawDying.
    void drawMorph(float x, float y, float z, float width1, float height1, float width2, float height2, int model,
                   int model2, int player, int time, MatrixStack* projection, MatrixStack* modelview, float mix,
                   Frustum* frustum);

    // The tints the three draws send, exposed so callers and tests can see what a code means.
    // Player colour (green, red, blue, yellow; anything else green) with alpha 1, as drawMorph uses it.
    static void playerTint(int player, float tint[4]);
    // draw's colour code rule: lighter for codes above 3, magenta with alpha (code - 8) / 100 above 7.
    static void codeTint(int colourCode, float tint[4]);
    // drawDying's rule: alpha = fade, a little lighter above 3, magenta for exactly 8.
    static void dyingTint(int colourCode, float fade, float tint[4]);

private:
    // Shared body of the three draws; `rotateDying` tilts by fade * 110 degrees, `model2` < 0 leaves
    // "model2" unset, `blendMode` 0 = keep the caller's blend function with a LEQUAL depth test,
    // 1 = set source-alpha blending.
    void drawBlob(float x, float y, float z, float w, float h, float sizeForDetail, float zfactor, float vertfactor,
                  int model, int model2, float mix, const float tint[4], int time, bool rotateDying, float fade,
                  int blendMode, MatrixStack* projection, MatrixStack* modelview, Frustum* frustum);

    BlobMesh(const BlobMesh&);
    BlobMesh& operator=(const BlobMesh&);
};

#endif
