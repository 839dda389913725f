#include "icons.h"

#include "noise.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace {

// Accumulates ink: add paints a shape at a brightness, cut removes a shape (holes shrink when bold).
struct Ink {
    float v;
    float grow;
    void add(float sd, float level = 1.0f) { v = std::max(v, level * coverage(sd - grow)); }
    // Keeps `keep` of the ink under the shape: 0 punches a hole, 0.5 draws a darker detail.
    void cut(float sd, float keep = 0.0f) { v *= 1.0f - coverage(sd + grow) * (1.0f - keep); }
};

float rotX(float x, float y, float a) { return x * std::cos(a) + y * std::sin(a); }
float rotY(float x, float y, float a) { return -x * std::sin(a) + y * std::cos(a); }

// An ellipse turned by angle a (radians) about its centre.
float sdTurnedEllipse(float x, float y, float cx, float cy, float rx, float ry, float a) {
    float dx = x - cx, dy = y - cy;
    return sdEllipse(rotX(dx, dy, a), rotY(dx, dy, a), 0.0f, 0.0f, rx, ry);
}

// A round-capped line of half thickness `half` from a to b.
float sdStroke(float x, float y, float ax, float ay, float bx, float by, float half) {
    return sdSegment(x, y, ax, ay, bx, by) - half;
}

// A sword from its pommel h to its tip t.
void sword(Ink& ink, float x, float y, float hx, float hy, float tx, float ty) {
    float dx = tx - hx, dy = ty - hy, len = std::sqrt(dx * dx + dy * dy);
    dx /= len;
    dy /= len;
    float nx = -dy, ny = dx;
    float gx = hx + dx * 6.0f, gy = hy + dy * 6.0f;
    float blade[8] = {gx + nx * 1.9f, gy + ny * 1.9f, tx - dx * 3.5f + nx * 1.9f, ty - dy * 3.5f + ny * 1.9f,
                      tx, ty, tx - dx * 3.5f - nx * 1.9f, ty - dy * 3.5f - ny * 1.9f};
    float bladePoly[10] = {blade[0], blade[1], blade[2], blade[3], blade[4], blade[5], blade[6], blade[7],
                           gx - nx * 1.9f, gy - ny * 1.9f};
    ink.add(sdPolygon(x, y, bladePoly, 5));
    ink.add(sdStroke(x, y, gx + nx * 5.0f, gy + ny * 5.0f, gx - nx * 5.0f, gy - ny * 5.0f, 1.3f));
    ink.add(sdStroke(x, y, hx, hy, gx, gy, 1.2f));
    ink.add(sdCircle(x, y, hx, hy, 2.0f));
}

// The two eyes most of the creatures share.
void eyes(Ink& ink, float x, float y, float lx, float rx, float ey, float r) {
    ink.cut(sdCircle(x, y, lx, ey, r));
    ink.cut(sdCircle(x, y, rx, ey, r));
    ink.add(sdCircle(x, y, lx + 0.5f, ey + 0.4f, r * 0.45f));
    ink.add(sdCircle(x, y, rx + 0.5f, ey + 0.4f, r * 0.45f));
}

// Stop: an octagon sign with a solid square.
float iconStop(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float oct[16];
    for (int i = 0; i < 8; ++i) {
        float a = (i + 0.5f) * 0.785398f;
        oct[2 * i] = 15.5f + 12.5f * std::cos(a);
        oct[2 * i + 1] = 16.0f + 12.5f * std::sin(a);
    }
    float d = sdPolygon(x, y, oct, 8);
    ink.add(std::fabs(d + 1.4f) - 1.4f);
    ink.add(sdRoundBox(x, y, 15.5f, 16.0f, 5.0f, 5.0f, 1.0f));
    return ink.v;
}

