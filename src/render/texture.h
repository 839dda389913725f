#ifndef GELMARCH_RENDER_TEXTURE_H
#define GELMARCH_RENDER_TEXTURE_H

#include <GL/glew.h>

// A plain GL texture name; 0 means none. Whoever loads one deletes it.
typedef GLuint Texture;

// Decodes a PNG or BMP with SDL_image and uploads it with a full mipmap chain; 0 on failure.
// Rows go up as they lie in the file: the image's top row becomes t = 0. Images that are neither
// 3 nor 4 bytes per pixel are warned about and converted to 32-bit RGBA so they still draw.
Texture loadTexture(const char* path);
// A size x size RGBA texture of zero bytes, linear filtering, no mipmaps.
Texture createBlankTexture(int size);
// Both work on texture unit 0 and leave the last texture of the group bound.
void setAnisotropy(const Texture* textures, int count, float value);
void setFiltering(const Texture* textures, int count, bool linear, bool mipmaps);
// The driver's largest anisotropy (1 when the extension is missing).
float maxAnisotropy();

#endif
