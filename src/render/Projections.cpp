#include "render/Projections.h"

#include <glm/gtc/matrix_transform.hpp>

namespace velorun {

float windowAspect(int width, int height)
{
    if (width <= 0 || height <= 0)
        return 0.0f;
    return static_cast<float>(width) / static_cast<float>(height);
}

ViewportChange viewportChange(glm::ivec2 projectedFor, glm::ivec2 size, bool minimised)
{
    const bool hasArea = !minimised && windowAspect(size.x, size.y) > 0.0f;
    return ViewportChange{hasArea, hasArea && size != projectedFor};
}

glm::mat4 sceneProjection(float aspect)
{
    return glm::perspective(sceneFieldOfView, aspect, sceneNear, sceneFar);
}

glm::mat4 fireworksProjection()
{
    return glm::perspective(sceneFieldOfView, fireworksAspect, sceneNear, sceneFar);
}

glm::mat4 shadowProjection() { return glm::perspective(shadowFieldOfView, 1.0f, shadowNear, shadowFar); }

glm::mat4 textProjection() { return glm::ortho(0.0f, textSpaceWidth, 0.0f, textSpaceHeight); }

} // namespace velorun
