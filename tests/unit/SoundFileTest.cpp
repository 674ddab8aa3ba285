// Sound files decoded block by block: every sample arrives in order, and the
// length cap and the rate range hold whatever the file says.
#include "audio/SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdio>
#include <fstream>
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
    bool lengthDeclared = true;
};

// A 16-bit WAV whose every sample differs from its neighbours, so a lost,
// repeated or swapped sample shows; a FLAC whose header gives no length
// (its total-samples field zeroed) where the case says so.
std::vector<short> writeSound(const std::string& path, const SoundFileCase& c)
{
    std::vector<short> samples(static_cast<size_t>(c.frames * c.channels));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(i * 7919 % 65521 - 32760);
    SF_INFO info{};
    info.channels = c.channels;
    info.samplerate = c.rate;
    info.format = (c.lengthDeclared ? SF_FORMAT_WAV : SF_FORMAT_FLAC) | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (file) {
        EXPECT_EQ(sf_writef_short(file, samples.data(), c.frames), c.frames);
        sf_close(file);
    }
    if (!c.lengthDeclared) // the low 32 bits of the total-samples field; the high 4 are already 0
        std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(22).write("\0\0\0\0", 4);
    return samples;
}

TEST(SoundFile, DecodesEverySampleUpToTheCapAndNothingBeyondIt)
{
    const SoundFileCase cases[] = {
        {"stereo across several blocks, length undeclared", 3 * 4096 + 123, 2, 44100, true, false},
        {"mono, a single frame", 1, 1, 22050, true},
        {"exactly the cap", maxSoundSeconds * minSampleRate, 1, minSampleRate, true},
        {"length undeclared, one frame past the cap", maxSoundSeconds * minSampleRate + 1, 1, minSampleRate,
         false, false},
        {"rate below the range", 1000, 1, minSampleRate - 1, false},
        {"rate at the top of the range", 1000, 1, maxSampleRate, true},
        {"rate above the range", 1000, 1, maxSampleRate + 1, false},
    };
    const std::string path = ::testing::TempDir() + "velorun_sound_file_test.wav";
    for (const SoundFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<short> written = writeSound(path, c);
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
