#version 150
// One flat colour with its alpha.
uniform vec4 tint;
out vec4 fragColor;

void main() {
    fragColor = tint;
}
