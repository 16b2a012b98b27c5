// Every codec the linked FFmpeg offers, in every container it suits: a short movie read back.

#include <gtest/gtest.h>

#include <algorithm>

#include "media/codec_catalogue.h"
#include "output/movie_writer_test_support.h"
#include "support/movie_probe.h"

// libx265 keeps a few process-wide allocations that it never frees; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libx265.so\n";
}

namespace quillfen {
namespace {

std::string extensionOf(Container c) {
    switch (c) {
        case Container::Avi:
            return "avi";
        case Container::Mov:
            return "mov";
        case Container::Wmv:
            return "wmv";
        case Container::Mp4:
            return "mp4";
        case Container::Mkv:
            return "mkv";
    }
    return "";
}

TEST(MovieWriterCodecs, EveryAvailableCodecInEveryContainerItSuits) {
    constexpr int kWidth = 64, kHeight = 48, kFrames = 8;
    std::vector<testing::Sample> samples;
    for (int i = 0; i < kFrames; ++i)
        samples.push_back({i, i, i == 0 || i == 5});

    int written = 0;
    for (const CodecInfo& codec : codecCatalogue()) {
        for (Container container : containersFor(codec)) {
            SCOPED_TRACE(std::string(codec.name) + " in " + extensionOf(container));
            testing::TempFolder dir;
            std::string path = dir.file("movie." + extensionOf(container));
            testing::writeMovie(path, defaultCodecChoice(codec.name), samples, kWidth, kHeight);
            ++written;

            testing::MovieProbe probe = testing::probeMovie(path);
            ASSERT_TRUE(probe.ok()) << probe.error;
            EXPECT_EQ(probe.width, kWidth);
            EXPECT_EQ(probe.height, kHeight);
            EXPECT_EQ(probe.rateNum * 1, probe.rateDen * 25);
            EXPECT_EQ(probe.storedFrames(), kFrames);
            std::vector<int> keys = probe.keySamples();
            std::vector<std::int64_t> keyTimes;
            for (int k : keys)
                keyTimes.push_back(probe.samples[k].frame);
            for (std::int64_t forced : {0, 5}) {
                EXPECT_NE(std::find(keyTimes.begin(), keyTimes.end(), forced), keyTimes.end())
                    << "no key frame at " << forced;
            }
            if (container == Container::Avi && codec.name == "xvid") {
                EXPECT_EQ(probe.codecTag, 0x44495658u);  // "XVID"
            }

            std::vector<FrameImage> frames = testing::decodeMovieFrames(path);
            ASSERT_EQ(frames.size(), static_cast<std::size_t>(kFrames));
            for (int i = 0; i < kFrames; i += 3) {
                double diff =
                    testing::meanDifference(frames[i], testing::patternFrame(kWidth, kHeight, i));
                EXPECT_LT(diff, 6.0) << "frame " << i;  // upright, right colours
            }
        }
    }
    EXPECT_GE(written, 4);  // raw, mjpeg (AVI, MOV, MKV) at the least
}

// mjpeg has two encoders: libjpeg's at a quality, FFmpeg's at a data rate. Both give
// pictures close to the source, and a higher quality gives larger, closer pictures.
TEST(MovieWriterCodecs, MjpegAtEitherQualityEndAndAtADataRate) {
    constexpr int kWidth = 64, kHeight = 48;
    std::vector<testing::Sample> samples = {{0, 0, true}, {1, 4, true}};
    struct Result {
        double difference = 0;
        std::size_t bytes = 0;
    };
    auto build = [&](CodecChoice choice) {
        testing::TempFolder dir;
        std::string path = dir.file("m.avi");
        testing::writeMovie(path, choice, samples, kWidth, kHeight);
        std::vector<FrameImage> frames = testing::decodeMovieFrames(path);
        EXPECT_EQ(frames.size(), 2u);
        if (frames.size() != 2) return Result{};
        return Result{testing::meanDifference(frames[1], testing::patternFrame(kWidth, kHeight, 4)),
                      testing::fileBytes(path).size()};
    };
    CodecChoice choice = defaultCodecChoice("mjpeg");
    choice.quality = 0;
    Result low = build(choice);
    choice.quality = 100;
    Result high = build(choice);
    choice.dataRateKbps = 4000;
    Result rate = build(choice);
    EXPECT_LT(high.difference, low.difference);
    EXPECT_GT(high.bytes, low.bytes);
    EXPECT_LT(high.difference, 2.0);
    EXPECT_LT(low.difference, 6.0);
    EXPECT_LT(rate.difference, 6.0);
}

}  // namespace
}  // namespace quillfen
