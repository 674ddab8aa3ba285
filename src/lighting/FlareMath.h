#pragma once

#include <glm/glm.hpp>
#include <optional>
#include <vector>

namespace velorun {

// Screen positions here run 0..1, x to the right, y downwards; centre (0.5, 0.5).

// Where a world point lands on screen; nothing when it is at or behind the
// camera plane (clip w <= 0).
std::optional<glm::vec2> projectToScreen(const glm::mat4& projection, const glm::mat4& view,
                                         const glm::vec3& worldPosition);

// 0.2 in the centre, falling linearly; <= 0 means no flare.
float flareBrightness(const glm::vec2& screenPosition, const glm::vec2& centre = glm::vec2(0.5f));

// Element i sits at s + (centre - s) * (i * spacing): element 0 on the light,
// 1 / spacing on the centre, the rest mirrored beyond it.
std::vector<glm::vec2> flarePositions(const glm::vec2& screenPosition, std::size_t count, float spacing,
                                      const glm::vec2& centre = glm::vec2(0.5f));

// The "transform" uniform of one element: centre, size and size times aspect.
glm::vec4 flareTransform(const glm::vec2& position, float scale, int width, int height);

} // namespace velorun
