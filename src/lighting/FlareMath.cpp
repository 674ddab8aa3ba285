#include "lighting/FlareMath.h"

#include <cmath>

namespace velorun {

std::optional<glm::vec2> projectToScreen(const glm::mat4& projection, const glm::mat4& view,
                                         const glm::vec3& worldPosition)
{
    const glm::vec4 clip = projection * view * glm::vec4(worldPosition, 1.0f);
    if (clip.w <= 0.0f)
        return std::nullopt;
    return glm::vec2((clip.x / clip.w + 1.0f) * 0.5f, 1.0f - (clip.y / clip.w + 1.0f) * 0.5f);
}

float flareBrightness(const glm::vec2& s, const glm::vec2& centre)
{
    const glm::vec2 d = centre - s;
    const float len = std::sqrt(d.x * d.x + d.y * d.y);
    return 0.2f - len / 1.2f;
}

std::vector<glm::vec2> flarePositions(const glm::vec2& s, std::size_t count, float spacing,
                                      const glm::vec2& centre)
{
    const glm::vec2 d = centre - s;
    std::vector<glm::vec2> positions;
    positions.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        positions.push_back(s + d * (static_cast<float>(i) * spacing));
    return positions;
}

glm::vec4 flareTransform(const glm::vec2& position, float scale, int width, int height)
{
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    return glm::vec4(position.x, position.y, scale, scale * aspect);
}

} // namespace velorun
