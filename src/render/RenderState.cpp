#include "render/RenderState.h"

namespace velorun {

TextRenderer textRenderer;

void releaseRenderState() { releaseText(textRenderer); }

} // namespace velorun
