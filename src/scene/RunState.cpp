#include "scene/RunState.h"

namespace velorun {

RunState run;
std::optional<int> bestScore;
bool racedAgain = false;

} // namespace velorun
