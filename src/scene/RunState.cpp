#include "scene/RunState.h"

namespace velorun {

RunState run;
std::optional<int> bestScore;
bool racedAgain = false;
GameRandom gameRandom;

} // namespace velorun
