#include "render/StageMarkers.h"

namespace velorun {

StageHook stageHook = nullptr;

} // namespace velorun
