#version 150

// Sky box faces: a unit cube around the eye, turned by the camera's rotation only.
in vec2 texcoord;
in vec3 vertex;

uniform mat4 projection;
uniform mat4 modelview;

out vec2 uv;

void main() {
    uv = texcoord;
    gl_Position = projection * modelview * vec4(vertex, 1.0);
}
