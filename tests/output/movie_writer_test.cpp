#include <gtest/gtest.h>

#include <cstring>

#include "imaging/dib_convert.h"
#include "imaging/dib_ops.h"
#include "media/ffmpeg_movie_writer.h"
#include "output/movie_writer_test_support.h"
#include "support/movie_probe.h"

namespace quillfen {
namespace {

using testing::patternFrame;
using testing::probeMovie;
using testing::Sample;
using testing::TempFolder;
using testing::writeMovie;

// The 40-byte header of the first stream's format chunk in an AVI file.
BitmapInfoHeader aviStreamFormat(const std::string& path) {
    std::vector<std::uint8_t> bytes = testing::fileBytes(path);
    BitmapInfoHeader header{};
    for (std::size_t i = 0; i + 48 <= bytes.size(); ++i) {
        if (std::memcmp(bytes.data() + i, "strf", 4) == 0) {
            std::memcpy(&header, bytes.data() + i + 8, sizeof header);
            break;
        }
    }
    return header;
}

// The chunk sizes listed in an AVI file's idx1 index, one per sample.
std::vector<std::uint32_t> aviIndexSizes(const std::string& path) {
    std::vector<std::uint8_t> bytes = testing::fileBytes(path);
    std::vector<std::uint32_t> sizes;
    for (std::size_t i = bytes.size() >= 8 ? bytes.size() - 8 : 0; i > 0; --i) {
        if (std::memcmp(bytes.data() + i, "idx1", 4) != 0) continue;
        std::uint32_t length = 0;
        std::memcpy(&length, bytes.data() + i + 4, 4);
        for (std::size_t e = i + 8; e + 16 <= i + 8 + length && e + 16 <= bytes.size(); e += 16) {
            std::uint32_t size = 0;
            std::memcpy(&size, bytes.data() + e + 12, 4);
            sizes.push_back(size);
        }
        break;
    }
    return sizes;
}

TEST(MovieWriterRaw, StoresBottomUpRowsByteForByte) {
    TempFolder dir;
    std::string path = dir.file("raw.avi");
    // 37 pixels: rows of 111 bytes padded to 112.
    writeMovie(path, defaultCodecChoice("raw"),
               {{0, 0, true}, {1, 1, false}, {2, 2, false}, {3, 3, true}, {4, 4, false}}, 37, 21);

    testing::MovieProbe probe = probeMovie(path);
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.codec, "rawvideo");
    EXPECT_EQ(probe.width, 37);
    EXPECT_EQ(probe.height, 21);
    EXPECT_EQ(probe.rateNum, 25);
    EXPECT_EQ(probe.rateDen, 1);
    EXPECT_EQ(probe.timeBaseNum, 1);
    EXPECT_EQ(probe.timeBaseDen, 25);
    ASSERT_EQ(probe.samples.size(), 5u);
    // Uncompressed frames all stand alone; libavformat flags every one a key frame.
    EXPECT_EQ(probe.keySamples(), (std::vector<int>{0, 1, 2, 3, 4}));

    BitmapInfoHeader format = aviStreamFormat(path);
    EXPECT_EQ(format.biWidth, 37);
    EXPECT_EQ(format.biHeight, 21);  // positive: bottom-up
    EXPECT_EQ(format.biBitCount, 24);
    EXPECT_EQ(format.biCompression, 0u);

