#version 150
// Additive effects: beams and trail particles from the effect atlas.
in vec2 texcoord;
in vec3 vertex;
uniform mat4 projection;
uniform mat4 modelview;
out vec2 uv;

void main() {
    uv = texcoord;
    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
