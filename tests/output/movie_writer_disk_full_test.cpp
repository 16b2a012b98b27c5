// A disk that fills up while frames are written: the write fails with a clear status and the
// file is still finished and playable. The small disk is a tmpfs mounted in a private mount
// namespace of a child process, so nothing outside the test sees it.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "output/movie_writer_test_support.h"
#include "support/movie_probe.h"
#include "support/private_disk.h"

namespace quillfen {
namespace {

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

// Runs in the child: fills a 1 MiB disk with raw frames, closes, copies the movie out and
// writes "<accepted samples> <failure kind> <close ok>" into `report`.
int fillTheDisk(const std::string& folder, bool worker) {
    std::string mountPoint = folder + "/small";
    if (!testing::mountPrivateDisk(mountPoint, "1m")) return testing::kNoPrivateDisk;
    std::string path = mountPoint + "/full.avi";
    auto writer =
        makeFfmpegMovieWriter({.reuseIdenticalSamples = true, .encodeBesideCaller = worker});
    if (!writer->open(path, defaultCodecChoice("raw")).ok()) return 2;
    if (!writer->setUpStream(testing::patternFrame(64, 48, 0).header(), 25).ok()) return 3;
    WriterStatus failed;
    int accepted = 0;
    for (int i = 0; i < 1000 && failed.ok(); ++i) {
        // Every frame differs, so no sample is reused and the disk really fills.
        failed =
            writer->writeSample(i, testing::patternFrame(64, 48, i % 7 + i / 7), {i % 10 == 0});
        if (failed.ok()) ++accepted;
    }
    WriterStatus closed = writer->close();
    std::error_code ignored;
    std::filesystem::copy_file(path, folder + "/copy.avi", ignored);
    writeText(folder + "/report", std::to_string(writer->samplesWritten()) + " " +
                                      std::to_string(static_cast<int>(failed.failure)) + " " +
                                      std::to_string(closed.ok() ? 1 : 0) + "\n" + failed.reason);
    return 0;
}

void expectFinishedAfterDiskFull(bool worker) {
    testing::TempFolder dir;
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(fillTheDisk(dir.path(), worker));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == testing::kNoPrivateDisk)
        GTEST_SKIP() << "no private tmpfs can be mounted here";
    ASSERT_EQ(WEXITSTATUS(status), 0);

    std::ifstream report(dir.file("report"));
    int written = 0, failure = 0, closedOk = 0;
    report >> written >> failure >> closedOk;
    std::string reason;
    std::getline(report >> std::ws, reason);
    EXPECT_EQ(failure, static_cast<int>(WriterFailure::Write));
    EXPECT_NE(reason.find("disk is full"), std::string::npos) << reason;
    EXPECT_EQ(closedOk, 1);
    EXPECT_GT(written, 10);
    EXPECT_LT(written, 1000);

    testing::MovieProbe probe = testing::probeMovie(dir.file("copy.avi"));
    ASSERT_TRUE(probe.ok()) << probe.error;
    EXPECT_EQ(probe.storedFrames(), written);
    std::vector<FrameImage> frames = testing::decodeMovieFrames(dir.file("copy.avi"));
    ASSERT_EQ(static_cast<int>(frames.size()), written);
    FrameImage last = testing::patternFrame(64, 48, (written - 1) % 7 + (written - 1) / 7);
    EXPECT_EQ(testing::meanDifference(frames.back(), last), 0.0);
}

TEST(MovieWriterDiskFull, FileIsFinishedAndHoldsEveryAcceptedFrame) {
    expectFinishedAfterDiskFull(false);
}

TEST(MovieWriterDiskFull, SameWithTheEncoderBesideTheCaller) {
    expectFinishedAfterDiskFull(true);
}

TEST(MovieWriterDiskFull, DevFullFailsCleanly) {
    // /dev/full takes the open but no byte: the stream cannot start and closing reports it.
    auto full = makeFfmpegMovieWriter();
    std::filesystem::path link = std::filesystem::temp_directory_path() /
                                 ("qf-devfull-" + std::to_string(::getpid()) + ".avi");
    std::filesystem::create_symlink("/dev/full", link);
    WriterStatus opened = full->open(link.string(), defaultCodecChoice("raw"));
    if (opened.ok()) {
        WriterStatus setUp = full->setUpStream(testing::patternFrame(16, 16, 0).header(), 25);
        WriterStatus wrote = full->writeSample(0, testing::patternFrame(16, 16, 0), {true});
        WriterStatus closed = full->close();
        EXPECT_FALSE(setUp.ok() && wrote.ok() && closed.ok());
    }
    std::filesystem::remove(link);
}

}  // namespace
}  // namespace quillfen
