#version 430 core
// Light marker cubes are the lamps themselves: warm near-white emission with a
// hot centre on each face. Reading the normal and uv keeps both inputs active,
// so the markers' vertex arrays find every attribute of basic.vert.
layout(location = 0) out vec4 fragColor;

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;

void main()
{
    vec2 fromCentre = TexCoords - vec2(0.5);
    float core = 1.0 - 0.12 * clamp(dot(fromCentre, fromCentre) * 4.0, 0.0, 1.0);
    // Faces turned towards -z (the way the player looks) glow a touch warmer.
    float facing = 0.03 * clamp(-normalize(Normal).z, 0.0, 1.0);
    fragColor = vec4(vec3(1.0, 0.97, 0.90) * core + vec3(facing, facing * 0.5, 0.0), 1.0);
}
