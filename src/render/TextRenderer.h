#pragma once

#include "render/ShaderProgram.h"
#include "render/TextLayout.h"

#include <GL/glew.h>
#include <glm/glm.hpp>
#include <map>
#include <memory>
#include <string>

namespace velorun {

// Screen text: one GL_RED texture per glyph, one streamed quad per character,
// laid out in a fixed 800 x 600 space with the origin at the bottom left.
struct TextRenderer {
    std::map<char, Character> characters;
    GLuint vao = 0;
    GLuint vbo = 0;
};

// Builds the text program, rasterises codes 0..127 of the game font and creates
// the quad's vertex array. A missing font prints FreeType's line and leaves the
// glyph table empty, so text draws nothing but the game goes on.
void setupText(const char* fontPath = "./Resources/Fonts/calibri.ttf");

void renderText(ShaderProgram* program, std::string text, float x, float y, float scale, glm::vec3 colour);

// Width of `text` in text-space units at `scale`: the sum of its glyphs'
// advances in the loaded font.
float textWidth(const std::string& text, float scale);

// Deletes the glyph textures and the quad while the context is current.
void releaseText();

} // namespace velorun
