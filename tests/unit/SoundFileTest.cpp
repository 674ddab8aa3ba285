// Sound files decoded block by block: every sample arrives in order, and the
// length cap and the rate range hold whatever the file says.
#include "audio/SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <string>
#include <vector>

namespace velorun::audio {
namespace {

struct SoundFileCase {
    const char* name;
    sf_count_t frames;
    int channels;
    int rate;
    bool usable;
};

// A 16-bit WAV whose every sample differs from its neighbours, so a lost,
// repeated or swapped sample shows.
std::vector<short> writeWav(const std::string& path, const SoundFileCase& c)
{
    std::vector<short> samples(static_cast<size_t>(c.frames * c.channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(i * 7919 % 65521 - 32760);
    SF_INFO info{};
    info.channels = c.channels;
    info.samplerate = c.rate;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file) {
        EXPECT_EQ(sf_writef_short(file, samples.data(), c.frames), c.frames);
        sf_close(file);
    }
    return samples;
}

TEST(SoundFile, DecodesEverySampleUpToTheCapAndNothingBeyondIt)
{
    const SoundFileCase cases[] = {
        {"stereo across several blocks", 3 * 4096 + 123, 2, 44100, true},
        {"mono, a single frame", 1, 1, 22050, true},
        {"exactly the cap", maxSoundSeconds * minSampleRate, 1, minSampleRate, true},
        {"one frame past the cap", maxSoundSeconds * minSampleRate + 1, 1, minSampleRate, false},
        {"rate below the range", 1000, 1, minSampleRate - 1, false},
        {"rate above the range", 1000, 1, maxSampleRate + 1, false},
    };
    const std::string path = ::testing::TempDir() + "velorun_sound_file_test.wav";
    for (const SoundFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<short> written = writeWav(path, c);
        const std::optional<DecodedSound> sound = decodeSoundFile(path);
        ASSERT_EQ(sound.has_value(), c.usable);
        if (sound) {
            EXPECT_EQ(sound->channels, c.channels);
            EXPECT_EQ(sound->sampleRate, c.rate);
            EXPECT_EQ(sound->samples, written);
        }
    }
    std::remove(path.c_str());
}

} // namespace
} // namespace velorun::audio
