#version 150

// The sampler's name hides the built-in texture() in this shader, hence texture2D.
uniform sampler2D texture;

in vec2 uv;

out vec4 fragColor;

void main() {
    fragColor = texture2D(texture, uv);
}
