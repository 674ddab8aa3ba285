#include "audio/SoundFile.h"

#include <sndfile.h>

#include <cstdint>
#include <exception>
#include <fstream>
#include <istream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

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

// A chunk length field, as the file's byte order has it.
std::uint32_t lengthField(const char* p, bool bigEndian)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::uint32_t{static_cast<unsigned char>(p[bigEndian ? i : 3 - i])} << (8 * (3 - i));
    return value;
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
    // The log holds only its first lines: a file with many chunks before its
    // samples pushes the note out, so the chunks are checked as well.
    std::ifstream chunks(path, std::ios::binary);
    if (samplesCutShort(file.get()) || sampleChunkCutShort(chunks))
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

bool sampleChunkCutShort(std::istream& file)
{
    constexpr std::uint32_t openLength = 0xFFFFFFFFu;
    char header[12];
    if (!file.seekg(0, std::ios::end))
        return false;
    const std::streamoff size = file.tellg();
    if (!file.seekg(0) || !file.read(header, sizeof header))
        return false;
    const std::string_view container(header, 4);
    const std::string_view form(header + 8, 4);
    bool bigEndian = true;
    std::string_view samples;
    if ((container == "RIFF" || container == "RIFX") && form == "WAVE") {
        bigEndian = container == "RIFX";
        samples = "data";
    } else if (container == "FORM" && (form == "AIFF" || form == "AIFC")) {
        samples = "SSND";
    } else if (container == "FORM" && form == "8SVX") {
        samples = "BODY";
    } else {
        return false;
    }
    // Chunks follow one another, each padded to an even length.
    std::streamoff at = sizeof header;
    char chunk[8];
    while (at + 8 <= size) {
        if (!file.seekg(at) || !file.read(chunk, sizeof chunk))
            return false;
        const std::uint32_t length = lengthField(chunk + 4, bigEndian);
        const std::streamoff body = at + 8;
        if (std::string_view(chunk, 4) == samples)
            return length != openLength && length > size - body;
        at = body + length + (length & 1u);
    }
    return false;
}

std::optional<DecodedSound> decodeSoundFile(const std::string& path)
{
    try {
        return decode(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace velorun::audio
