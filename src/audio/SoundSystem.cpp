#include "audio/SoundSystem.h"

#include "audio/SoundFile.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <optional>
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace velorun::audio {

namespace {

constexpr float engineGain = 0.35f;
constexpr float crashGain = 1.0f;
constexpr float burstGain = 0.7f;

// The backends OpenAL tries report their failures on standard error (ALSA
// alone writes several lines when there is no sound card); a game without a
// sound device simply plays silently, so those reports are dropped.
ALCdevice* openDefaultDeviceQuietly()
{
#ifdef _WIN32
    return alcOpenDevice(nullptr);
#else
    std::fflush(stderr);
    const int savedStderr = dup(STDERR_FILENO);
    const int devNull = open("/dev/null", O_WRONLY);
    if (savedStderr >= 0 && devNull >= 0)
        dup2(devNull, STDERR_FILENO);
    ALCdevice* device = alcOpenDevice(nullptr);
    std::fflush(stderr);
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
    }
    if (devNull >= 0)
        close(devNull);
    return device;
#endif
}

// A sound file as a 16-bit OpenAL buffer. A file that cannot be used is
// named on standard error, like an image that cannot be read, and gives 0:
// that sound stays silent and the game plays on.
ALuint loadBuffer(const std::string& path)
{
    ALuint buffer = 0;
    if (const std::optional<DecodedSound> sound = decodeSoundFile(path)) {
        alGetError();
        alGenBuffers(1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            buffer = 0;
        } else {
            alBufferData(buffer, sound->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16,
                         sound->samples.data(), static_cast<ALsizei>(sound->samples.size() * sizeof(short)),
                         sound->sampleRate);
            if (alGetError() != AL_NO_ERROR) {
                alDeleteBuffers(1, &buffer);
                buffer = 0;
            }
        }
    }
    if (buffer == 0)
        std::cerr << "Failed to load sound: " << path << std::endl;
    return buffer;
}

// A voice heard the same from everywhere: at the listener, no distance fall-off.
ALuint makeSource(ALuint buffer, float gain, bool looping)
{
    ALuint source = 0;
    alGenSources(1, &source);
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_GAIN, gain);
    alSourcei(source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    if (buffer != 0)
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer));
    return source;
}

// Every voice: the engine, the crash and the burst voices.
std::array<ALuint, 2 + burstVoices> voices(const SoundSystem& sound)
{
    std::array<ALuint, 2 + burstVoices> all{sound.engineSource, sound.crashSource};
    for (int i = 0; i < burstVoices; ++i)
        all[static_cast<size_t>(2 + i)] = sound.burstSources[i];
    return all;
}

} // namespace

bool openSound(SoundSystem& sound, const std::string& folder)
{
    sound.device = openDefaultDeviceQuietly();
    if (!sound.device)
        return false;
    sound.context = alcCreateContext(sound.device, nullptr);
    if (!sound.context || alcMakeContextCurrent(sound.context) != ALC_TRUE) {
        closeSound(sound);
        return false;
    }
    sound.engineBuffer = loadBuffer(folder + "/engine.wav");
    sound.crashBuffer = loadBuffer(folder + "/crash.wav");
    sound.burstBuffer = loadBuffer(folder + "/burst.wav");
    sound.engineSource = makeSource(sound.engineBuffer, engineGain, true);
    sound.crashSource = makeSource(sound.crashBuffer, crashGain, false);
    for (ALuint& voice : sound.burstSources)
        voice = makeSource(sound.burstBuffer, burstGain, false);
    return true;
}

void playCues(SoundSystem& sound, const SoundCues& cues)
{
    if (!sound.context)
        return;
    if (cues.engineRunning && cues.enginePitch != sound.enginePitch) {
        alSourcef(sound.engineSource, AL_PITCH, cues.enginePitch);
        sound.enginePitch = cues.enginePitch;
    }
    if (cues.engineRunning != sound.enginePlaying) {
        if (cues.engineRunning)
            alSourcePlay(sound.engineSource);
        else
            alSourceStop(sound.engineSource);
        sound.enginePlaying = cues.engineRunning;
    }
    if (cues.crash)
        alSourcePlay(sound.crashSource);
    if (cues.burst) {
        const ALuint voice = sound.burstSources[sound.nextBurstVoice];
        sound.nextBurstVoice = (sound.nextBurstVoice + 1) % burstVoices;
        alSourcef(voice, AL_PITCH, cues.burstPitch);
        alSourcePlay(voice);
    }
}

void pauseSound(SoundSystem& sound, bool paused)
{
    if (!sound.context)
        return;
    for (ALuint source : voices(sound)) {
        ALint state = AL_INITIAL;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (paused && state == AL_PLAYING)
            alSourcePause(source);
        else if (!paused && state == AL_PAUSED)
            alSourcePlay(source);
    }
}

void stopEffects(SoundSystem& sound)
{
    if (!sound.context)
        return;
    alSourceStop(sound.crashSource);
    alSourceStopv(burstVoices, sound.burstSources);
}

void setSoundEnabled(SoundSystem& sound, bool enabled)
{
    if (sound.context)
        alListenerf(AL_GAIN, enabled ? 1.0f : 0.0f);
}

void closeSound(SoundSystem& sound)
{
    if (sound.context) {
        std::array<ALuint, 2 + burstVoices> sources = voices(sound);
        alSourceStopv(static_cast<ALsizei>(sources.size()), sources.data());
        alDeleteSources(static_cast<ALsizei>(sources.size()), sources.data());
        for (ALuint buffer : {sound.engineBuffer, sound.crashBuffer, sound.burstBuffer}) {
            if (buffer != 0)
                alDeleteBuffers(1, &buffer);
        }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(sound.context);
    }
    if (sound.device)
        alcCloseDevice(sound.device);
    sound = SoundSystem{};
}

} // namespace velorun::audio
