#pragma once

// Program-wide state of the base layer: the two hooks a game or a tool may
// install. Both start empty.
namespace velorun {

// Run by fatalExit before the pause; the game installs its resource release.
using FatalExitHook = void (*)();
extern FatalExitHook fatalExitHook;

// Named parts of a frame that a profiler may want to time.
enum class FrameStage { Particles, Shadows, LitScene, Flares, Text, Count };

// Called at the start and end of each stage; the game installs none, so a
// marker costs one null test.
using StageHook = void (*)(FrameStage stage, bool begin);
extern StageHook stageHook;

// Both hooks back to empty.
void resetBaseState();

} // namespace velorun
