// The preview worker's thread: only the newest waiting request is rendered, a new text stops
// the frame in hand, and the build driver's renderer works on it. Runs under ThreadSanitizer.
#include <gtest/gtest.h>

#include "app/preview_worker.h"
#include "fake_preview_renderer.h"

namespace quillfen {
namespace {

using testing::FakePreviewRenderer;

// Collects the worker's shots from its thread.
struct Shots {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<PreviewShot> list;

    std::function<void(PreviewShot)> sink() {
        return [this](PreviewShot shot) {
            std::lock_guard lock(mutex);
            list.push_back(std::move(shot));
            arrived.notify_all();
        };
    }
    bool waitForCount(std::size_t count) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, std::chrono::seconds(30),
                                [&] { return list.size() >= count; });
    }
};

std::shared_ptr<const ScriptSnapshot> script(std::vector<std::string> lines,
                                             std::uint64_t version) {
    return std::make_shared<const ScriptSnapshot>(std::move(lines), ".", version);
}

PreviewJob frameJob(std::uint64_t id, std::int64_t frame, std::uint64_t version = 1) {
    PreviewJob job;
    job.id = id;
    job.script = script({"any"}, version);
    job.frame = frame;
    return job;
}

TEST(PreviewWorkerTest, OnlyTheNewestWaitingRequestIsRendered) {
    FakePreviewRenderer::Gate gate;
    gate.open = false;
    Shots shots;
    PreviewWorker worker(std::make_unique<FakePreviewRenderer>(gate, 100), shots.sink());
    worker.request(frameJob(1, 1));
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.waiting == 1; }));
    for (std::uint64_t id = 2; id <= 10; ++id)
        worker.request(frameJob(id, static_cast<std::int64_t>(id)));
    gate.setOpen(true);
    ASSERT_TRUE(shots.waitForCount(2));

    std::lock_guard lock(shots.mutex);
    ASSERT_EQ(shots.list.size(), 2u);
    EXPECT_EQ(shots.list[0].index, 1);
    EXPECT_EQ(shots.list[1].id, 10u);
    EXPECT_EQ(shots.list[1].index, 10);
    ASSERT_TRUE(shots.list[1].frame);
    EXPECT_EQ(shots.list[1].frame->width(), 64);
}

TEST(PreviewWorkerTest, ANewTextStopsTheFrameInHandAndCancelDropsAll) {
    FakePreviewRenderer::Gate gate;
    gate.open = false;
    Shots shots;
    PreviewWorker worker(std::make_unique<FakePreviewRenderer>(gate, 100), shots.sink());
    worker.request(frameJob(1, 5, 1));
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.waiting == 1; }));
    worker.request(frameJob(2, 6, 2));
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.cancelledRenders == 1 && g.waiting == 1; }));
    worker.cancel();
    ASSERT_TRUE(gate.waitFor([](auto& g) { return g.cancelledRenders == 2; }));
    gate.setOpen(true);
    worker.request(frameJob(3, 7, 2));
    ASSERT_TRUE(shots.waitForCount(1));

    std::lock_guard lock(shots.mutex);
    ASSERT_EQ(shots.list.size(), 1u);
    EXPECT_EQ(shots.list[0].id, 3u);
    EXPECT_EQ(gate.rendered, std::vector<std::int64_t>{7});
}

TEST(PreviewWorkerTest, TheDriverRendererGivesFramesAndParseNotes) {
    Shots shots;
    PreviewWorker worker(makeDriverPreviewRenderer(), shots.sink());
    PreviewJob job;
    job.id = 1;
    job.script = script({">resize=64x48", ">frame=red|1", ">frame=blue|1"}, 1);
    job.caretLine = 2;
    worker.request(job);
    ASSERT_TRUE(shots.waitForCount(1));
    job.id = 2;
    job.script = script({">resize=64x48", ">nosuchcommand=1"}, 2);
    worker.request(job);
    ASSERT_TRUE(shots.waitForCount(2));

    std::lock_guard lock(shots.mutex);
    const PreviewShot& blue = shots.list[0];
    EXPECT_EQ(blue.index, 25);
    EXPECT_EQ(blue.timeline.totalFrames, 50);
    ASSERT_TRUE(blue.frame);
    ASSERT_EQ(blue.frame->bitCount(), 24);
    const std::uint8_t* pixel = blue.frame->row(24) + 32 * 3;
    EXPECT_EQ(pixel[0], 255);  // blue, stored B G R
    EXPECT_EQ(pixel[2], 0);
    EXPECT_TRUE(blue.note.empty());

    const PreviewShot& broken = shots.list[1];
    EXPECT_EQ(broken.index, -1);
    EXPECT_FALSE(broken.frame);
    EXPECT_EQ(broken.note.rfind("Line 2: ", 0), 0u) << broken.note;
}

}  // namespace
}  // namespace quillfen
