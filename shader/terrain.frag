#version 150

// Blends the four tile textures by the weight image (type 0, steep ground, takes whatever the three
// channels leave), lights them with the vertex normal bent per pixel by the blended normal maps, varies
// the brightness broadly so the tile repeat does not show, and darkens fogged ground by the per-vertex
// fog and cloud shade.
uniform sampler2D terrain0;
uniform sampler2D terrain1;
uniform sampler2D terrain2;
uniform sampler2D terrain3;
uniform sampler2D normal0;
uniform sampler2D normal1;
uniform sampler2D normal2;
uniform sampler2D normal3;
uniform sampler2D alpha;

in vec3 position;
in vec3 groundNormal;
in vec2 mapCoord;
in float fogAmount;
in float fogShade;
in vec2 averageShade;

out vec4 fragColor;

const vec3 sunDirection = vec3(0.45, -0.35, 0.82);
const float cellsPerTile = 4.0;

float luminance(vec3 c) {
    return dot(c, vec3(0.299, 0.587, 0.114));
}

void main() {
    vec2 uv = position.xy / cellsPerTile;
    vec4 c0 = texture(terrain0, uv);
    vec4 c1 = texture(terrain1, uv);
    vec4 c2 = texture(terrain2, uv);
    vec4 c3 = texture(terrain3, uv);

    vec3 w = texture(alpha, mapCoord).rgb;
    vec4 weights = vec4(clamp(1.0 - (w.r + w.g + w.b), 0.0, 1.0), w);
    // Height blend: each tile's brightness stands in for its relief, so where two tiles meet the
    // raised parts of one (stones, grass tufts) break through the other instead of a soft cross-fade.
    vec4 relief = weights + vec4(luminance(c0.rgb), luminance(c1.rgb), luminance(c2.rgb), luminance(c3.rgb)) * 0.6;
    float top = max(max(relief.x, relief.y), max(relief.z, relief.w)) - 0.2;
    weights = max(relief - vec4(top), vec4(0.0)) * step(vec4(0.001), weights);
    weights /= max(weights.x + weights.y + weights.z + weights.w, 0.0001);
    vec3 colour = c0.rgb * weights.x + c1.rgb * weights.y + c2.rgb * weights.z + c3.rgb * weights.w;
    vec3 bump = (texture(normal0, uv).rgb * weights.x + texture(normal1, uv).rgb * weights.y +
                 texture(normal2, uv).rgb * weights.z + texture(normal3, uv).rgb * weights.w) * 2.0 - 1.0;

    // Blurred (mip-biased) samples of two tiles stretched over tens of cells, against each image's
    // average: only the tiles' broad shading shows at this scale, none of their features.
    float broad = luminance(texture(terrain3, position.xy / 37.0, 3.0).rgb) - averageShade.x +
                  luminance(texture(terrain2, position.yx / 23.0, 3.0).rgb) - averageShade.y;
    colour *= clamp(1.0 + 1.5 * broad, 0.75, 1.25);

    // Tangent frame of the height field: x along the map, bent to be perpendicular to the surface normal.
    vec3 n = normalize(groundNormal);
    vec3 t = normalize(vec3(1.0, 0.0, 0.0) - n * n.x);
    vec3 b = cross(n, t);
    vec3 shaded = normalize(t * bump.x + b * bump.y + n * max(bump.z, 0.2));
    float diffuse = max(dot(shaded, normalize(sunDirection)), 0.0);
    // Sky light fades on steep faces that look away from the open sky.
    float sky = 0.55 + 0.45 * n.z;
    vec3 lit = colour * (vec3(1.0, 0.97, 0.9) * diffuse * 0.85 + vec3(0.55, 0.6, 0.7) * sky * 0.45);

    vec3 grey = vec3(luminance(lit));
    vec3 fogged = mix(lit, grey, 0.6) * fogShade;
    fragColor = vec4(mix(lit, fogged, fogAmount), 1.0);
}
