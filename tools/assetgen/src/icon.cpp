// The desktop icon: a view down the glowing tube with the car in front.
#include <cmath>
#include <iostream>

#include "assets.hpp"
#include "image.hpp"

namespace assetgen {

namespace {

// The picture at p in [-1, 1]², y up, as straight (not premultiplied) RGBA.
// The colours are defined beyond the tile's edge too, so averaging samples
// across the edge gives no dark fringe.
glm::vec4 iconAt(const glm::vec2& p)
{
    // Rounded-square tile.
    const glm::vec2 q = glm::max(glm::abs(p) - glm::vec2(0.72f), glm::vec2(0.0f));
    const float corner = glm::length(q) - 0.2f;
    const float alpha = 1.0f - smoothstep(-0.01f, 0.01f, corner);

    // Tunnel: rings at radii that shrink geometrically towards the vanishing point.
    const glm::vec2 c = p - glm::vec2(0.0f, 0.08f);
    const float r = glm::length(c);
    glm::vec3 col = glm::mix(glm::vec3(0.05f, 0.07f, 0.10f), glm::vec3(0.16f, 0.20f, 0.27f), r);
    const float depth = std::log(std::max(r, 1e-3f)) / std::log(0.62f);
    const float ringPhase = depth - std::floor(depth);
    const float ring = std::exp(-std::pow((ringPhase - 0.5f) / 0.06f, 2.0f)) * smoothstep(0.04f, 0.2f, r);
    col += glm::vec3(0.25f, 0.85f, 1.0f) * ring * 0.9f;
    col += glm::vec3(0.9f, 0.95f, 1.0f) * std::exp(-std::pow(r / 0.08f, 2.0f)); // light at the end

    // Car: a low orange wedge with a dark cabin, seen from behind.
    const glm::vec2 b = p - glm::vec2(0.0f, -0.48f);
    const float body = std::max(std::fabs(b.x) - 0.36f + 0.25f * std::max(b.y, 0.0f), std::fabs(b.y) - 0.1f);
    const float cabin = std::max(std::fabs(b.x) - 0.2f + 0.4f * (b.y - 0.1f), std::fabs(b.y - 0.17f) - 0.08f);
    const float wheelL = glm::length((b - glm::vec2(-0.27f, -0.11f)) / glm::vec2(0.08f, 0.06f)) - 1.0f;
    const float wheelR = glm::length((b - glm::vec2(0.27f, -0.11f)) / glm::vec2(0.08f, 0.06f)) - 1.0f;
    if (cabin < 0.0f)
        col = glm::vec3(0.10f, 0.14f, 0.20f);
    if (body < 0.0f)
        col = glm::mix(glm::vec3(1.0f, 0.42f, 0.10f), glm::vec3(0.85f, 0.20f, 0.05f), (b.y + 0.1f) / 0.2f);
    if (std::fabs(b.y - 0.02f) < 0.025f && std::fabs(std::fabs(b.x) - 0.26f) < 0.06f && body < 0.0f)
        col = glm::vec3(1.0f, 0.15f, 0.12f); // tail lights
    if (wheelL < 0.0f || wheelR < 0.0f)
        col = glm::vec3(0.04f, 0.04f, 0.05f);

    return glm::vec4(glm::clamp(col, glm::vec3(0.0f), glm::vec3(1.0f)), alpha);
}

// Smaller icons average a grid of samples per pixel: the rings and the
// tile's edge are thinner than their pixels.
bool writeIcon(const std::string& outDir, int size, int samples)
{
    Image img(size, size, 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            glm::vec4 sum(0.0f);
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    const float fx = x + (sx + 0.5f) / samples;
                    const float fy = y + (sy + 0.5f) / samples;
                    sum += iconAt(glm::vec2(fx / size * 2.0f - 1.0f, fy / size * 2.0f - 1.0f));
                }
            }
            img.set(x, y, sum / static_cast<float>(samples * samples));
        }
    }
    const std::string name = "packaging/icons/velorun-" + std::to_string(size) + ".png";
    const bool ok = ensureParentDir(outDir + "/" + name) && img.save(outDir + "/" + name);
    if (ok)
        std::cout << "icon: " << name << " " << size << "x" << size << "\n";
    return ok;
}

} // namespace

// The sizes desktops look for in the hicolor icon theme.
bool generateIcon(const std::string& outDir)
{
    return writeIcon(outDir, 48, 4) && writeIcon(outDir, 128, 2) && writeIcon(outDir, 256, 1);
}

} // namespace assetgen
