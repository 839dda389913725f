#version 150

// Bends one grid vertex (column j = 0..n, row k = 0..n-1) onto the closed surface of a unit shape.
// Column j goes once around the body (phi), row k runs from the bottom pole to the top pole (theta), so
// seen from outside each strip winds counter-clockwise. Model space spans about -0.5..0.5; the modelview
// already holds the unit's scale (width, width, height).

in vec2 vertex;

uniform mat4 modelview;
uniform mat4 projection;
uniform int time;
uniform int model;
uniform int model2;
uniform float vertfactor;
uniform float mixfactor;
uniform float resolution;
uniform float x;
uniform float y;
uniform float z;
uniform float zfactor;

out vec3 eyePosition;
out vec3 eyeNormal;
out vec3 eyeLight;
out float material;  // 1 body, below 1 thin and see-through (wings, tentacles), above 1 paper
out float bodyHeight;
out float faceted;
out vec2 surface;
out vec3 eyes;

const float PI = 3.14159265;

float seconds;
float phase;
float stretch;  // height / width of the body as drawn, the morph's blend of both shapes' proportions

// sin of the row angle, never below 0 (sin(PI) in float is a hair negative, and pow of it is undefined)
float rowSin(float th) {
    return max(sin(th), 0.0);
}

// Point on a surface of revolution: radius r at height h, around angle phi.
vec3 ring(float phi, float r, float h) {
    return vec3(r * cos(phi), r * sin(phi), h);
}

// Whole powers written out: the general pow is costly on a software renderer.
float sq(float v) {
    return v * v;
}

// Signed power that keeps the sign, for squarish (superellipse) outlines.
float spow(float v, float e) {
    return sign(v) * pow(abs(v), e);
}

// Pleats and tentacles: a whole number of them around the body, so column 0 and column n meet at any grid
// size and they keep their number and place when the level of detail changes. Grids with fewer than two
// columns to each show them fainter rather than aliased into a few big lobes.
const float FEATURES = 8.0;
float features(float phi) {
    return cos(phi * FEATURES) * clamp((resolution - 10.0) / 6.0, 0.0, 1.0);
}

// 0 worker: a squat gumdrop, flat underneath and wider at the bottom, with a soft curl on top.
vec4 shapeBlob(float phi, float th) {
    float s = rowSin(th);
    float c = -cos(th);
    float h = c < 0.0 ? -pow(-c, 0.4) : c;
    // the base spreads out on the ground like a settling jelly
    float spread = smoothstep(0.0, 0.75, -c) * (1.0 - smoothstep(0.8, 1.0, -c));
    float r = pow(s, 0.8) * (1.0 + 0.12 * (-c) + 0.14 * spread) * 0.46;
    float nub = sq(sq(sq(sq(max(c, 0.0))))) * sq(sq(max(c, 0.0)));
    vec3 p = ring(phi, r, -0.5 + (h + 1.0) * 0.34 + nub * 0.12);
    // a little curl on top that bends over and sways
    p.x += nub * (0.06 + 0.03 * sin(seconds * 1.3 + phase));
    return vec4(p, 1.0);
}

// A round body (radii in x, y, z) with two thin wings growing out along x from its middle rows. The wing
// of span `span` has an elliptic outline of largest chord `chord`, swept back by `sweep`, and beats by
// `flap` (height gained per unit of span).
vec4 wingedBody(float phi, float th, vec3 radii, float span, float chord, float sweep, float flap) {
    float s = rowSin(th);
    float c = -cos(th);
    vec3 body = vec3(radii.x * s * cos(phi), radii.y * s * sin(phi), radii.z * c);
    float side = cos(phi) >= 0.0 ? 1.0 : -1.0;
    // angle from the nearest wing axis (+x or -x) picks the spot along the chord
    float off = atan(sin(phi), side * cos(phi));
    // rows within the band around the middle form the wing: its edge is the root, the middle row the tip
    float band = 0.5;
    float v = (th - 0.5 * PI) / band;
    float a = 1.0 - min(abs(v), 1.0);
    float w = (1.0 - smoothstep(0.6, 1.05, abs(off))) * (1.0 - smoothstep(0.55, 0.95, abs(v)));
    float outline = chord * sqrt(max(1.0 - a * a, 0.0)) * (0.45 + 0.55 * smoothstep(0.0, 0.45, a));
    float wx = side * (radii.x * 0.8 + span * a);
    float wy = outline * clamp(off / 0.8, -1.0, 1.0) - sweep * a * a;
    float wz = 0.025 * sign(v) + flap * span * a;
    vec3 p = mix(body, vec3(wx, wy, wz), w);
    return vec4(p, 1.0 - 0.6 * w * smoothstep(0.15, 0.5, a));
}