    std::vector<FrameImage> frames = testing::decodeMovieFrames(path);
    ASSERT_EQ(frames.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        FrameImage expected = patternFrame(37, 21, i);
        ASSERT_EQ(frames[i].size(), expected.size());
        EXPECT_EQ(std::memcmp(frames[i].pixels(), expected.pixels(), expected.size() - 40), 0)
            << "frame " << i;
    }
}

TEST(MovieWriterRaw, RateIsRoundedToThousandthsAndKeptExact) {
    struct Case {
        double rate;
        int num, den;
    };
    for (Case c : {Case{29.97, 2997, 100}, Case{23.976, 2997, 125}, Case{12.3456, 6173, 500}}) {
        TempFolder dir;
        std::string path = dir.file("rate.avi");
        writeMovie(path, defaultCodecChoice("raw"), {{0, 0, true}, {1, 1, false}}, 16, 8, c.rate);
        testing::MovieProbe probe = probeMovie(path);
        ASSERT_TRUE(probe.ok()) << probe.error;
        EXPECT_EQ(probe.rateNum, c.num) << c.rate;
        EXPECT_EQ(probe.rateDen, c.den) << c.rate;
        EXPECT_EQ(probe.timeBaseNum, c.den) << c.rate;
        EXPECT_EQ(probe.timeBaseDen, c.num) << c.rate;
    }
}

TEST(MovieWriterGaps, LeftOutSampleStaysEmptyAndLaterFramesKeepTheirTime) {
    for (std::string codec : {"raw", "mjpeg"}) {
        TempFolder dir;
        std::string path = dir.file("gap.avi");
        writeMovie(path, defaultCodecChoice(codec),
                   {{0, 0, true}, {1, 1, false}, {3, 3, false}, {4, 4, false}}, 32, 16);
        testing::MovieProbe probe = probeMovie(path);
        ASSERT_TRUE(probe.ok()) << probe.error;
        ASSERT_EQ(probe.samples.size(), 4u) << codec;  // the reader passes over empty ones
        std::vector<std::int64_t> times;
        for (const auto& sample : probe.samples)
            times.push_back(sample.frame);
        EXPECT_EQ(times, (std::vector<std::int64_t>{0, 1, 3, 4})) << codec;
        std::vector<std::uint32_t> sizes = aviIndexSizes(path);
        ASSERT_EQ(sizes.size(), 5u) << codec;
        EXPECT_EQ(sizes[2], 0u) << codec;
        EXPECT_NE(sizes[3], 0u) << codec;
    }
}

TEST(MovieWriterReuse, RepeatedFramesGiveTheSameFileWithAndWithoutShortcuts) {
    std::vector<Sample> samples = {{0, 0, true},  {1, 0, false}, {2, 0, false}, {3, 5, true},
                                   {4, 5, false}, {6, 5, false}, {7, 1, false}};
    for (std::string codec : {"raw", "mjpeg"}) {
        TempFolder dir;
        writeMovie(dir.file("plain.avi"), defaultCodecChoice(codec), samples, 48, 32, 25,
                   {.reuseIdenticalSamples = false, .encodeBesideCaller = false});
        writeMovie(dir.file("reused.avi"), defaultCodecChoice(codec), samples, 48, 32, 25,
                   {.reuseIdenticalSamples = true, .encodeBesideCaller = false});
        writeMovie(dir.file("worker.avi"), defaultCodecChoice(codec), samples, 48, 32, 25,
                   {.reuseIdenticalSamples = true, .encodeBesideCaller = true});
        auto plain = testing::fileBytes(dir.file("plain.avi"));
        EXPECT_EQ(plain, testing::fileBytes(dir.file("reused.avi"))) << codec;
        EXPECT_EQ(plain, testing::fileBytes(dir.file("worker.avi"))) << codec;
    }
}

TEST(MovieWriterReuse, SameAsPreviousHintWritesThePreviousPicture) {
    TempFolder dir;
    std::string path = dir.file("hint.avi");
    auto writer = makeFfmpegMovieWriter();
    ASSERT_TRUE(writer->open(path, defaultCodecChoice("raw")).ok());
    ASSERT_TRUE(writer->setUpStream(patternFrame(16, 8, 0).header(), 25).ok());
    ASSERT_TRUE(writer->writeSample(0, patternFrame(16, 8, 0), {true}).ok());
    ASSERT_TRUE(writer->writeSample(1, patternFrame(16, 8, 0), {false, true}).ok());
    ASSERT_TRUE(writer->close().ok());
    std::vector<FrameImage> frames = testing::decodeMovieFrames(path);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(std::memcmp(frames[0].data(), frames[1].data(), frames[0].size()), 0);
}

TEST(MovieWriterDepth, AThirtyTwoBitFrameIsWrittenAsItsTwentyFourBitPicture) {
    // An odd width gives 24-bit rows with padding, which must be written as zeros.
    for (const char* codec : {"raw", "mjpeg", "ffv1"}) {
        TempFolder dir;
        std::string path = dir.file("depth.avi");
        auto writer = makeFfmpegMovieWriter();
        ASSERT_TRUE(writer->open(path, defaultCodecChoice(codec)).ok());
        FrameImage picture = patternFrame(19, 10, 3);
        ASSERT_TRUE(writer->setUpStream(picture.header(), 25).ok());
        FrameImage wide = DibTo32(picture);
        for (int y = 0; y < 10; ++y)  // the fourth byte must not matter
            for (int x = 0; x < 19; ++x)
                wide.row(y)[4 * x + 3] = static_cast<std::uint8_t>(x * 13 + y);
        ASSERT_TRUE(writer->writeSample(0, DibCopy(picture), {true}).ok());
        ASSERT_TRUE(writer->writeSample(1, std::move(wide), {true}).ok()) << codec;
        ASSERT_TRUE(writer->close().ok());
        std::vector<std::uint64_t> sums = testing::sampleChecksums(path);
        ASSERT_EQ(sums.size(), 2u) << codec;
        EXPECT_EQ(sums[0], sums[1]) << codec;
    }
}

TEST(MovieWriterLifecycle, CallsOutOfOrderAreRefusedAndCloseIsHarmless) {
    TempFolder dir;
    auto writer = makeFfmpegMovieWriter();
    EXPECT_TRUE(writer->close().ok());  // never opened
    EXPECT_EQ(writer->setUpStream(patternFrame(8, 8, 0).header(), 25).failure,
              WriterFailure::Usage);

    EXPECT_EQ(writer->open(dir.file("no/such/folder/m.avi"), defaultCodecChoice("raw")).failure,
              WriterFailure::Open);
    WriterStatus refused = writer->open(dir.file("m.mp4"), defaultCodecChoice("raw"));
    EXPECT_EQ(refused.failure, WriterFailure::Refused);
    EXPECT_FALSE(std::filesystem::exists(dir.file("m.mp4")));

    std::string path = dir.file("m.avi");
    ASSERT_TRUE(writer->open(path, defaultCodecChoice("raw")).ok());
    EXPECT_EQ(writer->writeSample(0, patternFrame(8, 8, 0), {true}).failure,
              WriterFailure::Usage);  // no stream yet
    ASSERT_TRUE(writer->setUpStream(patternFrame(8, 8, 0).header(), 25).ok());
    EXPECT_EQ(writer->writeSample(0, patternFrame(9, 8, 0), {true}).failure, WriterFailure::Usage);
    ASSERT_TRUE(writer->writeSample(2, patternFrame(8, 8, 0), {true}).ok());
    EXPECT_EQ(writer->writeSample(2, patternFrame(8, 8, 0), {}).failure, WriterFailure::Usage);
    EXPECT_TRUE(writer->close().ok());
    EXPECT_TRUE(writer->close().ok());
    EXPECT_TRUE(probeMovie(path).ok());
}

TEST(MovieWriterLifecycle, AStreamNeverSetUpLeavesAnEmptyFile) {
    TempFolder dir;
    auto writer = makeFfmpegMovieWriter();
    ASSERT_TRUE(writer->open(dir.file("e.avi"), defaultCodecChoice("mjpeg")).ok());
    EXPECT_TRUE(writer->close().ok());
    EXPECT_EQ(std::filesystem::file_size(dir.file("e.avi")), 0u);
}

}  // namespace
}  // namespace quillfen
