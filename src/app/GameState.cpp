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

} // namespace velorun
