#pragma once

#include "audio/SoundCues.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <string>

namespace velorun::audio {

constexpr int burstVoices = 3;

// The game's OpenAL device, context, sounds and voices. Without a device
// every operation does nothing, so the game runs silently.
struct SoundSystem {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ALuint engineBuffer = 0;
    ALuint crashBuffer = 0;
    ALuint burstBuffer = 0;
    ALuint engineSource = 0;
    ALuint crashSource = 0;
    ALuint burstSources[burstVoices] = {};
    int nextBurstVoice = 0;
    bool enginePlaying = false;
    float enginePitch = 0.0f;
};

// Opens the default device quietly and loads the sounds from `folder`
// (engine.wav, crash.wav, burst.wav). False when there is no device, and then
// no file is read. A sound file that cannot be used prints "Failed to load
// sound: PATH" on standard error and that sound stays silent.
bool openSound(SoundSystem& sound, const std::string& folder);

// Starts, stops and retunes voices; source parameter updates only.
void playCues(SoundSystem& sound, const SoundCues& cues);

// Pausing holds every voice where it is; resuming plays on exactly the voices
// that pausing held.
void pauseSound(SoundSystem& sound, bool paused);

// Stops the crash and the firework bursts, as a new run starts.
void stopEffects(SoundSystem& sound);

// Muting sets the listener's gain, so nothing is heard until it is unmuted.
void setSoundEnabled(SoundSystem& sound, bool enabled);

// Deletes the voices and sounds, then the context, and closes the device.
void closeSound(SoundSystem& sound);

} // namespace velorun::audio
