// Fuzz target of the video reader on damaged clips.

#include <chrono>

#include "fuzz_targets.h"
#include "scratch_file.h"
#include "timeline/video_reader.h"

namespace quillfen::fuzz {

int videoReader(const std::uint8_t* data, std::size_t size) {
    VideoReader reader;
    if (reader.open(writeScratchFile("clip.avi", data, size)) != 0) return 0;
    // A damaged clip that stalls must not hold the fuzzer up for the build's patient limit.
    reader.setWaitLimit(std::chrono::milliseconds(2000));
    reader.setMovieFrameRate(25.0);
    // Enough frames to pass the damage in any seed, few enough to keep runs short.
    for (int i = 0; i < 64 && reader.nextFrame(); ++i) {
    }
    return 0;
}

}  // namespace quillfen::fuzz
