#version 430 core
// Shadow cube pass: world position only; the geometry stage projects per face.
layout(location = 0) in vec3 position;

uniform mat4 model;

void main()
{
    gl_Position = model * vec4(position, 1.0);
}
