// Small float image + procedural helpers used by all texture generators.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

// Deterministic 64-bit generator (splitmix64); never seeded from the clock.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [0, 1).
    float uniform();

private:
    std::uint64_t state_;
};

// Stateless lattice hash in [0, 1) for value noise and per-tile variation.
float hash2(int x, int y, std::uint32_t seed);

// Value noise that tiles with the given lattice periods (in cells).
float tiledNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);

float smoothstep(float e0, float e1, float x);
float clamp01(float x);
glm::vec3 hsv2rgb(float h, float s, float v);

// Float image, 3 or 4 channels in [0, 1]. Row 0 is the BOTTOM row of the
// picture (v = 0 in OBJ texture space), matching FreeImage's scanline order.
class Image {
public:
    Image(int width, int height, int channels);

    int width() const { return w_; }
    int height() const { return h_; }
    int channels() const { return ch_; }

    void set(int x, int y, const glm::vec3& rgb);
    void set(int x, int y, const glm::vec4& rgba);
    glm::vec4 get(int x, int y) const;

    // Writes PNG or JPEG depending on the extension. Returns false on failure.
    bool save(const std::string& path) const;

private:
    int w_, h_, ch_;
    std::vector<float> data_;
};

// Creates the parent folders of a file path. Returns false on failure.
bool ensureParentDir(const std::string& filePath);

} // namespace assetgen