// Move: a bold arrow with speed lines.
float iconMove(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdRoundBox(x, y, 12.0f, 16.0f, 8.5f, 2.6f, 1.0f));
    float head[6] = {17.0f, 6.0f, 29.0f, 16.0f, 17.0f, 26.0f};
    ink.add(sdPolygon(x, y, head, 3) - 0.6f);
    // Speed lines behind the arrow.
    ink.add(sdStroke(x, y, 1.5f, 10.0f, 6.0f, 10.0f, 1.0f), 0.7f);
    ink.add(sdStroke(x, y, 1.5f, 22.0f, 6.0f, 22.0f, 1.0f), 0.7f);
    return ink.v;
}

// Attack: two crossed swords.
float iconAttack(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    sword(ink, x, y, 5.0f, 27.0f, 27.5f, 4.5f);
    sword(ink, x, y, 26.0f, 27.0f, 3.5f, 4.5f);
    return ink.v;
}

// Mine: a pickaxe.
float iconMine(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    // Handle from the lower left up to the head, which crosses it at right angles and curves back.
    const float hx = 5.0f, hy = 28.0f, cx = 20.5f, cy = 11.5f;
    ink.add(sdStroke(x, y, hx, hy, cx + 1.5f, cy - 1.5f, 1.7f));
    const float dx = 0.7071f, dy = -0.7071f;  // along the handle, towards the head
    const float nx = 0.7071f, ny = 0.7071f;   // across it
    float px = 0, py = 0;
    for (int i = 0; i <= 12; ++i) {
        float s = -1.0f + i / 6.0f;
        float qx = cx + nx * s * 12.5f + dx * (1.5f - 4.5f * s * s);
        float qy = cy + ny * s * 12.5f + dy * (1.5f - 4.5f * s * s);
        if (i > 0) ink.add(sdStroke(x, y, px, py, qx, qy, 2.7f - 1.9f * std::fabs(s)));
        px = qx;
        py = qy;
    }
    ink.add(sdCircle(x, y, cx + dx * 1.5f, cy + dy * 1.5f, 3.0f));
    return ink.v;
}

// Split: a blob pinching into two, arrows pointing apart.
float iconSplit(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdCircle(x, y, 9.5f, 20.0f, 6.5f));
    ink.add(sdCircle(x, y, 22.0f, 20.0f, 6.5f));
    ink.add(sdEllipse(x, y, 15.75f, 21.0f, 5.0f, 3.0f));
    ink.cut(sdStroke(x, y, 15.75f, 15.0f, 15.75f, 27.0f, 0.6f), 0.35f);
    // Arrows pointing apart.
    ink.add(sdStroke(x, y, 13.0f, 6.5f, 4.0f, 6.5f, 1.1f));
    ink.add(sdStroke(x, y, 18.5f, 6.5f, 27.5f, 6.5f, 1.1f));
    float l[6] = {1.5f, 6.5f, 6.5f, 2.5f, 6.5f, 10.5f};
    float r[6] = {30.0f, 6.5f, 25.0f, 2.5f, 25.0f, 10.5f};
    ink.add(sdPolygon(x, y, l, 3));
    ink.add(sdPolygon(x, y, r, 3));
    return ink.v;
}

// Crystal: a cut gem with lighter table and facet lines.
float iconCrystal(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float gem[10] = {9.0f, 6.0f, 22.0f, 6.0f, 28.0f, 12.5f, 15.5f, 28.5f, 3.0f, 12.5f};
    float d = sdPolygon(x, y, gem, 5);
    ink.add(d, 0.8f);
    // Brighter table and facets, separated by darker edges.
    float table[8] = {11.0f, 7.0f, 20.0f, 7.0f, 23.0f, 12.5f, 8.0f, 12.5f};
    ink.v = std::max(ink.v, coverage(sdPolygon(x, y, table, 4)) * coverage(d));
    ink.cut(sdStroke(x, y, 3.0f, 12.5f, 28.0f, 12.5f, 0.45f), 0.5f);
    ink.cut(sdStroke(x, y, 10.0f, 12.5f, 15.5f, 28.5f, 0.4f), 0.6f);
    ink.cut(sdStroke(x, y, 21.0f, 12.5f, 15.5f, 28.5f, 0.4f), 0.6f);
    ink.add(std::fabs(d) - 0.7f);
    return ink.v;
}

