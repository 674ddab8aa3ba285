#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace velorun::audio {

// Game sounds are short cues and one engine loop. A minute is far beyond any
// of them, and holding the samples of a file only up to that length keeps a
// damaged or mistaken file (a song, a header that claims hours) from taking
// the memory the game needs.
constexpr int maxSoundSeconds = 60;
// The rates sound hardware plays; anything else is a damaged header.
constexpr int minSampleRate = 8000;
constexpr int maxSampleRate = 192000;

// A mono or stereo sound as interleaved 16-bit samples.
struct DecodedSound {
    std::vector<short> samples;
    int channels = 0;
    int sampleRate = 0;
};

// Decodes a sound file (any format libsndfile recognises by its contents).
// Nothing when the file cannot be opened, is not mono or stereo, has a rate
// outside the range above, fails to decode, holds fewer samples than its
// header declares, holds no samples or runs longer than the cap. Never
// throws; the buffer grows only as decoded samples arrive.
std::optional<DecodedSound> decodeSoundFile(const std::string& path);

// Whether the sample chunk of a RIFF or RIFX WAVE ("data"), AIFF or AIFC
// ("SSND") or IFF 8SVX ("BODY") file declares more bytes than the file holds
// after that chunk's header. Reads the headers of the chunks before it one by
// one, whatever they are, and nothing else. False for any other format, for a
// file without that chunk and for a length left open (0xFFFFFFFF, as a WAV
// written while streaming has it).
bool sampleChunkCutShort(std::istream& file);

} // namespace velorun::audio
