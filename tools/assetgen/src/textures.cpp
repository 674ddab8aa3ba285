// Flat textures: obstacle crate faces, the firework spark and the lens flare
// elements.

#include <cmath>
#include <functional>
#include <iostream>

#include <glm/gtc/constants.hpp>

#include "assets.hpp"
#include "image.hpp"

namespace assetgen {
namespace {

// Distance measure whose level sets are regular hexagons (apothem = value).
float hexDistance(glm::vec2 p, float rotation)
{
    float d = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const float a = rotation + k * glm::pi<float>() / 3.0f;
        d = std::max(d, std::fabs(p.x * std::cos(a) + p.y * std::sin(a)));
    }
    return d;
}

// A flare element: given p in [-1, 1]^2, returns colour (rgb) and strength
// (alpha). The caller forces alpha to zero towards the image border.
using FlareFn = std::function<glm::vec4(glm::vec2)>;

bool writeFlare(const std::string& path, int size, const FlareFn& fn)
{
    Image img(size, size, 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec2 p((x + 0.5f) / size * 2.0f - 1.0f, (y + 0.5f) / size * 2.0f - 1.0f);
            const float r = glm::length(p);
            glm::vec4 c = fn(p);
            c.a = clamp01(c.a) * (1.0f - smoothstep(0.88f, 0.98f, r));
            // Keep the hue, but let strong centres go towards white.
            glm::vec3 rgb = glm::mix(glm::vec3(c), glm::vec3(1.0f), 0.35f * c.a * c.a);
            img.set(x, y, glm::vec4(glm::clamp(rgb, glm::vec3(0.0f), glm::vec3(1.0f)), c.a));
        }
    }
    return img.save(path);
}

glm::vec3 rainbowRamp(float t)
{ // blue (0) .. green .. red (1)
    return hsv2rgb(0.66f * (1.0f - clamp01(t)), 0.75f, 1.0f);
}

} // namespace

bool generateObstacleTexture(const std::string& outDir)
{
    constexpr int kSize = 256;
    Image img(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const float s = (x + 0.5f) / kSize, t = (y + 0.5f) / kSize;
            // Diagonal rainbow sweep with a soft wave so the bands are not ruler straight.
            // Red in the lower left corner through to violet in the upper right, inside the frame.
            const float hue =
                0.84f * clamp01((s + t - 0.14f) / 1.72f) + 0.02f * std::sin(t * glm::two_pi<float>() * 2.0f);
            glm::vec3 c = hsv2rgb(hue, 0.88f, 1.0f);
            const float edge =
                std::min(std::min(x + 0.5f, kSize - x - 0.5f), std::min(y + 0.5f, kSize - y - 0.5f));
            // Inner shading: tiles look slightly domed.
            const glm::vec2 q(s - 0.5f, t - 0.5f);
            c *= 1.0f - 0.35f * glm::dot(q, q);
            if (edge < 14.0f) { // dark frame with a bevelled lip
                const float lip = (x + y < kSize) ? 0.22f : 0.10f; // lit from the lower left
                c = glm::vec3(edge < 3.0f ? 0.06f : (edge > 11.0f ? lip : 0.13f));
            } else if (edge < 17.0f) {
                c = glm::mix(c, glm::vec3(1.0f), 0.7f); // thin bright inner border
            } else if (edge < 22.0f) {
                c *= 0.75f + 0.05f * (edge - 17.0f); // soft shadow under the border
            }
            img.set(x, y, glm::clamp(c, glm::vec3(0.0f), glm::vec3(1.0f)));
        }
    }
    const bool ok = img.save(outDir + "/Textures/rainbow.jpg");
    if (ok)
        std::cout << "rainbow.jpg: " << kSize << "x" << kSize << "\n";
    return ok;
}

