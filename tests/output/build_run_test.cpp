// Run builds through the driver with a scripted host: what the movie file holds (decoded
// with FFmpeg), the Trace around it, Stop, and the failures that must still finish the file.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "imaging/effects/effect_catalogue.h"
#include "output/build_driver.h"
#include "output/frame_loop.h"
#include "output/movie_file_choice.h"
#include "support/movie_probe.h"
#include "support/quiet_build_host.h"
#include "support/script_text.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

using testing::TempFolder;

using Lines = testing::ScriptText;

class ScriptedHost : public testing::QuietBuildHost {
  public:
    void addTrace(const TraceEntry& e) override { trace.push_back(e); }
    void clearTrace() override { trace.clear(); }
    void markCurrentLine(int line) override { currentLines.push_back(line); }
    void setFrameCounter(std::string_view text) override { counters.emplace_back(text); }
    OverwriteAnswer askOverwrite(std::string_view question, std::string_view) override {
        questions.emplace_back(question);
        return overwriteAnswer;
    }
    std::optional<std::string> chooseMovieFile(std::string_view) override {
        ++fileChoices;
        return chosenFile;
    }
    std::optional<CodecChoice> chooseCompression(std::string_view) override { return codec; }
    void showFrame(const FrameImage&) override {
        ++shown;
        if (onShow) onShow(shown);
    }
    bool pumpEvents() override { return stopAtFrame >= 0 && shown > stopAtFrame; }
    void rememberOutputFile(std::string_view name) override { remembered = name; }

    bool traced(std::string_view text) const { return indexOf(text) >= 0; }
    int indexOf(std::string_view text) const {
        for (std::size_t i = 0; i < trace.size(); ++i) {
            if (trace[i].text.find(text) != std::string::npos) return static_cast<int>(i);
        }
        return -1;
    }
    int count(std::string_view text) const {
        int n = 0;
        for (const TraceEntry& e : trace)
            n += e.text.find(text) != std::string::npos;
        return n;
    }

    std::vector<TraceEntry> trace;
    std::vector<int> currentLines;
    std::vector<std::string> counters;
    std::vector<std::string> questions;
    OverwriteAnswer overwriteAnswer = OverwriteAnswer::Cancel;
    std::optional<std::string> chosenFile;
    int fileChoices = 0;
    std::optional<CodecChoice> codec = defaultCodecChoice("raw");
    int shown = 0;
    int stopAtFrame = -1;  // pumpEvents asks to stop once this frame has been shown
    std::function<void(int shown)> onShow;
    std::string remembered;
};

class BuildRun : public ::testing::Test {
  protected:
    BuildRun() : driver(host, catalogue, tail) { driver.settings().scriptFolder = folder.path(); }

    void picture(const std::string& name, int width, int height, ColourValue colour) {
        ASSERT_TRUE(
            WriteBmpFile(DibCreateBlank(width, height, 24, colour), folder.path() + "/" + name));
    }
    BuildOutcome run(std::vector<std::string> lines) {
        Lines script(std::move(lines));
        return driver.runBuild(script, BuildMode::Run);
    }
    std::string movie() const { return folder.path() + "/movie.avi"; }

    TempFolder folder;
    ScriptedHost host;
    EffectCatalogue catalogue;
    CaptionTail tail;
    BuildDriver driver;
};

