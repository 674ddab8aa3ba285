#include "render/ImageHeader.h"

#include <FreeImage.h>

namespace velorun {

std::optional<ImageHeader> readImageHeader(const char* path)
{
    const FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN || !FreeImage_FIFSupportsNoPixels(format))
        return std::nullopt;
    FIBITMAP* header = FreeImage_Load(format, path, FIF_LOAD_NOPIXELS);
    if (!header)
        return std::nullopt;
    ImageHeader result;
    result.kind = format == FIF_PNG    ? ImageKind::Png
                  : format == FIF_JPEG ? ImageKind::Jpeg
                                       : ImageKind::Other;
    result.width = FreeImage_GetWidth(header);
    result.height = FreeImage_GetHeight(header);
    FreeImage_Unload(header);
    return result;
}

bool imageSizeAllowed(unsigned width, unsigned height)
{
    return width >= 1 && height >= 1 && width <= maxImageSide && height <= maxImageSide;
}

} // namespace velorun