// 1 fly: a small round bug with two broad wings that beat fast.
vec4 shapeFly(float phi, float th) {
    float hover = 0.04 * sin(seconds * 3.0 + phase);
    vec4 p = wingedBody(phi, th, vec3(0.2, 0.24, 0.22), 0.48, 0.3, 0.1, 0.8 * sin(seconds * 26.0 + phase));
    p.z += hover + 0.05;
    return p;
}

// 2 drop: a round belly narrowing into a pointed tip on top.
vec4 shapeDrop(float phi, float th) {
    float t = PI - th;
    float r = sin(t) * pow(sin(t * 0.5), 2.2) * 0.79;
    float h = cos(t) * 0.5;
    vec3 p = ring(phi, r, h);
    // the tip sways a little
    float tip = sq(sq(max(cos(t), 0.0)));
    p.x += tip * 0.07 * sin(seconds * 1.7 + phase);
    p.y += tip * 0.05 * cos(seconds * 1.3 + phase);
    return vec4(p, 1.0);
}

// 3 muffin: a pleated cup under a puffy cap that overhangs it.
vec4 shapeMuffin(float phi, float th) {
    float u = th / PI;
    float r;
    float h;
    float mat = 1.0;
    if (u < 0.1) {
        r = 0.4 * u / 0.1;
        h = -0.5;
    } else if (u < 0.45) {
        float a = (u - 0.1) / 0.35;
        r = mix(0.4, 0.46, a);
        h = mix(-0.5, 0.0, a);
        float pleat = features(phi);
        r *= 1.0 + 0.07 * pleat;
        // a paper cup (material above 1), the folds catching light unevenly
        mat = 1.85 + 0.15 * pleat;
    } else if (u < 0.58) {
        // the lip of the cap hangs over the cup
        float a = (u - 0.45) / 0.13;
        r = mix(0.46, 0.52, sin(a * PI * 0.5));
        h = mix(0.0, 0.06, a) - 0.05 * sin(a * PI);
    } else {
        float a = (u - 0.58) / 0.42 * PI * 0.5;
        r = 0.52 * pow(max(cos(a), 0.0), 0.6);
        h = 0.06 + 0.4 * pow(max(sin(a), 0.0), 0.8);
        // a lumpy, baked top
        float lumps = sin(5.0 * phi + 2.0) * sin(a * 2.0) + 0.6 * sin(3.0 * phi - 1.0) * sin(a * 3.0);
        r *= 1.0 + 0.025 * lumps;
        h += 0.025 * lumps * sin(a * 2.0);
    }
    return vec4(ring(phi, r, h), mat);
}

// 4 bomber: a heavy, fat flyer with short, broad swept wings beating slowly and a bomb pod underneath.
vec4 shapeBomber(float phi, float th) {
    float c = -cos(th);
    vec4 p = wingedBody(phi, th, vec3(0.32, 0.36, 0.28), 0.34, 0.28, 0.18, 0.35 * sin(seconds * 4.0 + phase) + 0.15);
    // the pod hangs under the middle
    float pod = sq(max(-c, 0.0));
    p.z -= 0.14 * pod;
    p.xy *= 1.0 - 0.3 * pod;
    p.z += 0.12;
    return p;
}

// 5 rotundus: a round, ribbed ball (crystals too, as gems with facets).
vec4 shapeRotundus(float phi, float th) {
    float s = rowSin(th);
    float c = -cos(th);
    float r = 0.5 * s * (1.0 + 0.06 * cos(8.0 * phi) * s);
    return vec4(ring(phi, r, 0.48 * c), 1.0);
}

// 6 pillow: a square cushion with pinched corners; tall ones (the tower) stack into three cushions.
vec4 shapePillow(float phi, float th) {
    float s = rowSin(th);
    float c = -cos(th);
    float u = th / PI;
    // tall bodies (the tower) are rounder, stacked from three shrinking cushions with a bud on top
    // (from the proportions drawn, so a morph into the tower ends on the tower's own look)
    float tall = smoothstep(1.15, 1.6, stretch);
    float square = mix(0.45, 0.75, tall);
    float sx = spow(cos(phi), square);
    float sy = spow(sin(phi), square);
    float r = pow(s, 0.55) * 0.45;
    float h = spow(c, 0.75) * 0.5;
    float corner = abs(sin(2.0 * phi)) * sq(sin(2.0 * phi)) * sq(s * s * s) * (1.0 - tall);
    r *= 1.0 + 0.16 * corner;
    h *= 1.0 - 0.6 * corner;
    float crease = sq(sq(cos(3.0 * PI * u))) * sq(cos(3.0 * PI * u)) * (1.0 - sq(sq(sq(c))));
    r *= 1.0 - 0.22 * tall * crease;
    r *= 1.0 - 0.12 * tall * (smoothstep(0.28, 0.38, u) + smoothstep(0.62, 0.72, u));
    float bud = sq(sq(sq(sq(max(c, 0.0)))));
    h += tall * 0.1 * bud;
    return vec4(vec3(r * sx, r * sy, h), 1.0 - 0.25 * tall * crease);
}

