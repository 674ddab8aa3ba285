#version 430 core
// Lens-flare sprite. transform = (centre x, centre y, x size, y size); the centre is
// in 0..1 screen space with y running down. The engine passes y size = x size * aspect
// (width/height). One NDC unit covers W/2 pixels across but only H/2 pixels down, so
// scaling NDC y by the aspect is exactly what keeps the sprite round:
// width = x size * W pixels, height = x size * aspect * H = x size * W pixels.
// Sizes are fractions of the screen width, matching the 0..1 centre space.
layout(location = 0) in vec3 corner;     // quad corners in -0.5..0.5
layout(location = 1) in vec2 texCoord;

uniform vec4 transform;

out vec2 TexCoords;
out float Weight;

void main()
{
    vec2 centre = vec2(transform.x * 2.0 - 1.0, 1.0 - transform.y * 2.0);
    vec2 ndc = centre + corner.xy * transform.zw * 2.0;
    gl_Position = vec4(ndc, 0.0, 1.0);
    TexCoords = texCoord;
    // The big ghosts (halo, wide glow) cover a lot of screen: keep them faint
    // so the small sharp ones carry the sparkle.
    Weight = mix(1.0, 0.4, smoothstep(0.1, 0.5, transform.z));
}
