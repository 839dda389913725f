#ifndef GELMARCH_TOOLS_SNAPSHOTS_READ_BACK_H
#define GELMARCH_TOOLS_SNAPSHOTS_READ_BACK_H

#include <GL/glew.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/png_snapshot.h"

// The bound framebuffer's lower-left width x height pixels, RGBA, bottom row first, made opaque: the game
// clears with alpha 0, and picture viewers would show the sky as a hole.
inline std::vector<unsigned char> readOpaquePixels(int width, int height) {
    std::vector<unsigned char> pixels(width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (int i = 0; i < width * height; ++i) {
        pixels[i * 4 + 3] = 255;
    }
    return pixels;
}

// Writes what readOpaquePixels reads to `path` as a PNG and says on stdout whether it could.
inline bool saveOpaqueFrame(const std::string& path, int width, int height) {
    bool ok = writePngBottomUp(path, width, height, readOpaquePixels(width, height));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

#endif
