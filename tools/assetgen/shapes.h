#ifndef GELMARCH_ASSETGEN_SHAPES_H
#define GELMARCH_ASSETGEN_SHAPES_H

#include "image.h"

#include <cmath>

// Signed distances in pixels (negative inside) of the shapes the art is built from; coverage turns a
// distance into anti-aliased ink by giving a one-pixel soft edge.
float sdCircle(float px, float py, float cx, float cy, float r);
float sdEllipse(float px, float py, float cx, float cy, float rx, float ry);
// Box centred at (cx, cy) with half sizes hw, hh and rounded corners of radius r.
float sdRoundBox(float px, float py, float cx, float cy, float hw, float hh, float r);
// Distance to the segment a-b (always >= 0; subtract a half thickness for a stroke).
float sdSegment(float px, float py, float ax, float ay, float bx, float by);
// Signed distance to a closed polygon of n points given as x0, y0, x1, y1, ...
float sdPolygon(float px, float py, const float* xy, int n);
float coverage(float sd);

// Paints colour over the pixels of [x0, x1) x [y0, y1) with the coverage of sd at each pixel centre.
template <typename Sd>
void paintShape(Image& img, int x0, int y0, int x1, int y1, const float* rgba, Sd sd) {
    if (x0 < 0) x0 = 0;
    if (y0 < 0) y0 = 0;
    if (x1 > img.width()) x1 = img.width();
    if (y1 > img.height()) y1 = img.height();
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float c = coverage(sd(x + 0.5f, y + 0.5f));
            if (c > 0.0f) img.blend(x, y, rgba, c);
        }
}

#endif
