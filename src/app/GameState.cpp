#include "app/GameState.h"

namespace velorun {

std::string scoreText;
bool fireworksPending = true;
bool showFrameTime = false;
bool wireframe = false;
bool blending = false;
bool nearestFilterSetting = false;
int mipmapModeSetting = 0;
ParticleSystem particleSystem;
FrameLoopState loopState;
FrameSeam seam = glfwSeam();

void releaseGameState()
{
    particleSystem.releaseGL();
    scoreText.clear();
    fireworksPending = true;
    showFrameTime = false;
    wireframe = false;
    blending = false;
    nearestFilterSetting = false;
    mipmapModeSetting = 0;
    loopState = FrameLoopState{};
    seam = glfwSeam();
}

} // namespace velorun
