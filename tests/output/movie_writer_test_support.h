#pragma once
// Fixtures of the movie writer tests: a temporary folder, recognisable frames, a short movie.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "imaging/frame_image.h"
#include "media/ffmpeg_movie_writer.h"

namespace quillfen::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qf-writer-XXXXXX");
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

/// A 24-bit frame whose colours change smoothly across it (so lossy codecs keep them) and
/// with `seed`; the top third is brighter than the rest, so an upside-down frame shows.
inline FrameImage patternFrame(int width, int height, int seed) {
    FrameImage frame = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = frame.row(height - 1 - y);  // y counts from the top
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(40 + (x * 120) / width + seed * 7 % 50);
            row[3 * x + 1] = static_cast<std::uint8_t>(60 + (y * 100) / height);
            row[3 * x + 2] = static_cast<std::uint8_t>(y < height / 3 ? 220 : 50);
        }
    }
    return frame;
}

/// Mean absolute difference of two frames of the same geometry, pixels only.
inline double meanDifference(const FrameImage& a, const FrameImage& b) {
    double sum = 0;
    std::size_t count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 3; ++x) {
            sum += std::abs(int{a.row(y)[x]} - int{b.row(y)[x]});
            ++count;
        }
    }
    return count ? sum / static_cast<double>(count) : 1e9;
}

inline std::vector<std::uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Sample {
    std::int64_t index;
    int seed;
    bool key;
};

/// Writes `samples` (frames of `patternFrame(width, height, seed)`) into `path`; fails the
/// test on any error status.
inline void writeMovie(const std::string& path, const CodecChoice& choice,
                       const std::vector<Sample>& samples, int width, int height,
                       double rate = 25.0, FfmpegWriterOptions options = {}) {
    auto writer = makeFfmpegMovieWriter(options);
    WriterStatus status = writer->open(path, choice);
    ASSERT_TRUE(status.ok()) << status.reason;
    FrameImage first = patternFrame(width, height, 0);
    status = writer->setUpStream(first.header(), rate);
    ASSERT_TRUE(status.ok()) << status.reason;
    for (const Sample& s : samples) {
        status = writer->writeSample(s.index, patternFrame(width, height, s.seed), {s.key});
        ASSERT_TRUE(status.ok()) << status.reason;
    }
    status = writer->close();
    ASSERT_TRUE(status.ok()) << status.reason;
}

}  // namespace quillfen::testing
