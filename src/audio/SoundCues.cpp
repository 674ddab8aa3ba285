#include "audio/SoundCues.h"

#include <algorithm>
#include <iterator>

namespace velorun::audio {

float enginePitch(float speed)
{
    return std::clamp(speed / engineBaseSpeed, lowestEnginePitch, highestEnginePitch);
}

float burstPitch(unsigned burstNumber)
{
    static constexpr float cycle[] = {1.0f, 0.78f, 1.26f, 0.9f, 1.12f, 0.84f, 1.38f};
    return cycle[burstNumber % std::size(cycle)];
}

SoundCues nextCues(SoundSchedule& schedule, bool gameOver, float speed, double deltaTime)
{
    SoundCues cues;
    if (!gameOver) {
        cues.engineRunning = true;
        cues.enginePitch = enginePitch(speed);
        return cues;
    }
    if (!schedule.crashed) {
        schedule.crashed = true;
        schedule.untilBurst = firstBurstDelay;
        cues.crash = true;
        return cues;
    }
    schedule.untilBurst -= deltaTime;
    if (schedule.untilBurst <= 0.0) {
        cues.burst = true;
        cues.burstPitch = burstPitch(schedule.bursts++);
        schedule.untilBurst += burstInterval;
        // Bursts a long frame skipped are dropped rather than fired in a row.
        if (schedule.untilBurst <= 0.0)
            schedule.untilBurst = burstInterval;
    }
    return cues;
}

} // namespace velorun::audio
