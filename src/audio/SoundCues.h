#pragma once

// What the game should sound like, frame by frame, as plain values: the frame
// loop asks for the cues of each frame and hands them to the sound system.
namespace velorun::audio {

// The engine loop plays at its recorded pitch at the car's starting speed and
// rises in proportion to the speed, within what the mixer resamples cleanly.
constexpr float engineBaseSpeed = 10.5f;
constexpr float lowestEnginePitch = 0.5f;
constexpr float highestEnginePitch = 3.2f;
float enginePitch(float speed);

// After the crash a firework burst goes off now and then while the fireworks
// run; the first one follows the crash closely.
constexpr double firstBurstDelay = 0.35;
constexpr double burstInterval = 0.55;

// Each burst plays at the next pitch of a fixed cycle, so no two neighbours
// sound alike and every run sounds the same.
float burstPitch(unsigned burstNumber);

struct SoundCues {
    bool engineRunning = false;
    float enginePitch = 1.0f;
    bool crash = false;
    bool burst = false;
    float burstPitch = 1.0f;
};

// The game's sound so far; all zero before the first frame.
struct SoundSchedule {
    bool crashed = false;
    double untilBurst = 0.0;
    unsigned bursts = 0;
};

// The cues of a frame that lasted `deltaTime` seconds and left the game as
// `gameOver` and the car at `speed`. The crash sounds in the frame that ended
// the game; a long frame fires at most one burst.
SoundCues nextCues(SoundSchedule& schedule, bool gameOver, float speed, double deltaTime);

} // namespace velorun::audio
