#version 150

// Glyph quads in font units; modelview places and scales the line, projection maps pixels to clip space.
in vec2 vertex;
in vec2 texcoord;

uniform mat4 projection;
uniform mat4 modelview;

out vec2 uv;

void main() {
    uv = texcoord;
    gl_Position = projection * modelview * vec4(vertex, 0.0, 1.0);
}
