#include "support/sound_maker.h"

#include <cmath>
#include <cstdint>
#include <fstream>

#include "media/sound_reader.h"

namespace quillfen::testing {
namespace {

void put16(std::ofstream& out, std::uint16_t v) {
    out.put(static_cast<char>(v & 0xFF)).put(static_cast<char>(v >> 8));
}
void put32(std::ofstream& out, std::uint32_t v) {
    put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

std::size_t sampleAt(double seconds) {
    return static_cast<std::size_t>(std::max(0.0, seconds) * kSoundRate);
}

}  // namespace

bool writeWav(const std::string& path, double seconds, const std::function<double(double)>& wave,
              int rate, int channels) {
    std::ofstream out(path, std::ios::binary);
    const auto frames = static_cast<std::uint32_t>(seconds * rate);
    const std::uint32_t bytes = frames * static_cast<std::uint32_t>(channels) * 2;
    out.write("RIFF", 4);
    put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(channels));
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate * channels * 2));
    put16(out, static_cast<std::uint16_t>(channels * 2));
    put16(out, 16);
    out.write("data", 4);
    put32(out, bytes);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double v = std::clamp(wave(static_cast<double>(i) / rate), -1.0, 1.0);
        for (int c = 0; c < channels; ++c)
            put16(out, static_cast<std::uint16_t>(std::lround(v * 32767)));
    }
    return static_cast<bool>(out);
}

std::function<double(double)> sine(double frequency, double amplitude) {
    return [=](double t) { return amplitude * std::sin(2 * M_PI * frequency * t); };
}

std::vector<float> decodeLeftChannel(const std::string& path) {
    SoundReader reader;
    if (!reader.open(path).empty()) return {};
    std::vector<float> stereo;
    while (reader.read(48000, stereo) > 0) {
    }
    std::vector<float> left(stereo.size() / kSoundChannels);
    for (std::size_t i = 0; i < left.size(); ++i)
        left[i] = stereo[i * kSoundChannels];
    return left;
}

double rmsBetween(const std::vector<float>& sound, double from, double to) {
    const std::size_t a = std::min(sampleAt(from), sound.size());
    const std::size_t b = std::min(sampleAt(to), sound.size());
    if (b <= a) return 0.0;
    double sum = 0.0;
    for (std::size_t i = a; i < b; ++i)
        sum += static_cast<double>(sound[i]) * sound[i];
    return std::sqrt(sum / static_cast<double>(b - a));
}

double toneStrength(const std::vector<float>& sound, double frequency, double from, double to) {
    const std::size_t a = std::min(sampleAt(from), sound.size());
    const std::size_t b = std::min(sampleAt(to), sound.size());
    if (b <= a) return 0.0;
    const double w = 2 * M_PI * frequency / kSoundRate;
    double re = 0.0, im = 0.0;
    for (std::size_t i = a; i < b; ++i) {
        re += sound[i] * std::cos(w * static_cast<double>(i));
        im += sound[i] * std::sin(w * static_cast<double>(i));
    }
    // A pure sine of RMS r gives r * sqrt(2) / 2 * n as magnitude; scale to compare with r.
    const double n = static_cast<double>(b - a);
    const double rms = rmsBetween(sound, from, to);
    return rms > 0 ? std::hypot(re, im) * std::sqrt(2.0) / n / rms : 0.0;
}

}  // namespace quillfen::testing
