#include "image.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

Image::Image() : w(0), h(0) {}

Image::Image(int width, int height) : w(width), h(height), px(static_cast<size_t>(width) * height * 4, 0.0f) {}

void Image::fill(float r, float g, float b, float a) {
    for (size_t i = 0; i < px.size(); i += 4) {
        px[i] = r;
        px[i + 1] = g;
        px[i + 2] = b;
        px[i + 3] = a;
    }
}

void Image::blend(int x, int y, const float* rgba, float coverage) {
    if (x < 0 || y < 0 || x >= w || y >= h || coverage <= 0.0f) return;
    float* d = at(x, y);
    float sa = rgba[3] * (coverage > 1.0f ? 1.0f : coverage);
    float outA = sa + d[3] * (1.0f - sa);
    if (outA <= 0.0f) return;
    for (int c = 0; c < 3; ++c) d[c] = (rgba[c] * sa + d[c] * d[3] * (1.0f - sa)) / outA;
    d[3] = outA;
}

Image Image::flipped() const {
    Image out(w, h);
    for (int y = 0; y < h; ++y) std::memcpy(out.at(0, y), at(0, h - 1 - y), sizeof(float) * 4 * w);
    return out;
}

Image Image::resized(int nw, int nh) const {
    Image out(nw, nh);
    for (int y = 0; y < nh; ++y) {
        int y0 = y * h / nh, y1 = std::max(y0 + 1, (y + 1) * h / nh);
        for (int x = 0; x < nw; ++x) {
            int x0 = x * w / nw, x1 = std::max(x0 + 1, (x + 1) * w / nw);
            float sum[4] = {0, 0, 0, 0};
            float alphaSum = 0.0f;
            int n = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const float* p = at(sx, sy);
                    for (int c = 0; c < 3; ++c) sum[c] += p[c] * p[3];
                    alphaSum += p[3];
                    ++n;
                }
            float* d = out.at(x, y);
            for (int c = 0; c < 3; ++c) d[c] = alphaSum > 0.0f ? sum[c] / alphaSum : 0.0f;
            d[3] = alphaSum / n;
        }
    }
    return out;
}

unsigned char toByte(float v) {
    float s = std::floor(v * 255.0f + 0.5f);
    if (s < 0.0f) s = 0.0f;
    if (s > 255.0f) s = 255.0f;
    return static_cast<unsigned char>(s);
}

// Creates every missing directory above a file path.
static void makeParents(const std::string& path) {
    for (size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
    }
}

bool makeDirectories(const std::string& dir) {
    makeParents(dir + "/");
    return access(dir.c_str(), W_OK) == 0;
}

bool writeFileAtomically(const std::string& path, const std::vector<unsigned char>& bytes) {
    makeParents(path);
    // The process id keeps concurrent generators apart; the rename makes the new file appear whole.
    std::string temp = path + ".tmp" + std::to_string(static_cast<long>(getpid()));
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

// libpng write callback: appends the encoded bytes to the vector behind the io pointer.
static void pngToVector(png_structp png, png_bytep data, png_size_t length) {
    std::vector<unsigned char>* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

static void pngFlush(png_structp) {}

bool writePng(const Image& image, const std::string& path, bool withAlpha) {
    std::vector<unsigned char> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    int channels = withAlpha ? 4 : 3;
    png_set_write_fn(png, &bytes, pngToVector, pngFlush);
    png_set_IHDR(png, info, image.width(), image.height(), 8, withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    std::vector<unsigned char> row(static_cast<size_t>(image.width()) * channels);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const float* p = image.at(x, y);
            for (int c = 0; c < channels; ++c) row[x * channels + c] = toByte(p[c]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return writeFileAtomically(path, bytes);
}

// Appends a little-endian integer of n bytes.
static void putLe(std::vector<unsigned char>& out, unsigned int v, int n) {
    for (int i = 0; i < n; ++i) out.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}

bool writeBmp24(const Image& image, const std::string& path) {
    int w = image.width(), h = image.height();
    int stride = (w * 3 + 3) & ~3;
    unsigned int dataSize = static_cast<unsigned int>(stride) * h;
    std::vector<unsigned char> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    putLe(out, 54 + dataSize, 4);
    putLe(out, 0, 4);
    putLe(out, 54, 4);
    putLe(out, 40, 4);        // BITMAPINFOHEADER
    putLe(out, w, 4);
    putLe(out, h, 4);         // positive height: rows stored bottom-up
    putLe(out, 1, 2);
    putLe(out, 24, 2);
    putLe(out, 0, 4);         // no compression
    putLe(out, dataSize, 4);
    putLe(out, 2835, 4);
    putLe(out, 2835, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const float* p = image.at(x, y);
            out.push_back(toByte(p[2]));
            out.push_back(toByte(p[1]));
            out.push_back(toByte(p[0]));
        }
        for (int pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return writeFileAtomically(path, out);
}
