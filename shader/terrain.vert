#version 150

// Terrain vertices in map units (z up). The mesh normals point down on level ground, so they are flipped
// here once and everything after works with an upward normal.
// What changes slowly across the map is worked out here, once per vertex, so that the fragment stage
// (by far the frame's largest cost) samples only what needs the full detail: the four tiles, the tile
// weights and the broad brightness variation. That covers the fog, the drifting cloud shade, the images'
// average brightness, and the normal maps: seen from the game's camera a normal-map texel is far below a
// pixel, so they are read at the level where one texel covers about a cell and bend the vertex normal.
in vec3 vertex;
in vec3 normal;

uniform mat4 modelview;
uniform mat4 projection;
uniform float mapsize;
uniform int time;
uniform sampler2D terrain2;
uniform sampler2D terrain3;
uniform sampler2D normal0;
uniform sampler2D normal1;
uniform sampler2D normal2;
uniform sampler2D normal3;
uniform sampler2D alpha;
uniform sampler2D fow;

out vec3 position;
out vec3 groundNormal;  // upward, bent by the tiles' normal maps
out vec2 mapCoord;
out float fogAmount;    // 0 clear .. 1 fully fogged
out float fogShade;     // brightness left under fog, with the cloud shade
out vec2 averageShade;  // overall brightness of the two images behind the broad variation

const float cellsPerTile = 4.0;
const float cellLevel = 7.0;  // 512-texel tiles over 4 cells: level 7 has one texel per cell

float luminance(vec3 c) {
    return dot(c, vec3(0.299, 0.587, 0.114));
}

void main() {
    position = vertex;
    // The weight and fog textures each span the whole map with texel (0, 0) at the origin.
    mapCoord = vertex.xy / mapsize;

    vec3 w = textureLod(alpha, mapCoord, 0.0).rgb;
    vec4 weights = vec4(clamp(1.0 - (w.r + w.g + w.b), 0.0, 1.0), w);
    weights /= max(weights.x + weights.y + weights.z + weights.w, 0.0001);
    vec2 uv = vertex.xy / cellsPerTile;
    vec3 bump = (textureLod(normal0, uv, cellLevel).rgb * weights.x + textureLod(normal1, uv, cellLevel).rgb * weights.y +
                 textureLod(normal2, uv, cellLevel).rgb * weights.z + textureLod(normal3, uv, cellLevel).rgb * weights.w) *
                    2.0 - 1.0;
    // Tangent frame of the height field: x along the map, bent to be perpendicular to the surface normal.
    vec3 n = normalize(-normal);
    vec3 t = normalize(vec3(1.0, 0.0, 0.0) - n * n.x);
    vec3 b = cross(n, t);
    groundNormal = normalize(t * bump.x + b * bump.y + n * max(bump.z, 0.2));

    // Fog alpha runs 0 (clear) to about 0.5 (fully fogged).
    fogAmount = clamp(textureLod(fow, mapCoord, 0.0).a * 2.0, 0.0, 1.0);
    float seconds = float(time) * 0.001;
    float cloud = 0.5 + 0.5 * sin(vertex.x * 0.45 + seconds * 0.35) * sin(vertex.y * 0.38 - seconds * 0.27);
    fogShade = 0.3 + 0.1 * cloud;

    // The 1 x 1 level is the same wherever it is read; read at the vertex's own broad coordinates so that,
    // with mipmapping switched off (base level only), the reference varies across the map like the
    // fragment's samples instead of shifting the whole map by one texel's brightness.
    averageShade = vec2(luminance(textureLod(terrain3, vertex.xy / 37.0, 16.0).rgb),
                        luminance(textureLod(terrain2, vertex.yx / 23.0, 16.0).rgb));

    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