// Blue, green, red of picture pixel (x, y), y counted from the top.
std::array<int, 3> pixel(const FrameImage& frame, int x, int y) {
    const std::uint8_t* p = frame.row(frame.height() - 1 - y) + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST_F(BuildRun, AColourFrameGivesFiftyFramesOfPureRed) {
    BuildOutcome outcome = run({">resize=720x576", ">frame=red|2", ">moviefile=movie.avi"});
    ASSERT_EQ(outcome.movie, MovieEnd::Completed);
    EXPECT_EQ(outcome.framesWritten, 50);
    EXPECT_EQ(host.remembered, "movie.avi");
    testing::MovieProbe probe = testing::probeMovie(movie());
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.width, 720);
    EXPECT_EQ(probe.height, 576);
    EXPECT_EQ(probe.rateNum * 1, 25 * probe.rateDen);
    std::vector<FrameImage> frames = testing::decodeMovieFrames(movie());
    ASSERT_EQ(frames.size(), 50u);
    for (const FrameImage& frame : frames) {
        for (int y : {0, 288, 575}) {
            for (int x : {0, 360, 719})
                ASSERT_EQ(pixel(frame, x, y), (std::array<int, 3>{0, 0, 255}));
        }
    }
    EXPECT_TRUE(host.traced("Opening AVI file..."));
    EXPECT_EQ(host.trace.back().text, "Done!");
}

TEST_F(BuildRun, LetterboxBandsHaveTheBackgroundOnTheRowsTheGeometryGives) {
    picture("wide.bmp", 200, 100, makeColour(250, 250, 250));
    run({">resize=720x576", ">background=#204060", "wide.bmp*0.04", ">moviefile=movie.avi"});
    FrameImage frame = testing::decodeMovieFrame(movie(), 0);
    ASSERT_TRUE(frame);
    // 200x100 fitted into 720x576 is 720x360: bands of (576 - 360) / 2 = 108 rows.
    const std::array<int, 3> band{0x60, 0x40, 0x20};
    const std::array<int, 3> white{250, 250, 250};
    for (int y : {0, 107, 468, 575})
        EXPECT_EQ(pixel(frame, 360, y), band) << "row " << y;
    for (int y : {108, 300, 467})
        EXPECT_EQ(pixel(frame, 360, y), white) << "row " << y;
}

TEST_F(BuildRun, KeyFramesFallOnTheFirstFrameOfEveryElement) {
    picture("a.bmp", 64, 48, makeColour(200, 0, 0));
    picture("b.bmp", 64, 48, makeColour(0, 200, 0));
    host.codec = defaultCodecChoice("xvid");
    host.codec->keyFrameInterval = 1000;
    BuildOutcome outcome =
        run({">resize=64x48", "a.bmp*0.4", ">frame=blue|0.2", "b.bmp*0.4", ">moviefile=movie.avi"});
    ASSERT_EQ(outcome.movie, MovieEnd::Completed);
    testing::MovieProbe probe = testing::probeMovie(movie());
    ASSERT_TRUE(probe.ok()) << probe.error;
    ASSERT_EQ(probe.storedFrames(), 25);
    std::vector<std::int64_t> keys;
    for (int i : probe.keySamples())
        keys.push_back(probe.samples[i].frame);
    EXPECT_EQ(keys, (std::vector<std::int64_t>{0, 10, 15}));
    EXPECT_EQ(host.counters.front(), "Frame #0 [9]");
    EXPECT_EQ(host.counters.back(), "Frame #24 [0]");
}

TEST_F(BuildRun, StopAtFrameKLeavesKPlusOneFramesAndAPlayableFile) {
    host.stopAtFrame = 7;
    BuildOutcome outcome =
        run({">resize=64x48", ">frame=red|4", ">frame=blue|4", ">moviefile=movie.avi"});
    EXPECT_EQ(outcome.movie, MovieEnd::Stopped);
    EXPECT_EQ(outcome.framesWritten, 8);
    EXPECT_EQ(testing::decodeMovieFrames(movie()).size(), 8u);
    int interrupted = host.indexOf("Script interrupted.");
    ASSERT_GE(interrupted, 0);
    EXPECT_LT(interrupted, host.indexOf("Processing finished"));
    EXPECT_EQ(host.count("Frame\t\t"), 1);  // the second Element was never started
}

