#pragma once

#include "audio/SoundCues.h"
#include "audio/SoundSystem.h"

// Program-wide state of the game's sound.
namespace velorun::audio {

extern SoundSystem soundSystem;
extern SoundSchedule soundSchedule;

// Closes the device, if one was opened, and puts the state back to its start.
void releaseAudioState();

} // namespace velorun::audio
