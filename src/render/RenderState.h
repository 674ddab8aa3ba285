#pragma once

#include "render/TextRenderer.h"

// Program-wide state of the rendering foundation: the screen text's glyphs,
// quad and program, filled by setupText.
namespace velorun {

extern TextRenderer textRenderer;

// Deletes the glyph textures, the quad and the text program while the context
// is current, leaving the state as before setupText.
void releaseRenderState();

} // namespace velorun
