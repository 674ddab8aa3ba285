#pragma once

#include <string>
#include <vector>

namespace velorun {

// The current read framebuffer's pixels as RGBA rows, bottom row first.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;

    // Pixel (x, y) with y counted from the bottom, as GL does.
    const unsigned char* at(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Screenshot readScreenshot(int width, int height);

// Writes a PNG (top row first, as viewers expect); false when it could not.
bool saveScreenshotPng(const Screenshot& shot, const std::string& path);

} // namespace velorun
