// Sound files decoded block by block: every sample arrives in order, and the
// length cap and the rate range hold whatever the file says.
#include "audio/SoundFile.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
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

struct Chunk {
    const char* id;
    std::uint32_t declared;
    std::uint32_t held; // bytes that follow its header, a pad byte included
};

struct ChunkCase {
    const char* name;
    const char* container; // "RIFF" little-endian, the others big-endian
    const char* form;
    std::vector<Chunk> chunks;
    bool cut;
    int oddChunksBefore = 0; // of 3 bytes each, padded to 4
};

void PrintTo(const ChunkCase& c, std::ostream* os) { *os << c.name; }

std::string chunkFile(const ChunkCase& c)
{
    const bool bigEndian = std::string(c.container) != "RIFF";
    const auto field = [&](std::uint32_t value) {
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[static_cast<size_t>(bigEndian ? i : 3 - i)] = static_cast<char>(value >> (8 * (3 - i)));
        return bytes;
    };
    std::vector<Chunk> chunks(static_cast<size_t>(c.oddChunksBefore), Chunk{"LIST", 3, 4});
    chunks.insert(chunks.end(), c.chunks.begin(), c.chunks.end());
    std::string bytes = c.container + field(0) + c.form;
    for (const Chunk& k : chunks)
        bytes += k.id + field(k.declared) + std::string(k.held, 'x');
    return bytes;
}

class SampleChunk : public testing::TestWithParam<ChunkCase> {};

TEST_P(SampleChunk, CutShortWhenItDeclaresMoreThanTheFileHolds)
{
    std::istringstream file(chunkFile(GetParam()));
    EXPECT_EQ(sampleChunkCutShort(file), GetParam().cut);
}

const Chunk fmt{"fmt ", 16, 16};
INSTANTIATE_TEST_SUITE_P(
    Table, SampleChunk,
    testing::Values(
        ChunkCase{"whole WAV", "RIFF", "WAVE", {fmt, {"data", 100, 100}}, false},
        ChunkCase{"WAV cut in its samples", "RIFF", "WAVE", {fmt, {"data", 100, 60}}, true},
        ChunkCase{"cut WAV behind 200 chunks", "RIFF", "WAVE", {fmt, {"data", 100, 60}}, true, 200},
        ChunkCase{"length left open", "RIFF", "WAVE", {fmt, {"data", 0xFFFFFFFFu, 60}}, false},
        ChunkCase{"odd length, last pad byte missing", "RIFF", "WAVE", {fmt, {"data", 61, 61}}, false},
        ChunkCase{"cut RIFX", "RIFX", "WAVE", {fmt, {"data", 128, 64}}, true},
        ChunkCase{"whole AIFF", "FORM", "AIFF", {{"COMM", 18, 18}, {"SSND", 208, 208}}, false},
        ChunkCase{"cut AIFF", "FORM", "AIFF", {{"COMM", 18, 18}, {"SSND", 1000, 200}}, true},
        ChunkCase{"cut 8SVX", "FORM", "8SVX", {{"VHDR", 20, 20}, {"BODY", 500, 100}}, true},
        ChunkCase{"cut AIFC", "FORM", "AIFC", {{"FVER", 4, 4}, {"COMM", 24, 24}, {"SSND", 1000, 200}}, true},
        ChunkCase{"only the sample chunk's header, at the very end",
                  "RIFF",
                  "WAVE",
                  {fmt, {"data", 100, 0}},
                  true}));

} // namespace
} // namespace velorun::audio
