#version 150

// Terrain vertices in map units (z up). The mesh normals point down on level ground, so they are flipped
// here once and everything after works with an upward normal.
in vec3 vertex;
in vec3 normal;

uniform mat4 modelview;
uniform mat4 projection;
uniform float mapsize;

out vec3 position;
out vec3 groundNormal;
out vec2 mapCoord;

void main() {
    position = vertex;
    groundNormal = -normal;
    // The weight and fog textures each span the whole map with texel (0, 0) at the origin.
    mapCoord = vertex.xy / mapsize;
    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