// Time: a clock face with ticks and hands.
float iconClock(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float d = sdCircle(x, y, 15.5f, 16.0f, 12.5f);
    ink.add(std::fabs(d + 1.2f) - 1.3f);
    ink.add(d + 2.0f, 0.25f);
    for (int i = 0; i < 12; ++i) {
        float a = i * 0.5235988f;
        float c = std::cos(a), s = std::sin(a);
        float inner = (i % 3 == 0) ? 7.6f : 8.8f;
        ink.add(sdStroke(x, y, 15.5f + c * inner, 16.0f + s * inner, 15.5f + c * 9.6f, 16.0f + s * 9.6f,
                         i % 3 == 0 ? 0.9f : 0.5f));
    }
    ink.add(sdStroke(x, y, 15.5f, 16.0f, 15.5f, 8.0f, 1.2f));
    ink.add(sdStroke(x, y, 15.5f, 16.0f, 21.0f, 19.0f, 1.2f));
    ink.add(sdCircle(x, y, 15.5f, 16.0f, 1.8f));
    return ink.v;
}

// Blob, the worker: a dome with eyes and a highlight.
float iconBlob(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float dome = std::max(sdEllipse(x, y, 15.5f, 20.0f, 12.5f, 11.0f), y - 26.5f);
    ink.add(dome);
    ink.add(sdEllipse(x, y, 15.5f, 26.0f, 13.5f, 2.6f));
    ink.cut(sdEllipse(x, y, 10.0f, 12.5f, 2.0f, 1.4f), 0.6f);
    eyes(ink, x, y, 11.5f, 19.5f, 18.0f, 2.4f);
    return ink.v;
}

// Muffin: a cupcake with a ribbed wrapper.
float iconMuffin(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float cup[8] = {6.5f, 18.5f, 24.5f, 18.5f, 22.0f, 29.0f, 9.0f, 29.0f};
    float dc = sdPolygon(x, y, cup, 4);
    ink.add(dc, 0.75f);
    for (int i = 0; i < 4; ++i) {
        float bx = 10.5f + i * 3.3f;
        ink.cut(sdStroke(x, y, bx - 0.4f * (i - 1.5f), 20.5f, bx - 0.2f * (i - 1.5f), 27.5f, 0.45f), 0.5f);
    }
    float top = std::min(std::min(sdCircle(x, y, 10.0f, 15.5f, 5.2f), sdCircle(x, y, 21.0f, 15.5f, 5.2f)),
                         sdCircle(x, y, 15.5f, 11.5f, 7.0f));
    top = std::min(top, sdRoundBox(x, y, 15.5f, 17.0f, 11.0f, 2.5f, 2.0f));
    ink.add(top);
    ink.cut(sdCircle(x, y, 13.0f, 8.5f, 1.3f), 0.55f);
    ink.cut(sdCircle(x, y, 19.0f, 12.0f, 1.0f), 0.55f);
    ink.cut(sdCircle(x, y, 9.0f, 14.0f, 1.0f), 0.55f);
    return ink.v;
}

// Drop: a water drop with a highlight.
float iconDrop(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float tip[6] = {15.5f, 2.5f, 8.4f, 17.0f, 22.6f, 17.0f};
    ink.add(std::min(sdCircle(x, y, 15.5f, 20.0f, 8.6f), sdPolygon(x, y, tip, 3)));
    ink.cut(sdEllipse(x, y, 11.8f, 19.5f, 1.5f, 3.4f), 0.45f);
    return ink.v;
}

