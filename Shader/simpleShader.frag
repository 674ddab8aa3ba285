#version 430 core
// Lens flare, drawn additively weighted by alpha (SRC_ALPHA, ONE).
// brightness tops out at 0.2; scaling it to at most 0.3 lets the ghosts
// sparkle while the flares of several lamps near the centre, which add up,
// still don't wash the tunnel out.
in vec2 TexCoords;
in float Weight;

layout(location = 0) out vec4 fragColor;

uniform sampler2D flareTexture;
uniform float brightness;

void main()
{
    vec4 tex = texture(flareTexture, TexCoords);
    fragColor = vec4(tex.rgb, clamp(tex.a * brightness * 1.5 * Weight, 0.0, 1.0));
}
