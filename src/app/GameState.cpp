#include "app/GameState.h"

namespace velorun {

bool showFrameTime = false;
bool wireframe = false;
bool blending = false;
bool nearestFilterSetting = false;
int mipmapModeSetting = 0;
ParticleSystem particleSystem;
FrameSeam seam = glfwSeam();
CommandKeys commandKeysHeld;
std::set<int> unreadKeyPresses;
bool repaintPending = false;

void releaseGameState()
{
    particleSystem.releaseGL();
    showFrameTime = false;
    wireframe = false;
    blending = false;
    nearestFilterSetting = false;
    mipmapModeSetting = 0;
    seam = glfwSeam();
    commandKeysHeld = CommandKeys{};
    unreadKeyPresses.clear();
    repaintPending = false;
}

} // namespace velorun
