#version 150
// The atlas holds white shapes with alpha; the tint colours them and scales their strength.
uniform sampler2D image;
uniform vec4 tint;
in vec2 uv;
out vec4 fragColor;

void main() {
    vec4 texel = texture(image, uv);
    fragColor = vec4(texel.rgb * tint.rgb, texel.a * tint.a);
}
