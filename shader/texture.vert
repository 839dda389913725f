#version 150
// Textured quads lying in the world: selection and destination rings.
in vec2 texcoord;
in vec3 vertex;
uniform mat4 projection;
uniform mat4 modelview;
out vec2 uv;

void main() {
    uv = texcoord;
    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
