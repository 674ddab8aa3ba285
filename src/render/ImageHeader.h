#pragma once

#include <optional>

namespace velorun {

// The largest side of an image the game decodes, checked against the size a
// file declares before any pixel is decoded: far beyond any texture the game
// needs, and it keeps a damaged header from deciding how much memory a
// decoder takes.
constexpr unsigned maxImageSide = 4096;

enum class ImageKind { Png, Jpeg, Other };

struct ImageHeader {
    ImageKind kind = ImageKind::Other;
    unsigned width = 0;
    unsigned height = 0;
};

// The format (found from the contents) and the size an image file declares,
// read through FreeImage without decoding its pixels. Nothing when the file
// cannot be read, its format is unknown or the format cannot tell its size
// before decoding.
std::optional<ImageHeader> readImageHeader(const char* path);

// Whether an image of this size may be decoded: each side 1 to maxImageSide.
bool imageSizeAllowed(unsigned width, unsigned height);

} // namespace velorun
