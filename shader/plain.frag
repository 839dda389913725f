#version 150

// One flat colour; components above 1 (the pressed button's fill alpha) are clamped here so a float
// framebuffer shows the same as an 8-bit one.
uniform vec4 tint;

out vec4 fragColor;

void main() {
    fragColor = clamp(tint, 0.0, 1.0);
}
