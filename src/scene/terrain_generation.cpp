// Height generation, the modifier image, tile-type classification and the tile weight image.
// Every step that draws random numbers does so in a fixed order, so one seed always gives one map.

#include "scene/terrain.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "render/asset_path.h"

// Not symmetric about zero on purpose: every caller draws it this way, in a fixed order.
int Terrain::jitter() {
    return rand() % 20001 - 10001;
}

// Seeds from the clock, sets the corners, displaces midpoints recursively, then smooths five times.
// Assumes size is a power of two so every vertex is set exactly once.
void Terrain::generateHeights(float* target) {
    srand((unsigned int)time(NULL));
    int count = (size + 1) * (size + 1);
    unsigned char* done = new unsigned char[count];
    for (int i = 0; i < count; ++i) {
        target[i] = 0.0f;
        done[i] = 0;
    }
    float amplitude = (float)(size / 32);
    int w = size + 1;
    // Corners keep done = 0: no square ever targets them.
    target[0] = (float)jitter() * amplitude / 10000.0f;
    target[size] = (float)jitter() * amplitude / 10000.0f;
    target[size * w] = (float)jitter() * amplitude / 10000.0f;
    target[size * w + size] = (float)jitter() * amplitude / 10000.0f;
    subdivide(target, done, size, size / 2, size / 2, size / 2, amplitude, 0.7f);
    delete[] done;
    for (int pass = 0; pass < 5; ++pass) {
        smoothPass(target, size);
    }
}

// Sets the four edge midpoints and the centre of one square (unless already set), then recurses.
// An edge shared with an earlier square keeps its value and draws no random number.
void Terrain::subdivide(float* heights, unsigned char* done, int n, int half, int cx, int cy, float amplitude,
                        float factor) {
    if (half < 1) {
        return;
    }
    int w = n + 1;
    int px[5] = {cx - half, cx + half, cx, cx, cx};
    int py[5] = {cy, cy, cy - half, cy + half, cy};
    for (int p = 0; p < 5; ++p) {
        int index = px[p] + py[p] * w;
        if (done[index]) {
            continue;
        }
        float mean;
        if (p < 2) {
            mean = (heights[px[p] + (cy - half) * w] + heights[px[p] + (cy + half) * w]) / 2.0f;
        } else if (p < 4) {
            mean = (heights[(cx - half) + py[p] * w] + heights[(cx + half) + py[p] * w]) / 2.0f;
        } else {
            // The centre averages the four edge midpoints as they stand now, not the corners.
            mean = (heights[px[0] + py[0] * w] + heights[px[1] + py[1] * w] + heights[px[2] + py[2] * w] +
                    heights[px[3] + py[3] * w]) /
                   4.0f;
        }
        done[index] = 1;
        heights[index] = mean + (float)jitter() * amplitude / 10000.0f;
    }
    int h2 = half / 2;
    float a2 = amplitude * factor;
    subdivide(heights, done, n, h2, cx - h2, cy - h2, a2, factor);
    subdivide(heights, done, n, h2, cx + h2, cy - h2, a2, factor);
    subdivide(heights, done, n, h2, cx + h2, cy + h2, a2, factor);
    subdivide(heights, done, n, h2, cx - h2, cy + h2, a2, factor);
}

// Forward sweep towards the far corner, then backward towards the origin; each update reads only
// values its own sweep has not touched yet.
void Terrain::smoothPass(float* heights, int n) {
    int w = n + 1;
    for (int x = 0; x < n; ++x) {
        for (int y = 0; y < n; ++y) {
            float* h = heights + x + y * w;
            h[0] = (h[0] + h[1] + h[w] + h[w + 1]) / 4.0f;
        }
    }
    for (int x = n; x >= 1; --x) {
        for (int y = n; y >= 1; --y) {
            float* h = heights + x + y * w;
            h[0] = (h[0] + h[-1] + h[-w] + h[-w - 1]) / 4.0f;
        }
    }
}

// Three images per tile set; the 128 names serve every size other than 64.
const char* Terrain::modifierPath(int size, int tileSet, int k) {
    static const char* const kSmall[6] = {
        ".\\textures\\terrain\\modifier64_1.bmp", ".\\textures\\terrain\\modifier64_2.bmp",
        ".\\textures\\terrain\\modifier64_3.bmp", ".\\textures\\terrain\\modifier64_4.bmp",
        ".\\textures\\terrain\\modifier64_5.bmp", ".\\textures\\terrain\\modifier64_6.bmp"};
    static const char* const kLarge[6] = {
        ".\\textures\\terrain\\modifier128_1.bmp", ".\\textures\\terrain\\modifier128_2.bmp",
        ".\\textures\\terrain\\modifier128_3.bmp", ".\\textures\\terrain\\modifier128_4.bmp",
        ".\\textures\\terrain\\modifier128_5.bmp", ".\\textures\\terrain\\modifier128_6.bmp"};
    int slot = (tileSet == 1 ? 3 : 0) + k;
    return size == 64 ? kSmall[slot] : kLarge[slot];
}

