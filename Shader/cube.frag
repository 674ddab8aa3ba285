#version 430 core
// Obstacle cubes: textured, lit by the eight tube lamps and the headlight spot.
// No shadow look-ups here; the cubes are small and the cost is not worth it.
in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;

layout(location = 0) out vec4 fragColor;

uniform vec3 objectColor;
uniform vec3 lightColor;
uniform sampler2D colorTexture;
uniform float cutOff;          // cosine of the spot cone
uniform vec3 viewPosition;
uniform vec3 lightPositionPoint1;
uniform vec3 lightPositionPoint2;
uniform vec3 lightPositionPoint3;
uniform vec3 lightPositionPoint4;
uniform vec3 lightPositionPoint5;
uniform vec3 lightPositionPoint6;
uniform vec3 lightPositionPoint7;
uniform vec3 lightPositionPoint8;
uniform vec3 lightPositionSpot;

const float LIGHT_RANGE = 25.0;         // lamps are 20 apart; each reaches a bit past its neighbour
const vec3  SPOT_DIR    = vec3(0.0, 0.0, -1.0);
const float SPOT_SOFT   = 0.035;        // cosine width of the soft cone edge
const float AMBIENT     = 0.14;
const float SHININESS   = 48.0;
const float SPEC_STRENGTH = 0.45;
const vec3  FOG_COLOR   = vec3(0.35, 0.36, 0.43);
const float FOG_START   = 55.0;
const float FOG_END     = 98.0;         // camera far plane is 100

// Windowed inverse-square falloff: reaches exactly zero at LIGHT_RANGE,
// so far lamps cost nothing and there is no visible cut.
float pointAttenuation(float d)
{
    float x = d / LIGHT_RANGE;
    float w = clamp(1.0 - x * x * x * x, 0.0, 1.0);
    return (w * w) / (1.0 + 0.012 * d * d);
}

// Soft knee so bright highlights roll off instead of clipping flat.
vec3 softClip(vec3 c)
{
    vec3 over = max(c - 0.8, 0.0);
    return min(c, 0.8) + over / (1.0 + over * 5.0);
}

void main()
{
    vec3 albedo = texture(colorTexture, TexCoords).rgb * objectColor;

    vec3 V = normalize(viewPosition - FragPos);
    vec3 N = normalize(Normal);
    if (dot(N, V) < 0.0) N = -N;        // robust against inward/outward mesh normals

    vec3 lamps[8] = vec3[8](lightPositionPoint1, lightPositionPoint2, lightPositionPoint3,
                            lightPositionPoint4, lightPositionPoint5, lightPositionPoint6,
                            lightPositionPoint7, lightPositionPoint8);

    vec3 diffuse  = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int j = 0; j < 8; ++j) {
        vec3 toLight = lamps[j] - FragPos;
        float d = length(toLight);
        if (d >= LIGHT_RANGE) continue;
        vec3 L = toLight / d;
        float ndl = dot(N, L);
        if (ndl <= 0.0) continue;
        float att = pointAttenuation(d);
        vec3 H = normalize(L + V);
        diffuse  += att * ndl;
        specular += att * pow(max(dot(N, H), 0.0), SHININESS);
    }

    // Headlight: shines down the tube (-z) with a soft cone edge.
    {
        vec3 toLight = lightPositionSpot - FragPos;
        float d = length(toLight);
        vec3 L = toLight / max(d, 1e-4);
        float theta = dot(-L, SPOT_DIR);
        float cone = smoothstep(cutOff - SPOT_SOFT, cutOff + 0.01, theta);
        float ndl = dot(N, L);
        if (cone > 0.0 && ndl > 0.0) {
            float att = 1.6 * cone / (1.0 + 0.045 * d + 0.0075 * d * d);
            vec3 H = normalize(L + V);
            diffuse  += att * ndl;
            specular += att * pow(max(dot(N, H), 0.0), SHININESS);
        }
    }

    vec3 color = albedo * (AMBIENT + diffuse * lightColor) + SPEC_STRENGTH * specular * lightColor;
    color = softClip(color);

    float fog = smoothstep(FOG_START, FOG_END, length(viewPosition - FragPos));
    fragColor = vec4(mix(color, FOG_COLOR, fog), 1.0);
}
