#pragma once

#include "render/TextureFilters.h"

#include <GL/glew.h>

namespace velorun {

// A 2-D texture made from one image file through FreeImage, with a full
// mip-map chain. Left bound to GL_TEXTURE_2D on unit 0 after construction.
class Texture2D {
public:
    GLuint id = 0;
    int mipmapMode = initialMipmapMode;
    bool nearestFilter = initialNearestFilter;

    explicit Texture2D(const char* path);
    // Lets a caller choose the filters before the upload reads them.
    Texture2D(const char* path, int mipmapMode, bool nearestFilter);
    ~Texture2D();

    Texture2D(const Texture2D&) = delete;
    Texture2D& operator=(const Texture2D&) = delete;

private:
    void load(const char* path);
};

} // namespace velorun