// 7 slimy: a jellyfish, a pulsing bell trailing a fringe of tentacles.
vec4 shapeSlimy(float phi, float th) {
    float u = th / PI;
    float pulse = sin(seconds * 4.0 + phase);
    // long tentacles between short ones
    float lobe = 0.5 + 0.5 * features(phi);
    float tipDepth = -0.5 * (0.6 + 0.4 * lobe);
    float tipReach = 0.4 + 0.08 * lobe;
    float r;
    float h;
    float mat = 1.0;
    if (u < 0.2) {
        // under the bell
        float a = u / 0.2;
        r = 0.26 * a;
        h = 0.02 - 0.08 * a;
    } else if (u < 0.42) {
        // inner face of the tentacles, flaring out as they hang
        float a = (u - 0.2) / 0.22;
        r = mix(0.26, tipReach - 0.04, a * a);
        h = mix(-0.06, tipDepth, a);
        mat = 0.55;
    } else if (u < 0.6) {
        // outer face back up to the rim
        float a = (u - 0.42) / 0.18;
        r = mix(tipReach, 0.4, a);
        h = mix(tipDepth, -0.06, a);
        mat = 0.55;
    } else {
        // the bell: a wide dome
        float a = (u - 0.6) / 0.4 * PI * 0.5;
        r = 0.4 * pow(max(cos(a), 0.0), 0.7) * (1.0 + 0.05 * cos(phi * 8.0) * (1.0 - sin(a)));
        h = -0.06 + 0.44 * pow(max(sin(a), 0.0), 0.85);
    }
    // the bell squeezes, the tentacles trail and sway
    float hang = clamp((-0.06 - h) / 0.44, 0.0, 1.0);
    r *= 1.0 - 0.08 * pulse * (1.0 - hang);
    vec3 p = ring(phi, r, h + 0.04 * pulse + 0.08);
    p.x += hang * 0.07 * sin(seconds * 2.3 + phi * 2.0 + phase);
    p.y += hang * 0.07 * cos(seconds * 1.9 + phi * 3.0 + phase);
    return vec4(p, mat);
}

// How much of shape `number` the blended body takes: all of "model", or its share of a morph.
float weight(int number, int first, int second) {
    return (number == first ? 1.0 - mixfactor : 0.0) + (number == second ? mixfactor : 0.0);
}

// The shapes weighted by the morph and summed. Every shape gets its own test so that a GPU which branches
// on uniforms skips the ones not drawn, and a software renderer, which runs all of them, runs each once.
vec4 blendedShape(float phi, float th) {
    // unknown numbers draw the worker
    int first = model >= 1 && model <= 7 ? model : 0;
    int second = model2 >= 1 && model2 <= 7 ? model2 : 0;
    vec4 p = vec4(0.0);
    float w = weight(0, first, second);
    if (w > 0.0) p += w * shapeBlob(phi, th);
    w = weight(1, first, second);
    if (w > 0.0) p += w * shapeFly(phi, th);
    w = weight(2, first, second);
    if (w > 0.0) p += w * shapeDrop(phi, th);
    w = weight(3, first, second);
    if (w > 0.0) p += w * shapeMuffin(phi, th);
    w = weight(4, first, second);
    if (w > 0.0) p += w * shapeBomber(phi, th);
    w = weight(5, first, second);
    if (w > 0.0) p += w * shapeRotundus(phi, th);
    w = weight(6, first, second);
    if (w > 0.0) p += w * shapePillow(phi, th);
    w = weight(7, first, second);
    if (w > 0.0) p += w * shapeSlimy(phi, th);
    return p;
}

// Where a shape keeps its eyes, on the front (-y) side: row angle, half the angle between them, size.
vec3 eyeLayout(int number) {
    if (number == 1) return vec3(0.67 * PI, 0.5, 0.2);
    if (number == 2) return vec3(0.5 * PI, 0.3, 0.13);
    if (number == 3) return vec3(0.72 * PI, 0.28, 0.11);
    if (number == 4) return vec3(0.68 * PI, 0.33, 0.13);
    if (number == 5) return vec3(0.58 * PI, 0.3, 0.13);
    if (number == 6) return vec3(0.74 * PI, 0.22, 0.1);
    if (number == 7) return vec3(0.74 * PI, 0.32, 0.13);
    return vec3(0.62 * PI, 0.32, 0.14);
}

