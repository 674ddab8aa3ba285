#pragma once

namespace velorun {

// After the swap: the next frame's view uniforms, the spot light following
// the car, obstacle hits and removal, tube recycling with the lights.
void postFrameUpdate();

} // namespace velorun
