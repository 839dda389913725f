#version 150
// The ring image is a bright ring on black without an alpha channel: its brightness becomes the
// coverage, the tint gives the colour.
uniform sampler2D image;
uniform vec4 tint;
in vec2 uv;
out vec4 fragColor;

void main() {
    vec4 texel = texture(image, uv);
    float coverage = max(texel.r, max(texel.g, texel.b)) * texel.a;
    fragColor = vec4(tint.rgb, tint.a * coverage);
}
