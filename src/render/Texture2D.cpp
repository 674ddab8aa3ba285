#include "render/Texture2D.h"

#include "render/ImageHeader.h"

#include <FreeImage.h>
#include <iostream>
#include <optional>

namespace velorun {

Texture2D::Texture2D(const char* path) { load(path); }

Texture2D::Texture2D(const char* path, int mode, bool nearest) : mipmapMode(mode), nearestFilter(nearest)
{
    load(path);
}

Texture2D::~Texture2D() { glDeleteTextures(1, &id); }

void Texture2D::load(const char* path)
{
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);

    applyTextureFilters(mipmapMode, nearestFilter);

    // The decoder allocates what the header declares, so the size is checked
    // before a single pixel is read.
    const std::optional<ImageHeader> header = readImageHeader(path);
    FIBITMAP* image = header && imageSizeAllowed(header->width, header->height)
                          ? FreeImage_Load(FreeImage_GetFileType(path, 0), path, 0)
                          : nullptr;
    FIBITMAP* converted = image ? FreeImage_ConvertTo32Bits(image) : nullptr;
    const unsigned width = converted ? FreeImage_GetWidth(converted) : 0;
    const unsigned height = converted ? FreeImage_GetHeight(converted) : 0;

    if (imageSizeAllowed(width, height)) {
        // FreeImage keeps rows bottom first, so t = 0 is the image's bottom edge.
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0,
                     GL_BGRA, GL_UNSIGNED_BYTE, FreeImage_GetBits(converted));
        glGenerateMipmap(GL_TEXTURE_2D);
    } else {
        // The texture stays empty and samples black; the game goes on.
        std::cerr << "Failed to load image: " << path << std::endl;
    }

    if (converted)
        FreeImage_Unload(converted);
    if (image)
        FreeImage_Unload(image);
}

} // namespace velorun
