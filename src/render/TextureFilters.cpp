#include "render/TextureFilters.h"

namespace velorun {

TextureFilters textureFilters(int mipmapMode, bool nearestFilter)
{
    const GLint mag = nearestFilter ? GL_NEAREST : GL_LINEAR;
    switch (mipmapMode) {
    case 0:
        return {true, nearestFilter ? GL_NEAREST : GL_LINEAR, mag};
    case 1:
        return {true, nearestFilter ? GL_NEAREST_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_NEAREST, mag};
    case 2:
        return {true, nearestFilter ? GL_NEAREST_MIPMAP_LINEAR : GL_LINEAR_MIPMAP_LINEAR, mag};
    default:
        return {false, 0, 0};
    }
}

void applyTextureFilters(int mipmapMode, bool nearestFilter)
{
    const TextureFilters filters = textureFilters(mipmapMode, nearestFilter);
    if (filters.set) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters.minFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters.magFilter);
    }
}

} // namespace velorun
