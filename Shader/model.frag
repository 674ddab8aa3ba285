#version 430 core
// Tube and car: eight shadowed tube lamps, optional headlight spot, glow, fog.
in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;

layout(location = 0) out vec4 fragColor;

uniform sampler2D texture_diffuse1;     // unit 0
// Per mesh: the diffuse map on unit 0 and, for a glossy mesh, its gloss map on
// unit 1. A mesh without a gloss map finds its diffuse map here instead and is
// as glossy as it is bright.
struct Material {
    sampler2D texture_diffuse1;
    sampler2D texture_specular1;
};
uniform Material material;
uniform samplerCube depthMaps[8];       // element j = shadow cube of lamp j+1
uniform float near_plane;               // near and far plane the shadow cubes were rendered with
uniform float far_plane;
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

const float LIGHT_RANGE = 25.0;         // lamps are 20 apart; each reaches a bit past its neighbour
const vec3  SPOT_DIR    = vec3(0.0, 0.0, -1.0);
const float SPOT_SOFT   = 0.035;        // cosine width of the soft cone edge
const float AMBIENT     = 0.20;
const float SHININESS   = 48.0;
const float SPEC_STRENGTH = 0.35;
const vec3  FOG_COLOR   = vec3(0.35, 0.36, 0.43);
const float FOG_START   = 55.0;
const float FOG_END     = 98.0;         // camera far plane is 100

// Shadow taps: a Vogel disk, turned per pixel by interleaved gradient noise so
// neighbouring pixels cover different parts of the penumbra: the edge becomes
// a fine, even dither instead of a few hard steps.
const int   SHADOW_TAPS = 4;
const vec2  VOGEL[SHADOW_TAPS] = vec2[SHADOW_TAPS](
    vec2( 0.3536,  0.0000), vec2(-0.4516,  0.4137), vec2( 0.0692, -0.7876), vec2( 0.5692,  0.7423));

// Texels along a cube face; all eight maps are the same size.
float shadowSize()
{
    return float(textureSize(depthMaps[0], 0).x);
}

// Windowed inverse-square falloff: reaches exactly zero at LIGHT_RANGE,
// so lamps out of reach cost neither lighting nor shadow look-ups.
float pointAttenuation(float d)
{
    float x = d / LIGHT_RANGE;
    float w = clamp(1.0 - x * x * x * x, 0.0, 1.0);
    return 1.7 * (w * w) / (1.0 + 0.010 * d * d);
}

float interleavedGradientNoise(vec2 pixel)
{
    return fract(52.9829189 * fract(dot(pixel, vec2(0.06711056, 0.00583715))));
}

// One shadow tap at `disk` texels from the fragment's own texel position uv0:
// 1 when the lamp sees past it, 0 when something stands in front.
float shadowTap(int j, vec3 v, vec2 uv0, vec3 sAxis, vec3 tAxis, float texelsPerUnit,
                float ref0, vec2 slope, float bias, vec2 disk)
{
    // Taps stay on the fragment's face, which the texel maths assumes, and read
    // at a texel's centre, where its stored depth holds exactly.
    vec2 texel = floor(clamp(uv0 + disk, 0.5, shadowSize() - 1.5) + 0.5);
    vec2 off = texel - uv0;
    float stored = texture(depthMaps[j], v + (sAxis * off.x + tAxis * off.y) / texelsPerUnit).r;
    // The tube is faceted: neighbouring facets bend towards the lamp, so
    // texels further out get more room before they count as a blocker.
    float room = bias * (2.0 + length(off));
    return step(ref0 - room + dot(slope, off), stored);
}

