// The game's sounds, synthesised: an engine loop, a crash and a firework
// burst, written as 16-bit mono WAV files through libsndfile.

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include <sndfile.h>

#include "assets.hpp"
#include "image.hpp"

namespace assetgen {

namespace {

constexpr int kRate = 22050;
constexpr double kTau = 6.283185307179586;

// Scales the samples so that the loudest one reaches `peak`.
void normalise(std::vector<double>& s, double peak)
{
    double most = 0.0;
    for (double v : s)
        most = std::max(most, std::abs(v));
    if (most > 0.0)
        for (double& v : s)
            v *= peak / most;
}

bool writeWav(const std::string& outDir, const std::string& rel, const std::vector<double>& s)
{
    const std::string path = outDir + "/" + rel;
    if (!ensureParentDir(path))
        return false;
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::cerr << "assetgen: cannot write " << path << ": " << sf_strerror(nullptr) << "\n";
        return false;
    }
    std::vector<short> pcm(s.size());
    for (size_t i = 0; i < s.size(); ++i)
        pcm[i] = static_cast<short>(std::lround(std::clamp(s[i], -1.0, 1.0) * 32767.0));
    const sf_count_t written = sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
    sf_close(file);
    if (written != static_cast<sf_count_t>(pcm.size())) {
        std::cerr << "assetgen: short write to " << path << "\n";
        return false;
    }
    std::cout << "sound: " << rel << " (" << pcm.size() << " samples)\n";
    return true;
}

// White noise through a one-pole low-pass: smoothing near 1 is darker.
class Rumble {
public:
    Rumble(std::uint64_t seed, double smoothing) : rng_(seed), a_(smoothing) {}
    double next()
    {
        y_ = a_ * y_ + (1.0 - a_) * (rng_.uniform() * 2.0 - 1.0);
        return y_;
    }

private:
    Rng rng_;
    double a_;
    double y_ = 0.0;
};

// A whole number of engine cycles, so the loop joins without a click. The
// firing pulse and the slow wobble divide the loop too.
std::vector<double> engineLoop()
{
    constexpr int period = 400; // samples per cycle: a low hum
    constexpr int loop = 32 * period;
    std::vector<double> s(loop);
    for (int n = 0; n < loop; ++n) {
        double v = 0.0;
        for (int k = 1; k <= 10; ++k)
            v += std::pow(k, -1.2) * std::sin(kTau * k * n / period + 0.7 * k * k);
        const double firing = 1.0 + 0.3 * std::sin(kTau * n / (2.0 * period));
        const double wobble = 1.0 + 0.1 * std::sin(kTau * n / (loop / 4.0));
        s[static_cast<size_t>(n)] = v * firing * wobble;
    }
    normalise(s, 0.8);
    return s;
}

std::vector<double> crash()
{
    const int length = kRate * 13 / 10;
    std::vector<double> s(static_cast<size_t>(length));
    Rumble debris(0x5eed0c7a5ULL, 0.35);
    const double bells[4][3] = {
        {523.0, 0.50, 0.25}, {1187.0, 0.35, 0.22}, {1913.0, 0.28, 0.2}, {2777.0, 0.2, 0.18}};
    const double clatter[3] = {0.15, 0.32, 0.5};
    double thumpPhase = 0.0;
    for (int n = 0; n < length; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double attack = std::min(1.0, t / 0.003);
        double v = debris.next() * 2.5 * attack * std::exp(-t / 0.25);
        thumpPhase += kTau * (40.0 + 30.0 * std::exp(-t / 0.1)) / kRate;
        v += 0.9 * attack * std::sin(thumpPhase) * std::exp(-t / 0.18);
        for (const auto& bell : bells)
            v += bell[2] * attack * std::sin(kTau * bell[0] * t) * std::exp(-t / bell[1]);
        for (double at : clatter) {
            if (t >= at)
                v += 0.6 * debris.next() * std::exp(-(t - at) / 0.02);
        }
        s[static_cast<size_t>(n)] = v;
    }
    normalise(s, 0.95);
    return s;
}

// A pop, then crackling sparks that thin out, over a fading hiss.
std::vector<double> burst()
{
    const int length = kRate;
    std::vector<double> s(static_cast<size_t>(length));
    Rumble hiss(0xf12e3011ULL, 0.2);
    Rng sparks(0xc7ac1e5ULL);
    double spark = 0.0;
    double sparkDecay = 0.0;
    for (int n = 0; n < length; ++n) {
        const double t = static_cast<double>(n) / kRate;
        const double attack = std::min(1.0, t / 0.002);
        double v = hiss.next() * attack * (2.0 * std::exp(-t / 0.06) + 0.35 * std::exp(-t / 0.35));
        v += 0.8 * attack * std::sin(kTau * 90.0 * t) * std::exp(-t / 0.08);
        if (t > 0.12 && sparks.uniform() < 0.004 * std::exp(-(t - 0.12) / 0.45)) {
            spark = (sparks.uniform() < 0.5 ? -1.0 : 1.0) * (0.3 + 0.5 * sparks.uniform());
            sparkDecay = 1.0;
        }
        v += spark * sparkDecay * (n % 2 == 0 ? 1.0 : -1.0);
        sparkDecay *= 0.85;
        s[static_cast<size_t>(n)] = v;
    }
    normalise(s, 0.9);
    return s;
}

} // namespace

bool generateSounds(const std::string& outDir)
{
    return writeWav(outDir, "Resources/Sounds/engine.wav", engineLoop()) &&
           writeWav(outDir, "Resources/Sounds/crash.wav", crash()) &&
           writeWav(outDir, "Resources/Sounds/burst.wav", burst());
}

} // namespace assetgen
