#ifndef GELMARCH_TESTS_PNG_SNAPSHOT_H
#define GELMARCH_TESTS_PNG_SNAPSHOT_H

#include <string>
#include <vector>

// Writes width x height RGBA pixels, rows given bottom row first (as glReadPixels returns them),
// to a PNG that shows them upright. Returns false when the file cannot be written.
bool writePngBottomUp(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba);
// Reads the current framebuffer region back and writes it with writePngBottomUp.
bool saveFramebufferPng(const std::string& path, int x, int y, int width, int height);
// An offscreen RGBA8 colour + 24-bit depth target for pictures larger than the window.
struct OffscreenTarget {
    unsigned int framebuffer = 0, buffers[2] = {0, 0};  // colour, depth
    // Makes the target and leaves it bound; false when it is not complete.
    bool make(int width, int height);
    // Binds the window again and deletes the target.
    void release();
};

#endif
