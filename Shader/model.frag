#version 430 core
// Tube and car: eight shadowed tube lamps, optional headlight spot, glow, fog.
in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;

layout(location = 0) out vec4 fragColor;

uniform sampler2D texture_diffuse1;     // unit 0
uniform samplerCube depthMaps[8];       // element j = shadow cube of lamp j+1
uniform float far_plane;                // far plane the shadow cubes were rendered with
uniform vec3 objectColor;
uniform vec3 lightColor;
uniform float cutOff;                   // cosine of the spot cone
uniform int renderSpot;                 // 1: headlight contributes
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

const float SHADOW_NEAR = 1.0;          // near plane of the shadow cube projection
const float LIGHT_RANGE = 25.0;         // lamps are 20 apart; each reaches a bit past its neighbour
const vec3  SPOT_DIR    = vec3(0.0, 0.0, -1.0);
const float SPOT_SOFT   = 0.035;        // cosine width of the soft cone edge
const float AMBIENT     = 0.20;
const float SHININESS   = 48.0;
const float SPEC_STRENGTH = 0.35;
const vec3  FOG_COLOR   = vec3(0.35, 0.36, 0.43);
const float FOG_START   = 55.0;
const float FOG_END     = 98.0;         // camera far plane is 100

// Rotated 4-tap pattern on a small disk perpendicular to the light ray.
// Fixed (not per-pixel random) so edges stay stable while driving.
const vec2 TAPS[4] = vec2[4](vec2( 0.80,  0.35), vec2(-0.35,  0.80),
                             vec2(-0.80, -0.35), vec2( 0.35, -0.80));

// Windowed inverse-square falloff: reaches exactly zero at LIGHT_RANGE,
// so lamps out of reach cost neither lighting nor shadow look-ups.
float pointAttenuation(float d)
{
    float x = d / LIGHT_RANGE;
    float w = clamp(1.0 - x * x * x * x, 0.0, 1.0);
    return 1.7 * (w * w) / (1.0 + 0.010 * d * d);
}

// The depth pass stores plain hardware depth of a 90-degree perspective face,
// so convert the major-axis distance to that same window depth instead of
// converting every fetched texel back to distance.
float cubeDepth(vec3 v)
{
    vec3 a = abs(v);
    float z = max(a.x, max(a.y, a.z));
    z -= 0.02 + 0.01 * z;               // distance bias, grows with texel footprint
    float n = SHADOW_NEAR;
    float f = far_plane;
    return ((f + n) / (f - n) - 2.0 * f * n / ((f - n) * max(z, n))) * 0.5 + 0.5;
}

// Soft knee so lamp glints and glowing rings roll off instead of clipping flat.
vec3 softClip(vec3 c)
{
    vec3 over = max(c - 0.8, 0.0);
    return min(c, 0.8) + over / (1.0 + over * 5.0);
}

void main()
{
    // An unset colour uniform reads as black; fall back to neutral white.
    vec3 tint  = dot(objectColor, objectColor) > 0.0 ? objectColor : vec3(1.0);
    vec3 lampC = dot(lightColor, lightColor) > 0.0 ? lightColor : vec3(1.0);

    vec3 tex = texture(texture_diffuse1, TexCoords).rgb;
    vec3 albedo = tex * tint;

    vec3 V = normalize(viewPosition - FragPos);
    vec3 N = normalize(Normal);
    if (dot(N, V) < 0.0) N = -N;        // we look at the tube from inside: face the viewer

    vec3 lamps[8] = vec3[8](lightPositionPoint1, lightPositionPoint2, lightPositionPoint3,
                            lightPositionPoint4, lightPositionPoint5, lightPositionPoint6,
                            lightPositionPoint7, lightPositionPoint8);

    // Cost: 4 cube fetches per lamp that both reaches the fragment and faces it.
    // Lamps sit 20 apart with a 25 range, so at most 3 qualify: <= 12 fetches per fragment.
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

        // Normal offset defeats acne on the tube wall, which the lamps hit at grazing angles.
        vec3 v = FragPos + N * (0.02 + 0.01 * d) - lamps[j];
        float lit = 1.0;
        if (max(abs(v.x), max(abs(v.y), abs(v.z))) < far_plane) {
            vec3 axis = abs(v.y) < 0.9 * length(v) ? vec3(0.0, 1.0, 0.0) : vec3(1.0, 0.0, 0.0);
            vec3 t = normalize(cross(axis, v));
            vec3 b = normalize(cross(v, t));
            float radius = 0.04 + 0.006 * d;   // wider penumbra further from the lamp
            lit = 0.0;
            for (int k = 0; k < 4; ++k) {
                vec3 s = v + (t * TAPS[k].x + b * TAPS[k].y) * radius;
                lit += cubeDepth(s) <= texture(depthMaps[j], s).r ? 0.25 : 0.0;
            }
        }

        vec3 H = normalize(L + V);
        diffuse  += (att * ndl * lit);
        specular += (att * lit * pow(max(dot(N, H), 0.0), SHININESS));
    }

    // Headlight: shines down the tube (-z) with a soft cone edge; no shadow.
    if (renderSpot == 1) {
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

    // The glowing rings are the brightest texels: let them partly light themselves
    // so they read even between lamps, and keep specular off them.
    float glow = smoothstep(0.5, 0.85, max(tex.r, max(tex.g, tex.b)));
    vec3 emissive = albedo * glow * 0.85;

    vec3 color = albedo * (AMBIENT + diffuse * lampC) * (1.0 - 0.5 * glow)
               + SPEC_STRENGTH * (1.0 - glow) * specular * lampC
               + emissive;
    color = softClip(color);

    float fog = smoothstep(FOG_START, FOG_END, length(viewPosition - FragPos));
    fragColor = vec4(mix(color, FOG_COLOR, fog), 1.0);
}
