#include "lighting/LightRig.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace velorun {

std::array<glm::mat4, pointLightCount> initialLightMatrices()
{
    static const float steps[7] = {-30.0f, -50.0f, -70.0f, -90.0f, -110.0f, -130.0f, -150.0f};
    std::array<glm::mat4, 8> matrices;
    glm::mat4 m(1.0f);
    m = glm::translate(m, glm::vec3(1.8f, 2.1f, -30.0f));
    m = glm::scale(m, glm::vec3(0.2f, 0.2f, 0.2f));
    matrices[0] = m;
    for (int k = 1; k < 8; ++k) {
        m = glm::translate(m, glm::vec3(0.0f, 0.0f, steps[k - 1]));
        matrices[static_cast<size_t>(k)] = m;
    }
    return matrices;
}

float relocatedLightZ(float cameraZ, int k)
{
    return static_cast<float>(static_cast<double>(cameraZ) - (10.0 + 20.0 * k));
}

float spotCutOff()
{
    const float radians = glm::radians(17.0f);
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

glm::vec3 spotLightPositionFor(const glm::vec3& car)
{
    return glm::vec3(static_cast<float>(static_cast<double>(car.x) + 0.1),
                     static_cast<float>(static_cast<double>(car.y) + 0.3),
                     static_cast<float>(static_cast<double>(car.z) - 0.2));
}

} // namespace velorun
