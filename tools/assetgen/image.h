#ifndef GELMARCH_ASSETGEN_IMAGE_H
#define GELMARCH_ASSETGEN_IMAGE_H

#include <string>
#include <vector>

// A working picture: straight (not premultiplied) RGBA floats in 0..1, top row first.
class Image {
public:
    Image();
    Image(int width, int height);
    int width() const { return w; }
    int height() const { return h; }
    float* at(int x, int y) { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
    const float* at(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
    // Sets every pixel to one colour.
    void fill(float r, float g, float b, float a);
    // Paints a colour over the pixel with the given coverage ("over" compositing of straight alpha).
    void blend(int x, int y, const float* rgba, float coverage);
    // The same picture with its rows in the opposite order.
    Image flipped() const;
    // A box-filtered copy scaled to the given size (used for thumbnails).
    Image resized(int newWidth, int newHeight) const;

private:
    int w;
    int h;
    std::vector<float> px;
};

// Writes bytes to path through a temporary file in the same directory and a rename, so that a reader in
// another build never sees half a file. Creates missing directories. False on failure.
bool writeFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes);
// Creates a directory and any missing parents; true if it exists and can be written to afterwards.
bool makeDirectories(const std::string& dir);
// Encodes an 8-bit PNG, RGBA when withAlpha, else RGB; rows as they lie in the image.
bool writePng(const Image& image, const std::string& path, bool withAlpha);
// Encodes an uncompressed 24-bit BMP whose first image row is the top row of the picture.
bool writeBmp24(const Image& image, const std::string& path);
// The 0..255 byte of a channel value, rounded and clamped.
unsigned char toByte(float v);

#endif