// Share of lamp j's light reaching the surface point at v from the lamp, with
// geometric normal Ng. The depth pass stores plain hardware depth P - Q / z of a
// 90-degree face, z the distance along the face's axis. Every texel is compared
// with the depth the surface's own plane has at that texel's centre, so a lit
// surface never shadows itself however grazing the light, and the bias can stay
// a fraction of a texel: shadows stay attached to what casts them.
float shadowLight(int j, vec3 v, vec3 Ng, float radius, mat2 spin)
{
    // Face the direction falls on, with its s and t axes as cube maps define them.
    vec3 a = abs(v);
    vec3 mAxis, sAxis, tAxis;
    if (a.x >= a.y && a.x >= a.z) {
        float sg = v.x < 0.0 ? -1.0 : 1.0;
        mAxis = vec3(sg, 0.0, 0.0); sAxis = vec3(0.0, 0.0, -sg); tAxis = vec3(0.0, -1.0, 0.0);
    } else if (a.y >= a.z) {
        float sg = v.y < 0.0 ? -1.0 : 1.0;
        mAxis = vec3(0.0, sg, 0.0); sAxis = vec3(1.0, 0.0, 0.0); tAxis = vec3(0.0, 0.0, sg);
    } else {
        float sg = v.z < 0.0 ? -1.0 : 1.0;
        mAxis = vec3(0.0, 0.0, sg); sAxis = vec3(sg, 0.0, 0.0); tAxis = vec3(0.0, -1.0, 0.0);
    }
    float ma = dot(v, mAxis);
    if (ma >= far_plane)
        return 1.0;
    float texelsPerUnit = 0.5 * shadowSize() / ma;      // across the face, at the fragment's distance
    vec2 uv0 = vec2(dot(v, sAxis), dot(v, tAxis)) * texelsPerUnit + (0.5 * shadowSize() - 0.5);

    float n = near_plane;
    float f = far_plane;
    float P = f / (f - n);
    float Q = f * n / (f - n);
    // Depth of the surface plane per texel step; clamped where the light grazes.
    float vn = min(dot(v, Ng), -0.1 * length(v));
    vec2 slope = -(Q / ma) * vec2(dot(sAxis, Ng), dot(tAxis, Ng)) / (texelsPerUnit * vn);
    // Half a texel of distance covers the depth pass's own rounding.
    float bias = Q * (0.5 / texelsPerUnit) / (ma * ma);
    float ref0 = P - Q / ma;

    float diskTexels = radius * texelsPerUnit;
    float lit = 0.0;
    for (int k = 0; k < SHADOW_TAPS; ++k)
        lit += shadowTap(j, v, uv0, sAxis, tAxis, texelsPerUnit, ref0, slope, bias, spin * VOGEL[k] * diskTexels);
    return lit / float(SHADOW_TAPS);
}

// Soft knee so lamp glints and glowing rings roll off instead of clipping flat.
vec3 softClip(vec3 c)
{
    vec3 over = max(c - 0.8, 0.0);
    return min(c, 0.8) + over / (1.0 + over * 5.0);
}

void main()
{
    vec3 tex = texture(texture_diffuse1, TexCoords).rgb;
    vec3 albedo = tex * objectColor;
    vec3 glossTexel = texture(material.texture_specular1, TexCoords).rgb;
    float gloss = dot(glossTexel, vec3(0.299, 0.587, 0.114));
    // Glossier surfaces get a tighter, brighter highlight.
    float shininess = mix(8.0, 2.0 * SHININESS, gloss);
    float specScale = gloss * (shininess + 8.0) / (SHININESS + 8.0);

    vec3 V = normalize(viewPosition - FragPos);
    vec3 N = normalize(Normal);
    // The facet's own plane, for the shadow test; oriented like the shading normal.
    vec3 Ng = normalize(cross(dFdx(FragPos), dFdy(FragPos)));
    if (dot(Ng, N) < 0.0) Ng = -Ng;

    vec3 lamps[8] = vec3[8](lightPositionPoint1, lightPositionPoint2, lightPositionPoint3,
                            lightPositionPoint4, lightPositionPoint5, lightPositionPoint6,
                            lightPositionPoint7, lightPositionPoint8);

    // A turn per pixel without trigonometry: a noisy direction, normalised.
    float noise = interleavedGradientNoise(gl_FragCoord.xy);
    vec2 turn = normalize(vec2(noise - 0.5, fract(noise * 11.0 + 0.31) - 0.5) + 1e-3);
    mat2 spin = mat2(turn.x, turn.y, -turn.y, turn.x);

    // Cost: SHADOW_TAPS shadow taps for each lamp that both reaches the fragment and
    // faces it; lamps sit 20 apart with a 25 range, so at most 3 qualify.
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

        float radius = 0.03 + 0.005 * d;    // wider penumbra further from the lamp
        float lit = shadowLight(j, -toLight, Ng, radius, spin);

        vec3 H = normalize(L + V);
        diffuse  += (att * ndl * lit);
        specular += (att * lit * ndl * pow(max(dot(N, H), 0.0), shininess));
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
            specular += att * ndl * pow(max(dot(N, H), 0.0), shininess);
        }
    }

    // The glowing rings are the brightest texels: let them partly light themselves
    // so they read even between lamps, and keep specular off them.
    float glow = smoothstep(0.5, 0.85, max(tex.r, max(tex.g, tex.b)));
    vec3 emissive = albedo * glow * 0.85;

    vec3 color = albedo * (AMBIENT + diffuse * lightColor) * (1.0 - 0.5 * glow)
               + SPEC_STRENGTH * specScale * (1.0 - glow) * specular * lightColor
               + emissive;
    color = softClip(color);

    float fog = smoothstep(FOG_START, FOG_END, length(viewPosition - FragPos));
    fragColor = vec4(mix(color, FOG_COLOR, fog), 1.0);
}
