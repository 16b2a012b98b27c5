#pragma once
// Test sounds written as 16-bit WAV files by our own code, and the measures the sound tests
// take of decoded sound.

#include <functional>
#include <string>
#include <vector>

namespace quillfen::testing {

/// Writes `seconds` of `wave(t)` (t in seconds, values in [-1, 1]) as a WAV file of `rate`
/// samples per second and `channels` channels (each the same). False when it cannot write.
bool writeWav(const std::string& path, double seconds, const std::function<double(double)>& wave,
              int rate = 44100, int channels = 1);

/// A sine of `frequency` Hz at `amplitude`.
std::function<double(double)> sine(double frequency, double amplitude = 0.5);

/// The whole sound of a file (a movie's sound stream too) at 48 kHz, left channel only; empty
/// when it has none.
std::vector<float> decodeLeftChannel(const std::string& path);

/// Root mean square of samples [from, to) seconds of 48 kHz sound.
double rmsBetween(const std::vector<float>& sound, double from, double to);

/// The strength of `frequency` in [from, to) seconds (Goertzel), relative to the RMS.
double toneStrength(const std::vector<float>& sound, double frequency, double from, double to);

}  // namespace quillfen::testing
