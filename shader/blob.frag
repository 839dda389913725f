#version 150

// Lights a blob like a lump of coloured gel: soft wrapped diffuse light, a wet highlight, a brighter rim
// where the skin is seen edge-on and a darker underside. Alpha is thinner in the middle than at the rim,
// so with blending on the far side shows through.

uniform vec4 tint;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec3 eyeLight;
in float material;
in float bodyHeight;
in float faceted;
in vec2 surface;
in vec3 eyes;

out vec4 fragColour;

uniform int time;

const float PI = 3.14159265;

// How much of an eye covers this point (0 none, 1 white, 2 pupil), from the surface angles, which the
// grid interpolates exactly at every level of detail. Eyes sit on the front (-y) and blink now and then.
float eyeAt(vec2 at) {
    if (eyes.z <= 0.0) {
        return 0.0;
    }
    float blink = fract(float(time) * 0.00023 + eyes.x * 3.7);
    float open = blink < 0.025 ? 0.15 : 1.0;
    float across = sin(eyes.x);
    float best = 0.0;
    for (int side = -1; side <= 1; side += 2) {
        vec2 d = vec2((at.x - (1.5 * PI + float(side) * eyes.y)) * across, (at.y - eyes.x) / open);
        float r = length(d) / eyes.z;
        if (r < 1.0) {
            // pupils look up and towards the middle, at the player's camera
            vec2 pd = d - vec2(-float(side) * 0.02, 0.035) * eyes.z / 0.13;
            best = max(best, length(pd) / eyes.z < 0.5 ? 2.0 : 1.0);
        }
    }
    return best;
}

void main() {
    vec3 v = normalize(-eyePosition);
    vec3 nrm;
    if (faceted > 0.5) {
        // crystals: one normal per triangle gives cut facets
        nrm = normalize(cross(dFdx(eyePosition), dFdy(eyePosition)));
    } else {
        nrm = normalize(eyeNormal);
    }
    // The transparent pass draws the far wall with the front face flipped, so gl_FrontFacing cannot tell
    // the inside apart; the normal turned away from the eye can.
    bool inside = faceted < 0.5 && dot(nrm, v) < 0.0;
    if (inside) {
        nrm = -nrm;
    }
    vec3 l = normalize(eyeLight);
    float ndl = dot(nrm, l);
    float diffuse = clamp((ndl + 0.4) / 1.4, 0.0, 1.0);
    float facing = clamp(dot(nrm, v), 0.0, 1.0);
    float rim = pow(1.0 - facing, 2.2);
    vec3 halfway = normalize(l + v);
    float nh = max(dot(nrm, halfway), 0.0);
    float specular = pow(nh, 60.0);
    float sheen = pow(nh, 6.0);

    vec3 base = tint.rgb;
    vec3 deep = base * 0.28 + vec3(0.02, 0.02, 0.04);
    vec3 colour = mix(deep, base, diffuse);
    // thin parts (wings, tentacles) let more light through and look paler
    float thin = clamp(1.0 - material, 0.0, 1.0);
    float paper = clamp(material - 1.0, 0.0, 1.0);
    colour = mix(colour, base * 0.55 + vec3(0.35), thin * 0.6);
    colour = mix(colour, vec3(0.93, 0.9, 0.84) * (0.35 + 0.65 * diffuse) + base * 0.12, paper * 0.7);
    // underside in the shade of the body
    colour *= mix(0.55, 1.0, smoothstep(-0.5, 0.05, bodyHeight));
    colour += mix(base, vec3(1.0), 0.45) * rim * 0.45;
    colour += vec3(1.0) * (specular * 0.85 + sheen * 0.08);
    if (inside) {
        // the inside of the far wall, seen through the body
        colour *= 0.6;
    }

    float eye = inside ? 0.0 : eyeAt(surface);
    if (eye > 1.5) {
        colour = vec3(0.04) + vec3(1.0) * specular * 0.9;
    } else if (eye > 0.5) {
        colour = vec3(0.95) * (0.55 + 0.45 * diffuse) + vec3(1.0) * specular * 0.5;
    }

    float alpha = tint.a * mix(0.62, 0.97, rim) * mix(0.7, 1.0, 1.0 - thin);
    alpha = mix(alpha, tint.a, paper * 0.8);
    alpha = clamp(alpha + specular * 0.5 * tint.a, 0.0, 1.0);
    if (eye > 0.5) {
        alpha = tint.a;
    }
    fragColour = vec4(colour, alpha);
}