TEST_F(BuildRun, WrongSizedFramesAreLeftOutWithOneWarningAndTheirSampleNumbersStayEmpty) {
    picture("big.bmp", 40, 30, 0);
    picture("small.bmp", 20, 10, 0);
    BuildOutcome outcome =
        run({"big.bmp*0.12", "small.bmp*0.12", "big.bmp*0.08", ">moviefile=movie.avi"});
    ASSERT_EQ(outcome.movie, MovieEnd::Completed);
    EXPECT_EQ(outcome.framesTaken, 8);
    EXPECT_EQ(outcome.framesWritten, 5);
    EXPECT_EQ(host.count("Warning: frames of 20x10 do not fit the movie's 40x30"), 1);
    testing::MovieProbe probe = testing::probeMovie(movie());
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), 5);
    std::vector<std::int64_t> stored;
    for (const testing::ProbedSample& s : probe.samples) {
        if (s.size > 0) stored.push_back(s.frame);
    }
    EXPECT_EQ(stored, (std::vector<std::int64_t>{0, 1, 2, 6, 7}));
}

TEST_F(BuildRun, AnUnreadablePictureIsNamedInAWarningAndTheBuildGoesOn) {
    folder.touch("broken.jpg", "not a jpeg");
    BuildOutcome outcome = run({">resize=32x32", ">frame=red|0.2", "broken.jpg*1",
                                ">frame=lime|0.2", ">moviefile=movie.avi"});
    EXPECT_EQ(outcome.movie, MovieEnd::Completed);
    EXPECT_EQ(outcome.framesWritten, 10);
    EXPECT_EQ(
        host.count("Warning: picture 'broken.jpg' could not be read; its frames are left out."), 1);
}

TEST_F(BuildRun, PicturesChangedDuringTheBuildGiveBackgroundFramesAndTheMovieKeepsItsLength) {
    picture("a.bmp", 32, 32, makeColour(255, 0, 0));
    picture("b.bmp", 32, 32, makeColour(0, 255, 0));
    picture("c.bmp", 32, 32, makeColour(0, 0, 255));
    folder.touch("d.jpg", "never a picture");
    for (const char* name : {"s0.bmp", "s1.bmp", "s2.bmp", "s3.bmp"})
        picture(name, 32, 32, makeColour(255, 255, 0));
    host.onShow = [&](int shown) {
        if (shown != 1) return;
        folder.touch("b.bmp", "replaced by garbage");
        std::filesystem::remove(folder.path() + "/c.bmp");
        std::filesystem::remove(folder.path() + "/s1.bmp");
        folder.touch("s2.bmp", "truncated");
    };
    BuildOutcome outcome = run({">resize=32x32", ">background=#204060", "a.bmp*0.2", "b.bmp*0.2",
                                ">kbe=c.bmp|0,0,32,0,0|0,0,16,0,0|0.2", "d.jpg*0.2",
                                ">sequence=s[0].bmp", ">moviefile=movie.avi"});
    ASSERT_EQ(outcome.movie, MovieEnd::Completed);
    // d.jpg was never readable: its frames are left out, as before.
    EXPECT_EQ(outcome.framesWritten, 19);
    EXPECT_EQ(host.count("Warning: picture 'b.bmp' changed after the Script was read and cannot "
                         "be read at frame 5; the background colour stands in for it."),
              1);
    EXPECT_EQ(host.count("Warning: picture 'c.bmp' changed after the Script was read and cannot "
                         "be read at frame 10;"),
              1);
    EXPECT_EQ(host.count("Warning: picture 'd.jpg' could not be read; its frames are left out."),
              1);
    // Each file of a sequence is named where it stands in.
    EXPECT_EQ(host.count("Warning: picture 's1.bmp' changed after the Script was read and cannot "
                         "be read at frame 16;"),
              1);
    EXPECT_EQ(host.count("Warning: picture 's2.bmp' changed after the Script was read and cannot "
                         "be read at frame 17;"),
              1);
    std::vector<FrameImage> frames = testing::decodeMovieFrames(movie());
    ASSERT_EQ(frames.size(), 19u);
    EXPECT_EQ(pixel(frames[4], 16, 16), (std::array<int, 3>{0, 0, 255}));
    for (int i : {5, 9, 10, 14, 16, 17})
        EXPECT_EQ(pixel(frames[i], 16, 16), (std::array<int, 3>{0x60, 0x40, 0x20})) << i;
    for (int i : {15, 18})
        EXPECT_EQ(pixel(frames[i], 16, 16), (std::array<int, 3>{0, 255, 255})) << i;
}

