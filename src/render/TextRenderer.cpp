#include "render/TextRenderer.h"

#include "render/Projections.h"
#include "render/Uniforms.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <iostream>

namespace velorun {

namespace {

constexpr int glyphPixelSize = 48;

// Loads and renders one glyph as a bitmap the upload can take. The outline's
// size is checked before rendering, because the rasteriser allocates
// whatever box a damaged outline spans, and the bitmap must be one byte of
// coverage per pixel, rows exactly its width apart, as the upload reads it.
bool renderGlyph(FT_Face face, int code)
{
    if (FT_Load_Char(face, static_cast<FT_ULong>(code), FT_LOAD_DEFAULT))
        return false;
    const FT_GlyphSlot g = face->glyph;
    const auto pixels = [](FT_Pos size26Dot6) { return (size26Dot6 + 63) / 64; };
    if (!glyphSizeAllowed(pixels(g->metrics.width), pixels(g->metrics.height), glyphPixelSize))
        return false;
    if (FT_Render_Glyph(g, FT_RENDER_MODE_NORMAL))
        return false;
    const FT_Bitmap& bitmap = g->bitmap;
    return bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch == static_cast<int>(bitmap.width) &&
           glyphSizeAllowed(bitmap.width, bitmap.rows, glyphPixelSize);
}

void loadGlyphs(TextRenderer& text, FT_Face face)
{
    FT_Set_Pixel_Sizes(face, 0, glyphPixelSize);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < 128; ++code) {
        if (!renderGlyph(face, code)) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        const FT_GlyphSlot g = face->glyph;
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(g->bitmap.width),
                     static_cast<GLsizei>(g->bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE, g->bitmap.buffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        Character glyph;
        glyph.textureID = texture;
        glyph.size = glm::ivec2(static_cast<int>(g->bitmap.width), static_cast<int>(g->bitmap.rows));
        glyph.bearing = glm::ivec2(g->bitmap_left, g->bitmap_top);
        glyph.advance = static_cast<unsigned int>(g->advance.x);
        text.characters.insert(std::make_pair(static_cast<char>(code), glyph));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

void setupText(TextRenderer& text, const char* fontPath)
{
    text.shader = std::make_unique<ShaderProgram>("./Shader/text.vert", "./Shader/text.frag");
    glUseProgram(text.shader->program);
    setUniform(text.shader->program, "projection", textProjection());

    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        library = nullptr;
    }
    FT_Face face = nullptr;
    if (library && FT_New_Face(library, fontPath, 0, &face)) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        face = nullptr;
    }
    if (face) {
        loadGlyphs(text, face);
        FT_Done_Face(face);
    } else {
        // Without a face there is nothing to rasterise; the alignment still
        // holds for the rest of the run as it would after a good load.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    }
    if (library)
        FT_Done_FreeType(library);

    glGenVertexArrays(1, &text.vao);
    glGenBuffers(1, &text.vbo);
    glBindVertexArray(text.vao);
    glBindBuffer(GL_ARRAY_BUFFER, text.vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * 6 * 4, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void renderText(TextRenderer& text, const std::string& line, float x, float y, float scale, glm::vec3 colour)
{
    glUseProgram(text.shader->program);
    setUniform(text.shader->program, "textColor", colour);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(text.vao);
    for (const char c : line) {
        const Character glyph = text.characters[c];
        const std::array<float, 24> quad = glyphQuad(glyph, x, y, scale);
        glBindTexture(GL_TEXTURE_2D, glyph.textureID);
        glBindBuffer(GL_ARRAY_BUFFER, text.vbo);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(float) * quad.size(), quad.data());
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        x += glyphAdvance(glyph, scale);
    }
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

float textWidth(const TextRenderer& text, const std::string& line, float scale)
{
    float width = 0.0f;
    for (const char c : line) {
        const auto glyph = text.characters.find(c);
        if (glyph != text.characters.end())
            width += glyphAdvance(glyph->second, scale);
    }
    return width;
}

void releaseText(TextRenderer& text)
{
    for (auto& entry : text.characters)
        if (entry.second.textureID != 0)
            glDeleteTextures(1, &entry.second.textureID);
    if (text.vbo)
        glDeleteBuffers(1, &text.vbo);
    if (text.vao)
        glDeleteVertexArrays(1, &text.vao);
    text = TextRenderer{};
}

} // namespace velorun
