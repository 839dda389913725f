#version 150

// Textured 2D quads in window pixels.
in vec3 vertex;
in vec2 texcoord;

uniform mat4 projection;

out vec2 uv;

void main() {
    uv = texcoord;
    gl_Position = projection * vec4(vertex, 1.0);
}
