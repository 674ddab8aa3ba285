#include "app/PostFrameUpdate.h"

#include "app/GameRules.h"
#include "app/GameState.h"
#include "lighting/LightRig.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "scene/RunState.h"

namespace velorun {

void postFrameUpdate()
{
    uploadViewUniforms();

    const glm::vec3 carPosition = scene::positionOf(car->modelMatrix);
    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(carPosition));

    bool removeOldest = false;
    for (const std::unique_ptr<scene::Cube>& cube : run.cubes) {
        const glm::vec3 c = scene::positionOf(cube->modelMatrix);
        if (c.z > camera->position.z)
            removeOldest = true;
        if (hitsCar(c, carPosition)) {
            if (run.fireworksPending) {
                particleSystem.init(glm::vec3(0.0f, 0.0f, -1.0f));
                run.fireworksPending = false;
            }
            run.gameOver = true;
        }
    }
    if (removeOldest)
        run.cubes.erase(run.cubes.begin());

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
