#ifndef GELMARCH_TESTS_ASSETS_ASSET_IMAGE_H
#define GELMARCH_TESTS_ASSETS_ASSET_IMAGE_H

#include <string>
#include <vector>

// A generated picture read the way the game reads it (SDL_image), kept as RGBA bytes, top row first.
struct AssetImage {
    bool loaded = false;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // of the decoded file, before conversion
    int pitch = 0;         // bytes per row of the decoded file
    std::vector<unsigned char> rgba;

    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
    // Mean of (r + g + b) / 3 over a rectangle.
    double meanBrightness(int x0, int y0, int w, int h) const;
    double meanAlpha(int x0, int y0, int w, int h) const;
};

// Loads a file named the game's way (".\\textures\\...") from the working directory.
AssetImage loadAssetImage(const std::string& gamePath);

// The whole file as bytes; empty when it cannot be read.
std::vector<unsigned char> readFileBytes(const std::string& path);

#endif
