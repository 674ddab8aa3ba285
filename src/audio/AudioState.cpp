#include "audio/AudioState.h"

namespace velorun::audio {

SoundSystem soundSystem;
SoundSchedule soundSchedule;

void releaseAudioState()
{
    closeSound(soundSystem);
    soundSchedule = SoundSchedule{};
}

} // namespace velorun::audio
