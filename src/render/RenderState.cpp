#include "render/RenderState.h"

namespace velorun {

TextRenderer textRenderer;
std::unique_ptr<ShaderProgram> textShader;

void releaseRenderState()
{
    releaseText();
    textShader.reset();
}

} // namespace velorun
