#include "app/PostFrameUpdate.h"

#include "app/GameRules.h"
#include "app/GameState.h"
#include "lighting/LightRig.h"
#include "lighting/SceneState.h"
#include "render/Uniforms.h"

namespace velorun {

namespace {

void uploadView(const ShaderProgram& shader, const glm::mat4& view, const glm::vec3* viewPosition)
{
    glUseProgram(shader.program);
    setUniform(shader.program, "view", view);
    if (viewPosition)
        setUniform(shader.program, "viewPosition", *viewPosition);
}

} // namespace

void postFrameUpdate()
{
    const glm::mat4 view = camera->viewMatrix();
    const glm::vec3 eye = camera->position;
    uploadView(*cubeShader, view, &eye);
    uploadView(*lightShader, view, nullptr);
    uploadView(*spotLightShader, view, nullptr);
    uploadView(*modelShader, view, &eye);

    const glm::vec3 carPosition = scene::positionOf(car->modelMatrix);
    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(carPosition));

    bool removeOldest = false;
    for (const std::unique_ptr<scene::Cube>& cube : cubes) {
        const glm::vec3 c = scene::positionOf(cube->modelMatrix);
        if (c.z > camera->position.z)
            removeOldest = true;
        if (hitsCar(c, carPosition)) {
            if (fireworksPending) {
                particleSystem.init(glm::vec3(0.0f, 0.0f, -1.0f));
                fireworksPending = false;
            }
            gameOver = true;
        }
    }
    if (removeOldest)
        cubes.erase(cubes.begin());

    const float cameraZ = camera->position.z;
    const float tubeAZ = tubeA->modelMatrix[3][2];
    const float tubeBZ = tubeB->modelMatrix[3][2];
    if (needsRecycling(tubeAZ, cameraZ)) {
        tubeA->modelMatrix[3][2] = tubeB->modelMatrix[3][2] - tubeSegmentSpacing;
        for (int k = 1; k <= pointLightCount; ++k)
            pointLightCube(k)->modelMatrix[3][2] = relocatedLightZ(cameraZ, k);
    }
    if (needsRecycling(tubeBZ, cameraZ))
        tubeB->modelMatrix[3][2] = tubeA->modelMatrix[3][2] - tubeSegmentSpacing;
}

} // namespace velorun
