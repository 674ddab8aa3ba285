#version 430 core
// Tube and car meshes.
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoords;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;

out vec3 FragPos;   // world space
out vec3 Normal;    // world space, not normalised here
out vec2 TexCoords;

void main()
{
    vec4 world = model * vec4(aPos, 1.0);
    FragPos = world.xyz;
    // The tube is scaled (4,4,15): normals need the inverse-transpose.
    // Inverting only the 3x3 part keeps it cheap per vertex.
    Normal = transpose(inverse(mat3(model))) * aNormal;
    TexCoords = aTexCoords;
    gl_Position = projection * view * world;
}
