#pragma once

#include "render/ShaderProgram.h"
#include "render/TextRenderer.h"

#include <memory>

// Program-wide state of the rendering foundation: the screen text's glyphs,
// quad and program, filled by setupText.
namespace velorun {

extern TextRenderer textRenderer;
extern std::unique_ptr<ShaderProgram> textShader;

// Deletes the glyph textures, the quad and the text program while the context
// is current, leaving the state as before setupText.
void releaseRenderState();

} // namespace velorun
