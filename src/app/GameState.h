#pragma once

#include "app/FrameSeam.h"
#include "particles/ParticleSystem.h"

#include <string>

// Program-wide state of the game loop and the key toggles. The scene objects
// the passes draw live beside the passes (lighting/SceneState.h), the screen
// text below them (render/RenderState.h) and the hooks at the base
// (base/BaseState.h).
namespace velorun {

extern std::string scoreText;
extern bool fireworksPending;
extern bool showFrameTime;
extern bool wireframe;
extern bool blending;
extern bool nearestFilterSetting;
extern int mipmapModeSetting;
extern ParticleSystem particleSystem;

// State of the frame loop; all zero before the first frame.
struct FrameLoopState {
    double previousTime = 0.0;
    double deltaTime = 0.0;
    double spawnTimer = 0.0;
    double speedUpTimer = 0.0;
    bool keepRunning = true;
    bool steered = false;
};
extern FrameLoopState loopState;

// The frame loop's clock and keys: GLFW's, unless a test or tool scripts them.
extern FrameSeam seam;

// Deletes the particle system's GL objects and puts every variable above back
// to its start value, GLFW's clock and keys included.
void releaseGameState();

} // namespace velorun
