#pragma once

#include "app/FrameSeam.h"
#include "app/RunCommands.h"
#include "particles/ParticleSystem.h"

#include <set>

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

// The command keys as the previous frame saw them, so that each press acts
// once however long the key is held. Outlives a run: R still held as the new
// run starts must not end it.
extern CommandKeys commandKeysHeld;

// Command-key presses that the key handler saw and the frame loop has not
// read yet, so that a tap shorter than a frame still counts.
extern std::set<int> unreadKeyPresses;

// The still picture of a paused game must be drawn again (the window was
// exposed, or a key may have changed what it shows).
extern bool repaintPending;

// Deletes the particle system's GL objects and puts every variable above back
// to its start value, GLFW's clock and keys included.
void releaseGameState();

} // namespace velorun
