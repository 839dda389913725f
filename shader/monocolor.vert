#version 150
// Lines in world space (target lines, ground lines of flying units).
in vec3 vertex;
uniform mat4 projection;
uniform mat4 modelview;

void main() {
    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
