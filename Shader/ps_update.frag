#version 430 core
// The update pass runs with rasterizer discard; this stage exists only to link.
layout(location = 0) out vec4 fragColor;

void main()
{
    fragColor = vec4(0.0);
}
