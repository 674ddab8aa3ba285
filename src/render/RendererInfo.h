#pragma once

namespace velorun {

// Whether GL_RENDERER names one of Mesa's CPU rasterisers. Such a driver does
// its work when commands are flushed, so GPU timestamps say little there.
bool isSoftwareRenderer(const char* rendererName);

} // namespace velorun
