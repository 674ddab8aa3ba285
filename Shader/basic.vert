#version 430 core
// Shared by the obstacle cubes (cube.frag) and the light markers (light.frag).
layout(location = 0) in vec3 position;
in vec3 normal;
in vec2 uv;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 FragPos;   // world space
out vec3 Normal;    // world space, not normalised here
out vec2 TexCoords;

void main()
{
    vec4 world = model * vec4(position, 1.0);
    FragPos = world.xyz;
    // Cubes may be scaled per axis, so use the real normal matrix (3x3 only: cheap).
    Normal = transpose(inverse(mat3(model))) * normal;
    TexCoords = uv;
    gl_Position = projection * view * world;
}
