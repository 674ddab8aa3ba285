#include "scene/RunState.h"

namespace velorun {

RunState run;
std::optional<int> bestScore;

} // namespace velorun
