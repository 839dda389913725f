#version 150

// The font image has no alpha channel: a texel's brightness is how much of it the glyph covers.
// White glyph pixels take the tint's colour; coloured ones (the command icons) keep their hue under it.
uniform sampler2D font;
uniform vec4 tint;

in vec2 uv;

out vec4 fragColor;

void main() {
    vec3 texel = texture(font, uv).rgb;
    float coverage = max(texel.r, max(texel.g, texel.b));
    vec3 hue = coverage > 0.0 ? texel / coverage : vec3(1.0);
    fragColor = vec4(tint.rgb * hue, clamp(tint.a, 0.0, 1.0) * coverage);
}