TEST_F(BuildRun, AnExistingFileIsKeptUnlessTheUserSaysYes) {
    folder.touch("movie.avi", "keep me");
    std::vector<std::string> script{">resize=32x32", ">frame=red|0.2", ">moviefile=movie.avi"};
    host.overwriteAnswer = OverwriteAnswer::Cancel;
    EXPECT_EQ(run(script).movie, MovieEnd::None);
    EXPECT_EQ(host.questions, std::vector<std::string>{std::string(kOverwriteQuestion)});
    EXPECT_EQ(host.fileChoices, 0);
    host.overwriteAnswer = OverwriteAnswer::No;  // asks for another file, which is cancelled
    EXPECT_EQ(run(script).movie, MovieEnd::None);
    EXPECT_EQ(host.fileChoices, 1);
    EXPECT_EQ(std::filesystem::file_size(movie()), 7u);
    host.overwriteAnswer = OverwriteAnswer::Yes;
    EXPECT_EQ(run(script).movie, MovieEnd::Completed);
    script.push_back(">debug=W");  // overwrites without a question
    EXPECT_EQ(run(script).movie, MovieEnd::Completed);
    EXPECT_EQ(host.questions.size(), 3u);
}

TEST_F(BuildRun, ACodecTheContainerCannotHoldIsRefusedBeforeAnythingIsWritten) {
    host.codec = defaultCodecChoice("raw");
    BuildOutcome outcome = run({">resize=32x32", ">frame=red|0.2", ">moviefile=movie.mp4"});
    EXPECT_EQ(outcome.movie, MovieEnd::Failed);
    EXPECT_FALSE(std::filesystem::exists(folder.path() + "/movie.mp4"));
    int error = host.indexOf("cannot hold codec 'raw'");
    ASSERT_GE(error, 0);
    EXPECT_EQ(host.trace[error].colour, trace_colour::kRed);
    EXPECT_TRUE(host.traced("Processing aborted."));
    EXPECT_FALSE(host.traced("Frame\t\t"));  // no Element was started
}

// A writer whose disk fills up at one sample.
class FailingWriter : public MovieWriter {
  public:
    FailingWriter(int failAt, bool* closed) : failAt_(failAt), closed_(closed) {}
    WriterStatus open(const std::string&, const CodecChoice&) override { return {}; }
    WriterStatus setUpStream(const BitmapInfoHeader&, double) override { return {}; }
    WriterStatus writeSample(std::int64_t index, std::span<const std::uint8_t>,
                             SampleFlags) override {
        return write(index);
    }
    WriterStatus writeSample(std::int64_t index, FrameImage, SampleFlags) override {
        return write(index);
    }
    WriterStatus writeSample(std::int64_t index, SharedFrame, SampleFlags) override {
        return write(index);
    }
    WriterStatus close() override {
        *closed_ = true;
        return {};
    }
    std::int64_t samplesWritten() const override { return written_; }

  private:
    WriterStatus write(std::int64_t index) {
        if (index < failAt_) {
            ++written_;
            return {};
        }
        return {WriterFailure::Write, 28, "the disk is full"};
    }
    int failAt_;
    bool* closed_;
    std::int64_t written_ = 0;
};

