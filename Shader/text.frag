#version 430 core
// Glyph atlas stores coverage in red; it becomes the blend alpha.
in vec2 TexCoords;

layout(location = 0) out vec4 fragColor;

uniform sampler2D text;
uniform vec3 textColor;

void main()
{
    fragColor = vec4(textColor, texture(text, TexCoords).r);
}
