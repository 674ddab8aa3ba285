#include "render/Screenshot.h"

#include <FreeImage.h>
#include <GL/glew.h>

namespace velorun {

Screenshot readScreenshot(int width, int height)
{
    Screenshot shot;
    shot.width = width;
    shot.height = height;
    shot.rgba.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    GLint previousAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, shot.rgba.data());
    glPixelStorei(GL_PACK_ALIGNMENT, previousAlignment);
    return shot;
}

bool saveScreenshotPng(const Screenshot& shot, const std::string& path)
{
    FIBITMAP* bitmap = FreeImage_Allocate(shot.width, shot.height, 24);
    if (!bitmap)
        return false;
    // FreeImage also stores rows bottom first, like GL.
    for (int y = 0; y < shot.height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < shot.width; ++x) {
            const unsigned char* p = shot.at(x, y);
            row[x * 3 + FI_RGBA_RED] = p[0];
            row[x * 3 + FI_RGBA_GREEN] = p[1];
            row[x * 3 + FI_RGBA_BLUE] = p[2];
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0) != 0;
    FreeImage_Unload(bitmap);
    return saved;
}

} // namespace velorun
