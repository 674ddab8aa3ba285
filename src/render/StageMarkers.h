#pragma once

namespace velorun {

// Named parts of a frame that a profiler may want to time. The game installs
// no hook, so a marker costs one null test.
enum class FrameStage { Particles, Shadows, LitScene, Flares, Text, Count };

using StageHook = void (*)(FrameStage stage, bool begin);
extern StageHook stageHook;

inline void markStage(FrameStage stage, bool begin)
{
    if (stageHook)
        stageHook(stage, begin);
}

} // namespace velorun
