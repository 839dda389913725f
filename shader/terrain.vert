#version 150

// Terrain vertices in map units (z up). The mesh normals point down on level ground, so they are flipped
// here once and everything after works with an upward normal.
// What changes slowly across the map is worked out here, once per vertex: the fog, the drifting cloud
// shade and the images' average brightness. The normal maps are not: a pixel of the game's camera covers
// one or a few normal-map texels, so the fragment stage reads them at the pixel's own level of detail.
in vec3 vertex;
in vec3 normal;

uniform mat4 modelview;
uniform mat4 projection;
uniform float mapsize;
uniform int time;
uniform sampler2D terrain2;
uniform sampler2D terrain3;
uniform sampler2D fow;

out vec3 position;
out vec3 groundNormal;  // upward
out vec2 mapCoord;
out float fogAmount;    // 0 clear .. 1 fully fogged
out float fogShade;     // brightness left under fog, with the cloud shade
out vec2 averageShade;  // overall brightness of the two images behind the broad variation

float luminance(vec3 c) {
    return dot(c, vec3(0.299, 0.587, 0.114));
}

void main() {
    position = vertex;
    groundNormal = -normal;
    // The weight and fog textures each span the whole map with texel (0, 0) at the origin.
    mapCoord = vertex.xy / mapsize;

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
