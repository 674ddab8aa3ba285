#pragma once

#include <array>
#include <glm/glm.hpp>

namespace velorun {

// One rasterised glyph.
struct Character {
    unsigned int textureID = 0;
    glm::ivec2 size{0, 0}; // bitmap width and rows
    glm::ivec2 bearing{0, 0}; // bitmap left and top
    unsigned int advance = 0; // pen advance in 1/64 pixel
};

// Six (x, y, u, v) vertices of a glyph's quad with the pen at (x, y) on the
// baseline; v = 0 is the bitmap's first row, the glyph's top.
std::array<float, 24> glyphQuad(const Character& glyph, float x, float y, float scale);

// Whether a glyph bitmap of this size is a letter at the given pixel size
// rather than a damaged outline: neither side beyond four times that size.
bool glyphSizeAllowed(long width, long rows, int pixelSize);

// Pen advance in text-space units: whole pixels only, then scaled.
float glyphAdvance(const Character& glyph, float scale);

} // namespace velorun
