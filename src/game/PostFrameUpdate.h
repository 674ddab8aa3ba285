#pragma once

#include <glm/glm.hpp>

namespace velorun {

// Stage 13, after the swap: obstacle hits, which end the run (endRun), the
// next frame's view uniforms, the spot light following the car, removal of
// the oldest obstacle behind the camera, tube recycling with the lights.
void postFrameUpdate();

// The end of a run, where the car touched an obstacle: the car and the camera
// stand there from now on, the fireworks start (the first time), the run is
// over and its score counts towards the best. A run that is over already
// stays as it is.
void endRun(const glm::vec3& at);

} // namespace velorun
