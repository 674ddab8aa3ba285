#include "audio/AudioState.h"

namespace velorun::audio {

SoundSystem soundSystem;
SoundSchedule soundSchedule;
bool soundEnabled = true;

} // namespace velorun::audio