// Rotundus: a banded ball with a cannon.
float iconRotundus(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdStroke(x, y, 17.0f, 14.0f, 27.0f, 6.5f, 2.4f));
    ink.add(sdStroke(x, y, 25.5f, 4.0f, 29.5f, 9.5f, 1.2f));
    float body = sdCircle(x, y, 13.5f, 18.5f, 10.0f);
    ink.cut(body - 1.2f);
    ink.add(body);
    ink.cut(std::fabs(sdEllipse(x, y, 13.5f, 17.0f, 10.5f, 3.5f)) - 0.6f, 0.45f);
    ink.add(sdEllipse(x, y, 13.5f, 29.0f, 8.0f, 1.5f), 0.6f);
    return ink.v;
}

// Monsterpillow: an angry pillow with tufted corners.
float iconMonsterpillow(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdRoundBox(x, y, 15.5f, 17.0f, 12.5f, 9.0f, 5.0f));
    ink.add(sdCircle(x, y, 4.0f, 8.5f, 2.6f));
    ink.add(sdCircle(x, y, 27.0f, 8.5f, 2.6f));
    ink.add(sdCircle(x, y, 4.0f, 25.5f, 2.6f));
    ink.add(sdCircle(x, y, 27.0f, 25.5f, 2.6f));
    // Angry brows and a jagged mouth.
    ink.cut(sdStroke(x, y, 8.0f, 11.5f, 13.5f, 14.0f, 0.9f));
    ink.cut(sdStroke(x, y, 23.0f, 11.5f, 17.5f, 14.0f, 0.9f));
    ink.cut(sdCircle(x, y, 11.0f, 16.0f, 1.6f));
    ink.cut(sdCircle(x, y, 20.0f, 16.0f, 1.6f));
    float mouth[16] = {8.0f, 20.0f, 23.0f, 20.0f, 22.0f, 23.5f, 20.0f, 21.5f,
                       17.5f, 24.0f, 15.5f, 21.5f, 13.0f, 24.0f, 10.5f, 21.5f};
    ink.cut(sdPolygon(x, y, mouth, 8));
    return ink.v;
}

// Slime Tower: a tapering tower with a slime orb and a drip.
float iconSlimeTower(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    float body[8] = {10.0f, 27.0f, 21.0f, 27.0f, 19.0f, 12.5f, 12.0f, 12.5f};
    ink.add(sdPolygon(x, y, body, 4), 0.85f);
    ink.add(sdRoundBox(x, y, 15.5f, 27.5f, 10.0f, 2.0f, 1.0f));
    ink.add(sdCircle(x, y, 15.5f, 8.5f, 6.2f));
    ink.cut(sdCircle(x, y, 13.5f, 6.5f, 1.4f), 0.5f);
    ink.cut(sdRoundBox(x, y, 15.5f, 19.5f, 1.3f, 3.5f, 1.2f));
    // A drip running down the side.
    ink.add(sdStroke(x, y, 20.5f, 11.0f, 21.0f, 17.0f, 1.2f));
    ink.add(sdCircle(x, y, 21.0f, 18.0f, 1.7f));
    return ink.v;
}

// Fly: an insect with two pairs of wings.
float iconFly(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdTurnedEllipse(x, y, 8.5f, 12.0f, 7.5f, 3.6f, 0.5f), 0.6f);
    ink.add(sdTurnedEllipse(x, y, 22.5f, 12.0f, 7.5f, 3.6f, -0.5f), 0.6f);
    ink.add(sdTurnedEllipse(x, y, 9.5f, 19.0f, 5.0f, 2.4f, -0.4f), 0.45f);
    ink.add(sdTurnedEllipse(x, y, 21.5f, 19.0f, 5.0f, 2.4f, 0.4f), 0.45f);
    float body = std::min(sdEllipse(x, y, 15.5f, 19.5f, 3.6f, 8.5f), sdCircle(x, y, 15.5f, 8.5f, 3.4f));
    ink.cut(body - 1.0f);
    ink.add(body);
    ink.cut(sdStroke(x, y, 12.0f, 18.0f, 19.0f, 18.0f, 0.5f), 0.4f);
    ink.cut(sdStroke(x, y, 12.5f, 22.0f, 18.5f, 22.0f, 0.5f), 0.4f);
    ink.add(sdStroke(x, y, 14.0f, 5.5f, 11.0f, 1.5f, 0.6f));
    ink.add(sdStroke(x, y, 17.0f, 5.5f, 20.0f, 1.5f, 0.6f));
    return ink.v;
}

