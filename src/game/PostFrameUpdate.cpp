#include "game/PostFrameUpdate.h"

#include "lighting/LightRig.h"
#include "lighting/SceneSetup.h"
#include "lighting/SceneState.h"
#include "particles/ParticleSystem.h"
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
        particleSystem.init(glm::vec3(0.0f, 0.0f, -1.0f), session.gameRandom);
        run.fireworksPending = false;
    }
    run.gameOver = true;
    const int score = scoreValue(at.z);
    session.bestScore = std::max(session.bestScore.value_or(score), score);
}

void postFrameUpdate()
{
    const glm::vec3 carPosition = scene::positionOf(car->modelMatrix);
    const float cameraZ = camera->position.z;

    // Obstacles. The cube the car touched first on its way in this frame ends
    // the run. If the car still stands in it, the run ends where the car
    // stands; if the move carried the car on (a long frame), the car and the
    // camera go back to the point of that first touch. A cube it stands in
    // but reached later than another does not win over the nearer one.
    bool removeOldest = false;
    std::optional<double> standsInFrom; // the first touch of a cube the car stands in
    std::optional<double> passedFrom; // of a cube it only ran into on the way
    for (const std::unique_ptr<scene::Cube>& cube : run.cubes) {
        const glm::vec3 c = scene::positionOf(cube->modelMatrix);
        if (c.z > cameraZ)
            removeOldest = true;
        const bool standsIn = hitsCar(c, carPosition);
        if (!standsIn && run.gameOver)
            continue;
        // (A cube the car stands in was touched at the end of the move at the latest.)
        const std::optional<double> touch = hitsCarAlong(c, run.carSeenAt, carPosition);
        if (standsIn)
            standsInFrom = std::min(touch.value_or(1.0), standsInFrom.value_or(1.0));
        else if (touch)
            passedFrom = std::min(*touch, passedFrom.value_or(1.0));
    }
    if (passedFrom && (!standsInFrom || *passedFrom < *standsInFrom)) {
        const glm::dvec3 from(run.carSeenAt);
        endRun(glm::vec3(from + *passedFrom * (glm::dvec3(carPosition) - from)));
    } else if (standsInFrom) {
        endRun(carPosition);
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
