#include "image.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>

#include <FreeImage.h>

namespace assetgen {

std::uint64_t Rng::next()
{
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::uniform() { return static_cast<float>(next() >> 40) / 16777216.0f; }

float hash2(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8DA6B343u ^
                      static_cast<std::uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

static int wrapIndex(int i, int period)
{
    int r = i % period;
    return r < 0 ? r + period : r;
}

float tiledNoise(float x, float y, int periodX, int periodY, std::uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    float tx = x - fx, ty = y - fy;
    tx = tx * tx * (3.0f - 2.0f * tx);
    ty = ty * ty * (3.0f - 2.0f * ty);
    const int x0 = wrapIndex(ix, periodX), x1 = wrapIndex(ix + 1, periodX);
    const int y0 = wrapIndex(iy, periodY), y1 = wrapIndex(iy + 1, periodY);
    const float a = hash2(x0, y0, seed), b = hash2(x1, y0, seed);
    const float c = hash2(x0, y1, seed), d = hash2(x1, y1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float smoothstep(float e0, float e1, float x)
{
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}

float clamp01(float x) { return std::min(1.0f, std::max(0.0f, x)); }

glm::vec3 hsv2rgb(float h, float s, float v)
{
    h = h - std::floor(h);
    const float k[3] = {5.0f, 3.0f, 1.0f};
    glm::vec3 out;
    for (int i = 0; i < 3; ++i) {
        const float kk = std::fmod(k[i] + h * 6.0f, 6.0f);
        out[i] = v - v * s * std::max(0.0f, std::min({kk, 4.0f - kk, 1.0f}));
    }
    return out;
}

Image::Image(int width, int height, int channels)
    : w_(width), h_(height), ch_(channels), data_(static_cast<std::size_t>(width) * height * channels, 0.0f)
{
}

void Image::set(int x, int y, const glm::vec3& rgb)
{
    float* p = &data_[(static_cast<std::size_t>(y) * w_ + x) * ch_];
    for (int i = 0; i < 3; ++i)
        p[i] = rgb[i];
    if (ch_ == 4)
        p[3] = 1.0f;
}

void Image::set(int x, int y, const glm::vec4& rgba)
{
    float* p = &data_[(static_cast<std::size_t>(y) * w_ + x) * ch_];
    for (int i = 0; i < ch_; ++i)
        p[i] = rgba[i];
}

glm::vec4 Image::get(int x, int y) const
{
    const float* p = &data_[(static_cast<std::size_t>(y) * w_ + x) * ch_];
    return glm::vec4(p[0], p[1], p[2], ch_ == 4 ? p[3] : 1.0f);
}

static BYTE toByte(float v) { return static_cast<BYTE>(std::lround(clamp01(v) * 255.0f)); }

bool Image::save(const std::string& path) const
{
    const std::string ext = std::filesystem::path(path).extension().string();
    const bool jpeg = (ext == ".jpg" || ext == ".jpeg");
    if (jpeg && ch_ != 3) {
        std::cerr << "assetgen: JPEG needs an RGB image: " << path << "\n";
        return false;
    }
    if (!ensureParentDir(path))
        return false;
    FIBITMAP* bmp = FreeImage_Allocate(w_, h_, ch_ * 8);
    if (!bmp)
        return false;
    for (int y = 0; y < h_; ++y) {
        BYTE* line = FreeImage_GetScanLine(bmp, y);
        for (int x = 0; x < w_; ++x) {
            const glm::vec4 c = get(x, y);
            BYTE* px = line + x * ch_;
            px[FI_RGBA_RED] = toByte(c.r);
            px[FI_RGBA_GREEN] = toByte(c.g);
            px[FI_RGBA_BLUE] = toByte(c.b);
            if (ch_ == 4)
                px[FI_RGBA_ALPHA] = toByte(c.a);
        }
    }
    // Model textures are decoded by SOIL, whose inflate is slow enough to show
    // in the game's start-up time; stored uncompressed they decode at copy speed.
    const bool modelTexture = path.find("/Resources/Objects/") != std::string::npos;
    const int pngFlags = modelTexture ? PNG_Z_NO_COMPRESSION : PNG_Z_BEST_COMPRESSION;
    const BOOL ok = jpeg ? FreeImage_Save(FIF_JPEG, bmp, path.c_str(),
                                          95 | JPEG_SUBSAMPLING_444 | JPEG_OPTIMIZE | JPEG_BASELINE)
                         : FreeImage_Save(FIF_PNG, bmp, path.c_str(), pngFlags);
    FreeImage_Unload(bmp);
    if (!ok)
        std::cerr << "assetgen: failed to write " << path << "\n";
    return ok == TRUE;
}

bool ensureParentDir(const std::string& filePath)
{
    std::error_code ec;
    const auto parent = std::filesystem::path(filePath).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (ec) {
        std::cerr << "assetgen: cannot create " << parent << ": " << ec.message() << "\n";
        return false;
    }
    return true;
}

} // namespace assetgen