// Bomber: a broad flying wing dropping a bomb.
float iconBomber(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    // Broad swept wings with a scalloped trailing edge.
    float wing[24] = {1.0f, 15.5f, 6.0f, 9.5f, 12.0f, 6.5f, 15.5f, 6.0f, 19.0f, 6.5f, 25.0f, 9.5f,
                      30.0f, 15.5f, 24.0f, 13.0f, 20.0f, 15.5f, 15.5f, 13.0f, 11.0f, 15.5f, 7.0f, 13.0f};
    ink.add(sdPolygon(x, y, wing, 12), 0.75f);
    ink.add(sdEllipse(x, y, 15.5f, 10.5f, 4.2f, 5.5f));
    eyes(ink, x, y, 13.8f, 17.2f, 9.5f, 1.2f);
    // The bomb on its way down, with fins and motion marks.
    ink.add(sdEllipse(x, y, 15.5f, 24.0f, 3.6f, 4.6f));
    float fins[6] = {12.3f, 17.5f, 18.7f, 17.5f, 15.5f, 21.0f};
    ink.add(sdPolygon(x, y, fins, 3));
    ink.add(sdStroke(x, y, 9.0f, 20.0f, 9.0f, 26.0f, 0.7f), 0.55f);
    ink.add(sdStroke(x, y, 22.0f, 20.0f, 22.0f, 26.0f, 0.7f), 0.55f);
    return ink.v;
}

// Slimy: a winged drop with its point upwards.
float iconSlimy(float x, float y, float grow) {
    Ink ink{0.0f, grow};
    ink.add(sdTurnedEllipse(x, y, 6.5f, 15.0f, 5.5f, 2.6f, 0.45f), 0.6f);
    ink.add(sdTurnedEllipse(x, y, 24.5f, 15.0f, 5.5f, 2.6f, -0.45f), 0.6f);
    float tip[6] = {15.5f, 3.0f, 9.9f, 16.5f, 21.1f, 16.5f};
    float body = std::min(sdCircle(x, y, 15.5f, 19.0f, 6.8f), sdPolygon(x, y, tip, 3));
    ink.cut(body - 1.0f);
    ink.add(body);
    eyes(ink, x, y, 13.0f, 18.0f, 19.0f, 1.6f);
    return ink.v;
}

}  // namespace

bool hasIcon(int code) {
    switch (code) {
        case 14: case 17: case 18: case 19: case 20: case 21: case 22: case 23:
        case 24: case 25: case 26: case 27: case 28: case 29: case 30: case 31:
            return true;
        default:
            return false;
    }
}

float iconInk(int code, float x, float y, bool bold) {
    float g = bold ? 0.45f : 0.0f;
    float v = 0.0f;
    switch (code) {
        case 14: v = iconMine(x, y, g); break;
        case 17: v = iconBomber(x, y, g); break;
        case 18: v = iconSlimy(x, y, g); break;
        case 19: v = iconFly(x, y, g); break;
        case 20: v = iconSlimeTower(x, y, g); break;
        case 21: v = iconMonsterpillow(x, y, g); break;
        case 22: v = iconRotundus(x, y, g); break;
        case 23: v = iconDrop(x, y, g); break;
        case 24: v = iconAttack(x, y, g); break;
        case 25: v = iconMuffin(x, y, g); break;
        case 26: v = iconBlob(x, y, g); break;
        case 27: v = iconSplit(x, y, g); break;
        case 28: v = iconStop(x, y, g); break;
        case 29: v = iconMove(x, y, g); break;
        case 30: v = iconCrystal(x, y, g); break;
        case 31: v = iconClock(x, y, g); break;
        default: break;
    }
    return clampf(v, 0.0f, 1.0f);
}