// Reads the blue byte of every pixel of a (size + 1)-square 24-bit BMP, image row y = vertex row y.
// Anything else is reported in one line and skipped, so the generated heights stay a playable map.
bool Terrain::applyModifierImage(const char* path, int tileSet) {
    SDL_RWops* stream = SDL_RWFromFile(assetPath(path).c_str(), "rb");
    SDL_Surface* image = stream ? SDL_LoadBMP_RW(stream, 1) : 0;
    if (!image) {
        std::cout << "Error: Couldn't open " << path << ", the terrain keeps its generated heights" << std::endl;
        return false;
    }
    if (image->w != size + 1 || image->h != size + 1 || image->format->BytesPerPixel != 3) {
        std::cout << "Error: " << path << " is not a " << size + 1 << "x" << size + 1
                  << " 24-bit image, the terrain keeps its generated heights" << std::endl;
        SDL_FreeSurface(image);
        return false;
    }
    const unsigned char* pixels = (const unsigned char*)image->pixels;
    int w = size + 1;
    for (int x = 0; x <= size; ++x) {
        for (int y = 0; y <= size; ++y) {
            float b = (float)pixels[y * image->pitch + x * 3];
            float& h = heights[x + y * w];
            if (tileSet == 1) {
                h = b / 32.0f - 8.0f;
            } else {
                h = h + b / 32.0f;
            }
        }
    }
    SDL_FreeSurface(image);
    return true;
}

// Base type per vertex (random or striped), then slope rules: hollows 1, steep ground and crests 0;
// tile set 1 finally paints a five-vertex border band as type 2.
void Terrain::classifyTiles(int tileSet, signed char* types) const {
    int w = size + 1;
    int count = w * w;
    for (int i = 0; i < count; ++i) {
        signed char type = 3;
        if (tileSet == 1) {
            int c = i % w;
            float s1 = sinf((float)(i / 11.0 + c / 2.0));
            float s2 = sinf((float)(i / 5.0 + c / 7.4));
            if (!(s1 >= 0.5f && s2 <= 0.5f)) {
                type = 2;
            }
        } else if (rand() % 3 == 0) {
            type = 2;
        }
        types[i] = type;
    }
    for (int x = 0; x <= size; ++x) {
        for (int y = 0; y <= size; ++y) {
            float h = heights[x + y * w];
            float hi = h;
            float lo = h;
            float d = 0.0f;
            for (int dx = -1; dx <= 1; ++dx) {
                for (int dy = -1; dy <= 1; ++dy) {
                    int nx = x + dx;
                    int ny = y + dy;
                    if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx > size || ny > size) {
                        continue;
                    }
                    float hn = heights[nx + ny * w];
                    hi = hn > hi ? hn : hi;
                    lo = hn < lo ? hn : lo;
                    d += h - hn;
                }
            }
            signed char& type = types[x + y * w];
            if (d < -0.3f && rand() % 5 > 0) {
                type = 1;
            }
            if (hi - lo > 1.25f) {
                type = 0;
            }
            if (d > 0.3f) {
                type = 0;
            }
        }
    }
    if (tileSet == 1) {
        for (int i = 0; i < count; ++i) {
            int c = i % w;
            int r = i / w;
            if (c < 5 || c > size - 5 || r < 5 || r > size - 5) {
                types[i] = 2;
            }
        }
    }
}

// Four texels per cell and axis; each channel fades out from the corners of its type over 1.1 cells,
// with a little noise in the transition band so the borders do not look drawn with a compass.
void Terrain::buildWeightImage(const signed char* types, unsigned char* image) const {
    int w = size + 1;
    int texels = 4 * size;
    int stride = 12 * size;
    static const int kOffsets[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < texels; ++r) {
            for (int s = 0; s < texels; ++s) {
                int cx = s / 4;
                int cy = r / 4;
                float fx = (float)(s % 4) * 0.25f + 0.125f;
                float fy = (float)(r % 4) * 0.25f + 0.125f;
                float weight = 0.0f;
                for (int k = 0; k < 4; ++k) {
                    int ox = kOffsets[k][0];
                    int oy = kOffsets[k][1];
                    if (types[(cx + ox) + (cy + oy) * w] != c + 1) {
                        continue;
                    }
                    float ex = fx - (float)ox;
                    float ey = fy - (float)oy;
                    float t = 1.0f - sqrtf(ex * ex + ey * ey) / 1.1f;
                    if (t < 0.0f) {
                        t = 0.0f;
                    }
                    if (t > 0.25f && t < 0.75f) {
                        weight += (float)jitter() / 10000.0f * 0.2f;
                    }
                    weight += t;
                }
                if (weight < 0.0f) {
                    weight = 0.0f;
                }
                if (weight > 1.0f) {
                    weight = 1.0f;
                }
                image[r * stride + s * 3 + c] = (unsigned char)(weight * 255.0f);
            }
        }
    }
}
