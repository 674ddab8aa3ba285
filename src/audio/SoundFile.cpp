#include "audio/SoundFile.h"

#include <sndfile.h>

#include <exception>
#include <memory>
#include <sstream>
#include <string>

namespace velorun::audio {

namespace {

struct CloseSoundFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Frames decoded per read: the only buffer sized in advance.
constexpr sf_count_t blockFrames = 4096;

// A file cut short, or one whose header declares more samples than follow,
// reads as far as it goes; libsndfile notes the mismatch only in its log,
// on the sample chunk's line: "data : 57330 (should be 16)" (WAV), "SSND"
// (AIFF) and "BODY" (IFF) alike. Other "should be" notes there concern
// fields it corrects by itself.
bool samplesCutShort(SNDFILE* file)
{
    std::string log(16384, '\0');
    sf_command(file, SFC_GET_LOG_INFO, log.data(), static_cast<int>(log.size()));
    std::istringstream lines(log.c_str());
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string chunk;
        std::string colon;
        words >> chunk >> colon;
        if ((chunk == "data" || chunk == "SSND" || chunk == "BODY") && colon == ":" &&
            line.find("(should be") != std::string::npos)
            return true;
    }
    return false;
}

std::optional<DecodedSound> decode(const std::string& path)
{
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, CloseSoundFile> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
        return std::nullopt;
    if (info.channels != 1 && info.channels != 2)
        return std::nullopt;
    if (info.samplerate < minSampleRate || info.samplerate > maxSampleRate)
        return std::nullopt;
    if (samplesCutShort(file.get()))
        return std::nullopt;
    const sf_count_t maxFrames = static_cast<sf_count_t>(maxSoundSeconds) * info.samplerate;
    // libsndfile reports SF_COUNT_MAX when a format does not say its length;
    // any other declared length only lets a file be turned away early.
    const bool lengthDeclared = info.frames != SF_COUNT_MAX;
    if (lengthDeclared && info.frames > maxFrames)
        return std::nullopt;

    DecodedSound sound;
    sound.channels = info.channels;
    sound.sampleRate = info.samplerate;
    short block[blockFrames * 2];
    sf_count_t frames = 0;
    for (;;) {
        const sf_count_t read = sf_readf_short(file.get(), block, blockFrames);
        if (read <= 0)
            break;
        frames += read;
        if (frames > maxFrames)
            return std::nullopt;
        sound.samples.insert(sound.samples.end(), block, block + read * info.channels);
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR || frames == 0)
        return std::nullopt;
    if (lengthDeclared && frames < info.frames)
        return std::nullopt;
    return sound;
}

} // namespace

std::optional<DecodedSound> decodeSoundFile(const std::string& path)
{
    try {
        return decode(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace velorun::audio
