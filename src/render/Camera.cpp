#include "render/Camera.h"

#include <glm/gtc/matrix_transform.hpp>

namespace velorun {

Camera::Camera(const glm::vec3& p, const glm::vec3& f, const glm::vec3& u) : position(p), front(f), up(u) {}

glm::mat4 Camera::viewMatrix() const { return glm::lookAt(position, position + front, up); }

} // namespace velorun