TEST_F(BuildRun, AWriteErrorEndsTheBuildInRedAndTheFileIsStillFinished) {
    bool closed = false;
    driver.setWriterFactory([&] { return std::make_unique<FailingWriter>(3, &closed); });
    BuildOutcome outcome = run({">resize=32x32", ">frame=red|1", ">moviefile=movie.avi"});
    EXPECT_EQ(outcome.movie, MovieEnd::Failed);
    EXPECT_TRUE(closed);
    EXPECT_EQ(outcome.framesWritten, 3);
    EXPECT_EQ(host.shown, 4);  // nothing rendered after the failed frame
    int error = host.indexOf("Error: could not write the movie file");
    ASSERT_GE(error, 0);
    EXPECT_NE(host.trace[error].text.find("movie.avi': the disk is full."), std::string::npos);
    EXPECT_EQ(host.trace[error].colour, trace_colour::kRed);
    EXPECT_EQ(host.count("Processing aborted."), 1);
}

TEST_F(BuildRun, WithoutAMovieFileTheHostChoosesAndCancellingWritesNothing) {
    BuildOutcome outcome = run({">resize=32x32", ">frame=red|0.2"});
    EXPECT_EQ(host.fileChoices, 1);
    EXPECT_EQ(outcome.movie, MovieEnd::None);
    EXPECT_EQ(host.trace.back().text, "Done!");
}

TEST_F(BuildRun, RenderFrameGivesTheFrameTheBuildWritesWithoutWritingAMovie) {
    picture("a.bmp", 50, 50, makeColour(1, 2, 3));
    std::vector<std::string> script{">resize=80x60", ">frame=navy|0.2", "a.bmp*0.2",
                                    ">moviefile=movie.avi"};
    Lines lines(script);
    FrameImage fifth = driver.renderFrame(lines, {.index = 5});
    FrameImage atTime =
        driver.renderFrame(lines, {.index = std::nullopt, .seconds = 0.2});  // frame 5 at 25 fps
    EXPECT_FALSE(std::filesystem::exists(movie()));
    ASSERT_TRUE(fifth);
    ASSERT_TRUE(atTime);
    EXPECT_EQ(fifth.size(), atTime.size());
    EXPECT_EQ(std::memcmp(fifth.data(), atTime.data(), fifth.size()), 0);
    ASSERT_EQ(run(script).movie, MovieEnd::Completed);
    FrameImage written = testing::decodeMovieFrame(movie(), 5);
    ASSERT_TRUE(written);
    ASSERT_EQ(written.stride() * 60, fifth.stride() * 60);
    EXPECT_EQ(std::memcmp(written.pixels(), fifth.pixels(), fifth.stride() * 60), 0);
    EXPECT_FALSE(driver.renderFrame(lines, {.index = 10}));
    EXPECT_TRUE(host.traced("Error: the movie has no frame 10 (it has 10 frames)."));
    // Times far beyond any movie are refused the same way, not converted past the int range.
    EXPECT_FALSE(driver.renderFrame(lines, {.index = std::nullopt, .seconds = 1e300}));
    EXPECT_TRUE(
        host.traced("Error: the movie has no frame 1000000000000000000 (it has 10 frames)."));
    EXPECT_FALSE(driver.renderFrame(lines, {.index = std::nullopt, .seconds = -1e300}));
    EXPECT_TRUE(host.traced("Error: the movie has no frame -1 (it has 10 frames)."));
}

// An Element that gives out before its count is spent and says so in its message, as a clip
// that ends early does.
class ShortClip : public SourceElement {
  public:
    ShortClip(const MovieSettings& settings, int announced, int real)
        : SourceElement(0, settings), real_(real) {
        kind = ElementKind::Video;
        valid = true;
        nbFrames_ = nbAVIFrames_ = announced;
    }
    FrameImage nextFrame() override {
        if (nbFrames_ <= 0) return {};
        --nbFrames_;
        if (given_ == real_) {
            message = "Warning: video 'clip.avi' ended early.";
            return {};
        }
        ++given_;
        return DibCreateBlank(8, 8, 24, 0);
    }

