#include "base/BaseState.h"

namespace velorun {

FatalExitHook fatalExitHook = nullptr;
StageHook stageHook = nullptr;

void resetBaseState()
{
    fatalExitHook = nullptr;
    stageHook = nullptr;
}

} // namespace velorun
