#include "game/GameState.h"

namespace velorun {

bool showFrameTime = false;
bool wireframe = false;
bool blending = false;
bool nearestFilterSetting = false;
int mipmapModeSetting = 0;
ParticleSystem particleSystem;
FrameSeam seam = glfwSeam();
bool repaintPending = false;
glm::ivec2 framebufferSize{0};
bool windowMinimised = false;
ScreenRect windowedPlacement;

void releaseGameState()
{
    particleSystem.releaseGL();
    showFrameTime = false;
    wireframe = false;
    blending = false;
    nearestFilterSetting = false;
    mipmapModeSetting = 0;
    seam = glfwSeam();
    repaintPending = false;
    framebufferSize = glm::ivec2(0);
    windowMinimised = false;
    windowedPlacement = ScreenRect{};
}

} // namespace velorun
