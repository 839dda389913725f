#ifndef GELMARCH_SCENE_SKY_H
#define GELMARCH_SCENE_SKY_H

#include <GL/glew.h>

class MatrixStack;
class Shader;

// The sky box: a unit cube around the eye with one image per face, drawn at the far end of the depth range
// without writing depth, so that it shows only where nothing has been drawn and everything after it
// covers it. The World holds the textures and the shader; these functions do the work.
// Faces in order: x = +0.5, y = -0.5, x = -0.5, y = +0.5, top, bottom.

// The image of one face (0..5): tile set 1 uses images 1..6, any other tile set 7..12.
const char* skyImagePath(int tileSet, int face);

// Loads the six images of a tile set, each clamped at its edges so the seams show no wrapped texels.
// A missing image leaves its texture 0 (reported by the loader).
void loadSkyTextures(int tileSet, GLuint textures[6]);

// Uploads the 24 corners (six strips of four, with texcoords) into a new vertex array and buffer.
void createSkyGeometry(GLuint* vertexArray, GLuint* vertexBuffer);

// Draws the six faces with `shader` ("texm") under projection and a rotation-only view, leaving the depth
// mask on, the depth function and range as they were and the shader bound. Expects a 3D pass with the
// depth buffer cleared to 1; writes no depth and fills only pixels still at the far end.
void drawSkyBox(Shader* shader, const GLuint textures[6], GLuint vertexArray, GLuint vertexBuffer,
                MatrixStack* projection, MatrixStack* rotation);

#endif
