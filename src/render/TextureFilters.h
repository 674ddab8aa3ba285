#pragma once

#include <GL/glew.h>

namespace velorun {

// Minification and magnification filters for a mip-mapping mode (0 off,
// 1 nearest level, 2 linear between levels) and the nearest-texel flag.
// Any other mode sets nothing and leaves GL's defaults in place.
struct TextureFilters {
    bool set;
    GLint minFilter;
    GLint magFilter;
};

TextureFilters textureFilters(int mipmapMode, bool nearestFilter);

// Sets those filters on the 2-D texture bound to the active unit.
void applyTextureFilters(int mipmapMode, bool nearestFilter);

// Start values for the filter fields of textures made before any key toggle:
// trilinear filtering, so the tube's rings do not shimmer at speed. The toggles
// only change what textures created afterwards would use.
constexpr int initialMipmapMode = 2;
constexpr bool initialNearestFilter = false;

} // namespace velorun
