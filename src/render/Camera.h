#pragma once

#include <glm/glm.hpp>

namespace velorun {

// The single viewpoint. Only `position` ever changes: it follows the car.
class Camera {
public:
    glm::vec3 position{0.0f, 0.0f, 3.0f};
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};

    Camera() = default;
    Camera(const glm::vec3& position, const glm::vec3& front, const glm::vec3& up);

    glm::mat4 viewMatrix() const;
};

} // namespace velorun
