#include "game/PostFrameUpdate.h"

#include "game/GameState.h"
#include "lighting/LightRig.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "rules/GameRules.h"
#include "scene/RunState.h"

#include <algorithm>
#include <optional>

namespace velorun {

void endRun(const glm::vec3& at)
{
    if (run.gameOver) {
        // Hits after the end change nothing but where the car stands.
        return;
    }
    scene::setPosition(car->modelMatrix, at);
    camera->position = cameraFollowing(at);
    if (run.fireworksPending) {
        particleSystem.init(glm::vec3(0.0f, 0.0f, -1.0f), gameRandom);
        run.fireworksPending = false;
    }
    run.gameOver = true;
    const int score = scoreValue(at.z);
    bestScore = std::max(bestScore.value_or(score), score);
}

void postFrameUpdate()
{
    const glm::vec3 carPosition = scene::positionOf(car->modelMatrix);
    const float cameraZ = camera->position.z;

    // Obstacles. A cube that touches the car where it stands ends the run
    // there. One that only its move in this frame ran into ends it where the
    // car first touched it: the car and the camera go back to that point.
    bool removeOldest = false;
    bool hitWhereItStands = false;
    std::optional<double> firstTouch;
    for (const std::unique_ptr<scene::Cube>& cube : run.cubes) {
        const glm::vec3 c = scene::positionOf(cube->modelMatrix);
        if (c.z > cameraZ)
            removeOldest = true;
        if (hitsCar(c, carPosition)) {
            hitWhereItStands = true;
        } else if (!run.gameOver) {
            if (const std::optional<double> t = hitsCarAlong(c, run.carSeenAt, carPosition))
                firstTouch = std::min(*t, firstTouch.value_or(1.0));
        }
    }
    if (hitWhereItStands) {
        endRun(carPosition);
    } else if (firstTouch) {
        const glm::dvec3 from(run.carSeenAt);
        endRun(glm::vec3(from + *firstTouch * (glm::dvec3(carPosition) - from)));
    }
    run.carSeenAt = scene::positionOf(car->modelMatrix);

    // The next frame's passes draw from where the camera and the car now are.
    uploadViewUniforms();
    scene::setPosition(spotLightCube->modelMatrix, spotLightPositionFor(run.carSeenAt));

    if (removeOldest)
        run.cubes.erase(run.cubes.begin());

    // Removal and recycling keep to where the frame's move ended. A frame
    // long enough (a machine that stalled for seconds) carries the camera
    // past more than a segment: they leapfrog on until it is inside the tube.
    for (bool recycled = true; recycled;) {
        const float tubeAZ = tubeA->modelMatrix[3][2];
        const float tubeBZ = tubeB->modelMatrix[3][2];
        recycled = false;
        if (needsRecycling(tubeAZ, cameraZ)) {
            tubeA->modelMatrix[3][2] = tubeB->modelMatrix[3][2] - tubeSegmentSpacing;
            for (int k = 1; k <= pointLightCount; ++k)
                pointLightCube(k)->modelMatrix[3][2] = relocatedLightZ(cameraZ, k);
            recycled = true;
        }
        if (needsRecycling(tubeBZ, cameraZ)) {
            tubeB->modelMatrix[3][2] = tubeA->modelMatrix[3][2] - tubeSegmentSpacing;
            recycled = true;
        }
    }
}

} // namespace velorun
