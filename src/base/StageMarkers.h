#pragma once

#include "base/BaseState.h"

namespace velorun {

inline void markStage(FrameStage stage, bool begin)
{
    if (stageHook)
        stageHook(stage, begin);
}

} // namespace velorun
