#version 430 core
// Firework sprite: particle position in firework space, expanded by the geometry stage.
layout(location = 0) in vec3 Position;

void main()
{
    gl_Position = vec4(Position, 1.0);
}
