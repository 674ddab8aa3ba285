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
    std::unique_ptr<ShaderProgram> shader;
};

// Builds the text program, rasterises codes 0..127 of the game font and creates
// the quad's vertex array. A missing font prints FreeType's line and leaves the
// glyph table empty, so text draws nothing but the game goes on.
void setupText(TextRenderer& text, const char* fontPath = "./Resources/Fonts/calibri.ttf");

void renderText(TextRenderer& text, const std::string& line, float x, float y, float scale, glm::vec3 colour);

// Width of `line` in text-space units at `scale`: the sum of its glyphs'
// advances in the loaded font.
float textWidth(const TextRenderer& text, const std::string& line, float scale);

// Deletes the glyph textures, the quad and the program while the context is
// current, leaving `text` as before setupText.
void releaseText(TextRenderer& text);

} // namespace velorun
