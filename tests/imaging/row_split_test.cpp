// Splitting row kernels over two threads: every row is done once, small jobs stay on the
// caller's thread, and a split stretch is the same as the rows drawn one by one. Also run
// under ThreadSanitizer.

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "imaging/row_split.h"
#include "imaging/stretch.h"

namespace quillfen {
namespace {

TEST(SplitRows, EveryRowOnceOnAtMostTwoThreadsSmallJobsOnTheCaller) {
    std::vector<std::atomic<int>> visits(1080);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    auto work = [&](int first, int last) {
        for (int y = first; y < last; ++y)
            ++visits[static_cast<std::size_t>(y)];
        std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
    };
    splitRows(0, 1080, 1920 * 1080, work);
    for (const auto& v : visits)
        ASSERT_EQ(v.load(), 1);
    // Which thread takes how many pieces depends on which gets a core first.
    EXPECT_LE(threads.size(), 2u);

    threads.clear();
    splitRows(10, 20, 10 * 64, work);
    EXPECT_EQ(threads, std::set<std::thread::id>{std::this_thread::get_id()});
    splitRows(5, 5, kSplitMinimumPixels * 2, [](int, int) { FAIL() << "no rows to do"; });
}

FrameImage gradient(int width, int height) {
    FrameImage image = FrameImage::create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.row(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 3 + y);
            row[3 * x + 1] = static_cast<std::uint8_t>(x ^ y);
            row[3 * x + 2] = static_cast<std::uint8_t>(y * 5);
        }
    }
    return image;
}

TEST(SplitRows, ASplitAreaStretchEqualsTheRowsDrawnOneAtATime) {
    FrameImage source = gradient(1500, 900);
    const SourceWindow window{100.25, 50.5, 1211.5, 681.75};
    FrameImage whole = FrameImage::create(800, 450, 32);
    ASSERT_TRUE(
        StretchInto(source, window, frameTarget(whole), {0, 0, 800, 450}, StretchMode::halftone));
    // One destination row at a time is far below the split size; a row's pixels depend
    // only on the taps of its own destination row, so drawing the full rectangle into a
    // one-row view of the target gives that row alone.
    FrameImage rows = FrameImage::create(800, 450, 32);
    PixelTarget all = frameTarget(rows);
    for (int y = 0; y < 450; ++y) {
        PixelTarget one = all;
        one.top = all.top + y * all.rowStep;
        one.height = 1;
        ASSERT_TRUE(StretchInto(source, window, one, {0, -y, 800, 450}, StretchMode::halftone));
    }
    ASSERT_EQ(whole.size(), rows.size());
    EXPECT_EQ(std::memcmp(whole.data(), rows.data(), whole.size()), 0);
}

}  // namespace
}  // namespace quillfen
