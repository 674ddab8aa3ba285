#include "audio/AudioState.h"

namespace velorun::audio {

SoundSystem soundSystem;
SoundSchedule soundSchedule;
bool soundEnabled = true;

void releaseAudioState()
{
    closeSound(soundSystem);
    soundSchedule = SoundSchedule{};
    soundEnabled = true;
}

} // namespace velorun::audio