// The blended body with its living wobble: a breathing squash, a hop while busy, ripples over the skin.
vec4 body(float phi, float th) {
    vec4 p = blendedShape(phi, th);
    if (vertfactor > 0.5) {
        // crystals: the round body cut into a six-sided, pointed gem
        float s = rowSin(th);
        float sector = mod(phi, PI / 3.0) - PI / 6.0;
        float hex = 0.866 / cos(sector);
        p.xy *= hex * sqrt(s) * 0.9;
        p.z *= 1.2;
    }
    // strong wobble saturates; crystals (always 1.0, time 0) only get a slight, fixed irregularity
    float amp = vertfactor > 0.5 ? 0.06 : vertfactor / (1.0 + 5.0 * vertfactor);
    float squash = 0.03 * sin(seconds * 2.1 + phase) + amp * 1.6 * sin(seconds * 9.0 + phase);
    p.z = (p.z + 0.5) * (1.0 + squash) - 0.5;
    p.xy *= 1.0 - 0.5 * squash;
    float ripple = 0.6 * sin(3.0 * phi + 2.0 * th - seconds * 4.0 + phase)
                 + 0.4 * sin(2.0 * phi - 3.0 * th + seconds * 3.1 + 2.0 * phase);
    float d = (0.006 + amp * 0.5) * ripple * sin(th) * smoothstep(-0.5, -0.3, p.z);
    vec3 outward = normalize(vec3(p.xy, p.z * 0.7) + vec3(0.0, 0.0, 1e-4));
    // the model is stretched in z by zfactor (nearly so while morphing); keep the ripple the same size all
    // round in the world
    outward.z /= max(zfactor, 0.2);
    p.xyz += outward * d;
    return p;
}

void main() {
    seconds = float(time) * 0.001;
    phase = x * 1.7 + y * 2.3 + z * 0.9;
    // the modelview ends in a scale by (width, width, height)
    stretch = length(modelview[2].xyz) / max(length(modelview[0].xyz), 1e-6);
    float n = max(resolution, 2.0);
    float phi = vertex.x / n * 2.0 * PI;
    float th = vertex.y / (n - 1.0) * PI;
    // The last column is placed from the first one's angle, so the two meet exactly and no pixel slips
    // between them; the surface angles (for the eyes, on the front) keep running to 2 pi.
    float around = vertex.x < n - 0.5 ? phi : 0.0;

    vec4 p = body(around, th);

    // Normal from two nearby surface points, stepping towards the equator; each shares phi or the row angle
    // with this vertex, so the compiler can reuse part of the shapes' work. At the poles, where phi says
    // nothing, the point itself points outward.
    float e = 0.01;
    float dt = th < 0.5 * PI ? e : -e;
    vec3 n0 = cross(body(around + e, th).xyz - p.xyz, body(around, th + dt).xyz - p.xyz) * sign(dt);
    if (!(dot(n0, n0) > 1e-16)) {
        n0 = p.xyz;
    }

    mat3 m = mat3(modelview);
    // the modelview is a rotation times a scale, so the normal matrix is each column over its squared length
    vec3 c0 = m[0] / max(dot(m[0], m[0]), 1e-8);
    vec3 c1 = m[1] / max(dot(m[1], m[1]), 1e-8);
    vec3 c2 = m[2] / max(dot(m[2], m[2]), 1e-8);
    eyeNormal = mat3(c0, c1, c2) * n0;
    // sunlight from high up, front left, in world axes
    vec3 sun = normalize(vec3(-0.45, -0.35, 0.82));
    eyeLight = normalize(m[0]) * sun.x + normalize(m[1]) * sun.y + normalize(m[2]) * sun.z;

    vec4 eye = modelview * vec4(p.xyz, 1.0);
    eyePosition = eye.xyz;
    material = p.w;
    bodyHeight = p.z;
    faceted = vertfactor > 0.5 ? 1.0 : 0.0;
    surface = vec2(phi, th);
    eyes = eyeLayout(model);
    if (mixfactor > 0.0) {
        eyes = mix(eyes, eyeLayout(model2), mixfactor);
    }
    // crystals have no eyes
    if (faceted > 0.5) {
        eyes.z = 0.0;
    }
    gl_Position = projection * eye;
}
