#include "app_icon.h"

#include "noise.h"
#include "shapes.h"
#include "title_art.h"

#include <cmath>

namespace {

const int kDrawnSize = 256;

// A crystal of three long facets leaning left, standing on (cx, base): the light, the middle and the
// shaded face, in the purple of the HUD's crystal counter.
void paintCrystal(Image& img, float cx, float base, float height, float width) {
    float top = base - height, half = width * 0.5f;
    float left[8] = {cx - half, base, cx - half * 1.2f, top + height * 0.22f, cx - half * 0.35f, top, cx - half * 0.1f, base};
    float middle[8] = {cx - half * 0.1f, base, cx - half * 0.35f, top, cx + half * 0.5f, top + height * 0.12f, cx + half * 0.45f, base};
    float right[8] = {cx + half * 0.45f, base, cx + half * 0.5f, top + height * 0.12f, cx + half, top + height * 0.3f, cx + half * 0.9f, base};
    const float light[4] = {0.97f, 0.55f, 1.0f, 1.0f}, mid[4] = {0.80f, 0.05f, 0.95f, 1.0f}, dark[4] = {0.42f, 0.0f, 0.55f, 1.0f};
    const float* faces[3] = {left, middle, right};
    const float* colours[3] = {light, mid, dark};
    int x0 = static_cast<int>(cx - width), x1 = static_cast<int>(cx + width) + 1;
    for (int i = 0; i < 3; ++i)
        paintShape(img, x0, static_cast<int>(top) - 1, x1, static_cast<int>(base) + 1, colours[i],
                   [&](float x, float y) { return sdPolygon(x, y, faces[i], 4); });
}

// The icon at its full size.
Image drawIcon() {
    const float n = static_cast<float>(kDrawnSize), c = n * 0.5f;
    Image img(kDrawnSize, kDrawnSize);
    // The tile: the menu's dark green, lighter towards the top, with a thin bright rim.
    for (int y = 0; y < kDrawnSize; ++y)
        for (int x = 0; x < kDrawnSize; ++x) {
            float d = sdRoundBox(x + 0.5f, y + 0.5f, c, c, n * 0.46f, n * 0.46f, n * 0.16f);
            float v = y / n;
            float rim = coverage(std::fabs(d + 3.0f) - 2.0f);
            float tile[4] = {mixf(0.06f, 0.02f, v) + 0.25f * rim, mixf(0.30f, 0.10f, v) + 0.5f * rim,
                             mixf(0.12f, 0.05f, v) + 0.25f * rim, 1.0f};
            img.blend(x, y, tile, coverage(d));
        }
    paintCrystal(img, n * 0.74f, n * 0.80f, n * 0.56f, n * 0.24f);
    paintCrystal(img, n * 0.86f, n * 0.82f, n * 0.30f, n * 0.14f);
    const float green[3] = {0.2f, 0.9f, 0.25f};
    paintBlob(img, n * 0.42f, n * 0.84f, n * 0.30f, green);
    return img;
}

}  // namespace

bool writeAppIcons(const std::string& dir) {
    const int sizes[5] = {256, 128, 64, 48, 32};
    Image drawn = drawIcon();
    bool ok = true;
    for (int s : sizes) {
        std::string name = std::to_string(s) + "x" + std::to_string(s);
        ok = writePng(s == kDrawnSize ? drawn : drawn.resized(s, s), dir + "/" + name + "/apps/gelmarch.png", true) && ok;
    }
    return ok;
}