  private:
    int real_;
    int given_ = 0;
};

class CountingSink : public FrameSink {
  public:
    SinkAnswer start(const FrameImage&, double) override { return SinkAnswer::Continue; }
    SinkAnswer deliver(std::int64_t, SharedFrame, SampleFlags) override {
        ++delivered;
        return SinkAnswer::Continue;
    }
    int delivered = 0;
};

TEST(FrameLoopWarnings, AWarningAnElementTakesOnWhileGivingFramesIsWrittenOnce) {
    ScriptedHost host;
    MovieSettings settings;
    bool stop = false;
    int marked = -1;
    ElementList elements;
    elements.push_back(std::make_unique<ShortClip>(settings, 5, 3));
    auto parsed = std::make_unique<ShortClip>(settings, 2, 2);
    parsed->message = "Warning: written by the parser already.";
    elements.push_back(std::move(parsed));
    CountingSink sink;
    FrameLoop loop(LoopContext{host, settings, 0, stop, marked});
    loop.run(elements, sink);
    EXPECT_EQ(sink.delivered, 5);
    EXPECT_EQ(host.count("Warning: video 'clip.avi' ended early."), 1);
    EXPECT_EQ(host.count("written by the parser already"), 0);
}

// A still whose picture is in hand, counting how often it is drawn.
class CountedStill : public SourceElement {
  public:
    CountedStill(const MovieSettings& settings, int frames, std::uint32_t colour)
        : SourceElement(0, settings) {
        valid = true;
        nbFrames_ = nbAVIFrames_ = frames;
        cachedPicture_ = DibCreateBlank(8, 8, 24, colour);
    }
    FrameImage nextFrame() override {
        ++draws;
        return SourceElement::nextFrame();
    }
    int draws = 0;
};

class RecordingSink : public FrameSink {
  public:
    SinkAnswer start(const FrameImage&, double) override { return SinkAnswer::Continue; }
    SinkAnswer deliver(std::int64_t, SharedFrame frame, SampleFlags flags) override {
        blocks.push_back(frame.get());
        same.push_back(flags.sameAsPrevious);
        return SinkAnswer::Continue;
    }
    std::vector<const FrameImage*> blocks;
    std::vector<bool> same;
};

TEST(FrameLoopRepeats, AStillIsDrawnOnceAndItsRepeatsAreTheSameSharedBlock) {
    ScriptedHost host;
    MovieSettings settings;
    bool stop = false;
    int marked = -1;
    ElementList elements;
    elements.push_back(std::make_unique<CountedStill>(settings, 4, 0x102030));
    elements.push_back(std::make_unique<CountedStill>(settings, 3, 0x405060));
    RecordingSink sink;
    FrameLoop loop(LoopContext{host, settings, 0, stop, marked});
    EXPECT_EQ(loop.run(elements, sink).framesTaken, 7);
    EXPECT_EQ(static_cast<CountedStill&>(*elements[0]).draws, 1);
    EXPECT_EQ(static_cast<CountedStill&>(*elements[1]).draws, 1);
    EXPECT_EQ(sink.same, (std::vector<bool>{false, true, true, true, false, true, true}));
    ASSERT_EQ(sink.blocks.size(), 7u);
    EXPECT_EQ(std::set<const FrameImage*>(sink.blocks.begin(), sink.blocks.begin() + 4).size(), 1u);
    EXPECT_EQ(std::set<const FrameImage*>(sink.blocks.begin() + 4, sink.blocks.end()).size(), 1u);
    EXPECT_NE(sink.blocks[0], sink.blocks[4]);
    // The counter follows every frame, repeats included.
    ASSERT_EQ(host.counters.size(), 7u);
    EXPECT_EQ(host.counters[6], "Frame #6 [0]");
}

}  // namespace
}  // namespace quillfen
