#version 430 core
// Spark sprite. The texture is a soft glow on black without alpha, so brightness
// becomes coverage; dim texels are discarded, as they would add nothing.
in vec2 TexCoord;

layout(location = 0) out vec4 fragColor;

uniform sampler2D gColorMap;

void main()
{
    vec3 c = texture(gColorMap, TexCoord).rgb;
    float a = max(c.r, max(c.g, c.b));
    if (a < 0.05)
        discard;
    // Un-premultiply so the faint rim keeps its hue instead of turning grey,
    // and run the centre towards white-hot.
    vec3 hue = c / a;
    vec3 col = mix(hue, vec3(1.0, 0.95, 0.8), smoothstep(0.7, 1.0, a) * 0.6);
    fragColor = vec4(col, clamp(a * 1.3, 0.0, 1.0));
}
