#include "asset_image.h"

#include "render/asset_path.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstring>

double AssetImage::meanBrightness(int x0, int y0, int w, int h) const {
    double sum = 0.0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) sum += (at(x, y)[0] + at(x, y)[1] + at(x, y)[2]) / 3.0;
    return sum / (w * h);
}

double AssetImage::meanAlpha(int x0, int y0, int w, int h) const {
    double sum = 0.0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) sum += alpha(x, y);
    return sum / (w * h);
}

AssetImage loadAssetImage(const std::string& gamePath) {
    AssetImage img;
    SDL_Surface* s = IMG_Load(assetPath(gamePath).c_str());
    if (!s) return img;
    img.loaded = true;
    img.width = s->w;
    img.height = s->h;
    img.bitsPerPixel = s->format->BitsPerPixel;
    img.pitch = s->pitch;
    img.rgba.resize(static_cast<size_t>(s->w) * s->h * 4);
    SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y)
        for (int x = 0; x < s->w; ++x) {
            const Uint8* p = static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
            Uint32 v = 0;
            std::memcpy(&v, p, s->format->BytesPerPixel);
            Uint8 r, g, b, a;
            SDL_GetRGBA(v, s->format, &r, &g, &b, &a);
            unsigned char* d = &img.rgba[(static_cast<size_t>(y) * s->w + x) * 4];
            d[0] = r;
            d[1] = g;
            d[2] = b;
            d[3] = a;
        }
    SDL_UnlockSurface(s);
    SDL_FreeSurface(s);
    return img;
}

std::vector<unsigned char> readFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    return bytes;
}
