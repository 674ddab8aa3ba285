#include "render/TextLayout.h"

namespace velorun {

std::array<float, 24> glyphQuad(const Character& glyph, float x, float y, float scale)
{
    const float xpos = x + static_cast<float>(glyph.bearing.x) * scale;
    const float ypos = y - static_cast<float>(glyph.size.y - glyph.bearing.y) * scale;
    const float w = static_cast<float>(glyph.size.x) * scale;
    const float h = static_cast<float>(glyph.size.y) * scale;
    return {xpos,     ypos + h, 0.0f, 0.0f, //
            xpos,     ypos,     0.0f, 1.0f, //
            xpos + w, ypos,     1.0f, 1.0f, //
            xpos,     ypos + h, 0.0f, 0.0f, //
            xpos + w, ypos,     1.0f, 1.0f, //
            xpos + w, ypos + h, 1.0f, 0.0f};
}

bool glyphSizeAllowed(long width, long rows, int pixelSize)
{
    const long limit = 4L * pixelSize;
    return width >= 0 && rows >= 0 && width <= limit && rows <= limit;
}

float glyphAdvance(const Character& glyph, float scale)
{
    return static_cast<float>(glyph.advance >> 6) * scale;
}

} // namespace velorun
