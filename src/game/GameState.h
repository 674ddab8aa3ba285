#pragma once

#include "game/FrameSeam.h"
#include "game/FullScreen.h"
#include "input/FrameInput.h"
#include "particles/ParticleSystem.h"

#include <glm/glm.hpp>
#include <vector>

// Program-wide state of the game loop and the key toggles. The run's own state
// (obstacles, timers, score, game over, pause) is one value in
// scene/RunState.h; the scene objects the passes draw live beside the passes
// (lighting/SceneState.h), the screen text below them (render/RenderState.h)
// and the hooks at the base (base/BaseState.h).
namespace velorun {

extern bool showFrameTime;
extern bool wireframe;
extern bool blending;
extern bool nearestFilterSetting;
extern int mipmapModeSetting;
extern ParticleSystem particleSystem;

// The frame loop's clock and keys: GLFW's, unless a test or tool scripts them.
extern FrameSeam seam;

// The still picture of a paused game must be drawn again (the window was
// exposed, or a key may have changed what it shows).
extern bool repaintPending;

// The window as its events last told it: its framebuffer's size in pixels
// and whether it is minimised (game/WindowEvents.h).
extern glm::ivec2 framebufferSize;
extern bool windowMinimised;

// Where the window was, and how large, before it went full screen: F11 puts
// it back there.
extern ScreenRect windowedPlacement;

// Deletes the particle system's GL objects and puts every variable above back
// to its start value, GLFW's clock and keys included.
void releaseGameState();

} // namespace velorun