bool generateFireworkTexture(const std::string& outDir)
{
    constexpr int kSize = 128;
    Image img(kSize, kSize, 3);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const glm::vec2 p((x + 0.5f) / kSize * 2.0f - 1.0f, (y + 0.5f) / kSize * 2.0f - 1.0f);
            const float r = glm::length(p);
            const float a = std::atan2(p.y, p.x);
            const float core = std::exp(-std::pow(r / 0.13f, 2.0f));
            const float body = std::exp(-std::pow(r / 0.38f, 2.0f));
            const float rays = std::pow(std::fabs(std::cos(a * 4.0f)), 24.0f) * std::exp(-r / 0.3f);
            glm::vec3 c = glm::vec3(1.0f, 0.93f, 0.78f) * core +
                          glm::vec3(1.0f, 0.30f, 0.07f) * body * 0.95f +
                          glm::vec3(1.0f, 0.45f, 0.15f) * rays * 0.35f;
            c *= 1.0f - smoothstep(0.55f, 0.86f, r); // exactly black towards the edges
            img.set(x, y, glm::clamp(c, glm::vec3(0.0f), glm::vec3(1.0f)));
        }
    }
    const bool ok = img.save(outDir + "/Textures/fireworks_red.jpg");
    if (ok)
        std::cout << "fireworks_red.jpg: " << kSize << "x" << kSize << "\n";
    return ok;
}

bool generateLensFlares(const std::string& outDir)
{
    const std::string dir = outDir + "/Textures/LensFlares/";
    struct Flare {
        const char* name;
        int size;
        FlareFn fn;
    };
    const Flare flares[] = {
        // Soft warm glow.
        {"tex2.png", 256,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             return glm::vec4(1.0f, 0.84f, 0.62f,
                              0.9f * std::exp(-std::pow(r / 0.32f, 2.0f)) +
                                  0.18f * std::exp(-std::pow(r / 0.65f, 2.0f)));
         }},
        // Small cool ring.
        {"tex3.png", 128,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             const float ring = std::exp(-std::pow((r - 0.68f) / 0.07f, 2.0f));
             return glm::vec4(0.60f, 0.80f, 1.0f, 0.85f * ring + 0.07f * smoothstep(0.7f, 0.4f, r));
         }},
        // Teal hexagon with a brighter rim.
        {"tex4.png", 256,
         [](glm::vec2 p) {
             const float d = hexDistance(p, 0.0f);
             const float fill = smoothstep(0.74f, 0.70f, d) * (0.14f + 0.14f * d);
             const float rim = std::exp(-std::pow((d - 0.71f) / 0.025f, 2.0f)) * 0.35f;
             return glm::vec4(0.50f, 1.0f, 0.80f, fill + rim);
         }},
        // Small orange disc.
        {"tex5.png", 128,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             return glm::vec4(1.0f, 0.58f, 0.28f, smoothstep(0.78f, 0.66f, r) * (0.32f + 0.22f * (1.0f - r)));
         }},
        // Big halo with rainbow fringes (blue inside, red outside).
        {"tex6.png", 256,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             const float halo = std::exp(-std::pow((r - 0.76f) / 0.085f, 2.0f));
             const glm::vec3 c = rainbowRamp((r - 0.62f) / 0.28f);
             return glm::vec4(c, 0.5f * halo);
         }},
        // Soft violet hexagon, rotated against tex4.
        {"tex7.png", 256,
         [](glm::vec2 p) {
             const float d = hexDistance(p, glm::pi<float>() / 6.0f);
             return glm::vec4(0.80f, 0.62f, 1.0f, 0.45f * (1.0f - smoothstep(0.25f, 0.72f, d)));
         }},
        // Large faint blue glow with a horizontal anamorphic streak.
        {"tex8.png", 256,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             const float glow = 0.22f * std::exp(-std::pow(r / 0.45f, 2.0f));
             const float streak =
                 0.75f * std::exp(-std::pow(p.y / 0.022f, 2.0f)) * std::exp(-std::pow(p.x / 0.55f, 2.0f));
             return glm::vec4(0.52f, 0.70f, 1.0f, glow + streak);
         }},
        // Tiny sharp six-pointed star.
        {"tex9.png", 128,
         [](glm::vec2 p) {
             const float r = glm::length(p);
             const float a = std::atan2(p.y, p.x);
             const float core = std::exp(-std::pow(r / 0.09f, 2.0f));
             const float rays = std::pow(std::fabs(std::cos(a * 3.0f)), 60.0f) * std::exp(-r / 0.28f);
             return glm::vec4(1.0f, 0.95f, 0.88f, core + 0.9f * rays);
         }},
    };
    for (const Flare& f : flares) {
        if (!writeFlare(dir + f.name, f.size, f.fn))
            return false;
    }
    std::cout << "lens flares: " << (sizeof flares / sizeof flares[0]) << " elements\n";
    return true;
}

} // namespace assetgen
