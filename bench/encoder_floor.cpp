// encoder_floor SCRIPT MOVIE [CODEC] - how long the movie writer alone needs for a Script's
// frames, to set a build's wall time against.
//
// First the Script is built through the real build driver into a writer that only keeps
// the frames (a repeated frame is kept once, as the build shares it), timing the rendering.
// Then the real FFmpeg writer encodes and writes exactly those samples, with the same key
// and repeat flags, into MOVIE: that is the encoder-only floor. CODEC defaults to the
// container's default codec (xvid for .avi, h264 for .mp4). The kept frames need memory:
// about 8 MB for every frame that differs from the one before at 1920 x 1080.

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/text_buffer.h"
#include "media/ffmpeg_movie_writer.h"
#include "output/build_driver.h"
#include "support/quiet_build_host.h"

namespace quillfen {
namespace {

struct KeptSample {
    std::int64_t index;
    SharedFrame frame;
    SampleFlags flags;
};

// A movie writer that keeps what it is given instead of writing it.
class KeepingWriter : public MovieWriter {
  public:
    explicit KeepingWriter(std::vector<KeptSample>& kept) : kept_(kept) {}
    WriterStatus open(const std::string&, const CodecChoice&) override { return {}; }
    WriterStatus setUpStream(const BitmapInfoHeader&, double) override { return {}; }
    WriterStatus writeSample(std::int64_t, std::span<const std::uint8_t>, SampleFlags) override {
        return {WriterFailure::Usage, 0, "rows are not kept"};
    }
    WriterStatus writeSample(std::int64_t index, FrameImage frame, SampleFlags flags) override {
        return writeSample(index, shareFrame(std::move(frame)), flags);
    }
    WriterStatus writeSample(std::int64_t index, SharedFrame frame, SampleFlags flags) override {
        kept_.push_back({index, std::move(frame), flags});
        return {};
    }
    WriterStatus close() override { return {}; }
    std::int64_t samplesWritten() const override { return static_cast<std::int64_t>(kept_.size()); }

  private:
    std::vector<KeptSample>& kept_;
};

class FloorHost : public testing::QuietBuildHost {
  public:
    explicit FloorHost(CodecChoice choice) : choice_(std::move(choice)) {}
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override {
        return OverwriteAnswer::Yes;
    }
    std::optional<CodecChoice> chooseCompression(std::string_view) override { return choice_; }

  private:
    CodecChoice choice_;
};

struct Timing {
    double wall = 0;
    double cpu = 0;
};

template <typename Work>
Timing timed(Work work) {
    auto start = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC};
}

int run(const std::string& scriptPath, const std::string& moviePath, std::string codec) {
    if (codec.empty()) {
        auto container = containerForPath(moviePath);
        if (!container) return std::fprintf(stderr, "encoder_floor: not a movie name\n"), 2;
        codec = std::string(defaultCodecName(*container));
    }
    CCrystalTextBuffer script;
    if (!script.LoadFromFile(scriptPath))
        return std::fprintf(stderr, "encoder_floor: cannot read %s\n", scriptPath.c_str()), 2;
    const CodecChoice choice = defaultCodecChoice(codec);

    std::vector<KeptSample> kept;
    FloorHost host(choice);
    EffectCatalogue effects;
    CaptionTail tail;
    BuildDriver driver(host, effects, tail);
    driver.settings().scriptFolder = std::filesystem::path(scriptPath).parent_path().string();
    driver.forceOutputFile(moviePath);
    driver.setWriterFactory([&] { return std::make_unique<KeepingWriter>(kept); });
    BuildOutcome outcome;
    Timing render = timed([&] { outcome = driver.runBuild(script, BuildMode::Run); });
    if (outcome.movie != MovieEnd::Completed || kept.empty())
        return std::fprintf(stderr, "encoder_floor: the Script did not build\n"), 1;
    const double rate = driver.settings().frameRate;

    WriterStatus status;
    Timing encode = timed([&] {
        auto writer = makeFfmpegMovieWriter();
        BitmapInfoHeader header = kept.front().frame->header();
        header.biBitCount = 24;
        status = writer->open(moviePath, choice);
        if (status.ok()) status = writer->setUpStream(header, rate);
        for (std::size_t i = 0; status.ok() && i < kept.size(); ++i)
            status = writer->writeSample(kept[i].index, kept[i].frame, kept[i].flags);
        WriterStatus closed = writer->close();
        if (status.ok()) status = closed;
    });
    if (!status.ok()) return std::fprintf(stderr, "encoder_floor: %s\n", status.reason.c_str()), 1;
    std::printf("codec %s, %zu frames\n", codec.c_str(), kept.size());
    std::printf("render only:  %7.2f s wall %7.2f s CPU\n", render.wall, render.cpu);
    std::printf("encoder only: %7.2f s wall %7.2f s CPU  (the floor)\n", encode.wall, encode.cpu);
    return 0;
}

}  // namespace
}  // namespace quillfen

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: encoder_floor SCRIPT MOVIE [CODEC]\n");
        return 2;
    }
    return quillfen::run(argv[1], argv[2], argc == 4 ? argv[3] : "");
}
