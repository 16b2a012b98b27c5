#include "media/ffmpeg_movie_writer.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "base/helper_threads.h"
#include "media/ffmpeg_sample_muxer.h"

namespace quillfen {

namespace {

// Frames waiting for the encoder: enough to keep it busy, few enough to keep memory flat. One
// is enough, as the frame being encoded is out of the queue (for mjpeg, two are). A repeated
// frame is the same shared block again and costs no memory, so a run of them may
// queue further: the encoder stays busy with it while the next picture is being made.
constexpr std::size_t kQueuedBlocks = 1;
constexpr std::size_t kQueuedSamples = 32;
// The index of a job that carries only sound.
constexpr std::int64_t kSoundOnly = -1;

WriterStatus usage(std::string reason) {
    return {WriterFailure::Usage, 0, std::move(reason)};
}

class FfmpegMovieWriter final : public MovieWriter {
  public:
    explicit FfmpegMovieWriter(FfmpegWriterOptions options)
        : options_(options), muxer_(options.reuseIdenticalSamples) {}
    ~FfmpegMovieWriter() override { close(); }

    WriterStatus open(const std::string& path, const CodecChoice& choice) override {
        close();
        return muxer_.open(path, choice);
    }

    WriterStatus enableSound() override {
        if (!muxer_.isOpen()) return usage("no movie file is open");
        return muxer_.enableSound();
    }

    WriterStatus setUpStream(const BitmapInfoHeader& first, double frameRate) override {
        if (!muxer_.isOpen()) return usage("no movie file is open");
        if (first.biBitCount != 24 || first.biWidth <= 0 || first.biHeight <= 0 ||
            first.biCompression != kBiRgb) {
            return usage("the first frame must be a 24-bit bottom-up RGB picture");
        }
        WriterStatus status = muxer_.setUpStream(first, frameRate);
        if (!status.ok()) return status;
        width_ = first.biWidth;
        height_ = first.biHeight;
        rowBytes_ = DibRowStride(width_, 24) * static_cast<std::size_t>(height_);
        if (options_.encodeBesideCaller) {
            worker_ = std::thread([this] {
                nameThread("quillfen-write");
                work();
            });
        }
        return status;
    }

    WriterStatus writeSample(std::int64_t index, std::span<const std::uint8_t> rows,
                             SampleFlags flags) override {
        if (rows.size() != rowBytes_) return usage(wrongSize(index));
        FrameImage copy = FrameImage::allocateForOverwrite(rows.size());
        if (!copy) return {WriterFailure::Write, 0, "out of memory"};
        std::memcpy(copy.data(), rows.data(), rows.size());
        return submit(SampleJob{index, shareFrame(std::move(copy)), 0, rows.size(), flags, 24, {}});
    }

    WriterStatus writeSample(std::int64_t index, FrameImage frame, SampleFlags flags) override {
        return writeSample(index, shareFrame(std::move(frame)), flags);
    }

    WriterStatus writeSample(std::int64_t index, SharedFrame frame, SampleFlags flags) override {
        const int bits = frame ? frame->bitCount() : 0;
        const bool plain = frame && frame->header().biCompression == kBiRgb;
        if (!frame || !frame->rowsFit() || frame->width() != width_ || frame->height() != height_ ||
            !plain || (bits != 24 && bits != 32)) {
            return usage(wrongSize(index));
        }
        std::size_t offset = frame->pixelOffset();
        std::size_t length = frame->stride() * static_cast<std::size_t>(height_);
        return submit(SampleJob{index, std::move(frame), offset, length, flags, bits, {}});
    }

    WriterStatus writeSound(std::vector<float> samples) override {
        if (!muxer_.streamReady()) return usage("the stream is not set up");
        SampleJob job;
        job.index = kSoundOnly;
        job.sound = std::move(samples);
        return enqueue(std::move(job));
    }

    WriterStatus close() override {
        stopWorker();
        WriterStatus unreported = reported_ ? WriterStatus::success() : failure_;
        WriterStatus status = muxer_.close();
        failure_ = WriterStatus::success();
        reported_ = false;
        width_ = height_ = 0;
        rowBytes_ = 0;
        lastIndex_ = -1;
        return unreported.ok() ? status : unreported;
    }

    std::int64_t samplesWritten() const override { return muxer_.samplesWritten(); }

  private:
    static std::string wrongSize(std::int64_t index) {
        return "sample " + std::to_string(index) + " does not have the stream's size";
    }

    WriterStatus submit(SampleJob job) {
        if (!muxer_.streamReady()) return usage("the stream is not set up");
        if (job.index <= lastIndex_) {
            return usage("sample " + std::to_string(job.index) + " comes after sample " +
                         std::to_string(lastIndex_));
        }
        lastIndex_ = job.index;
        return enqueue(std::move(job));
    }

    // Samples and sound share one queue, so the worker writes them in the caller's order.
    WriterStatus enqueue(SampleJob job) {
        if (!worker_.joinable()) return write(job);
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return roomFor(job) || !failure_.ok(); });
        if (!failure_.ok()) {
            reported_ = true;
            return failure_;
        }
        queue_.push_back(std::move(job));
        changed_.notify_all();
        return WriterStatus::success();
    }

    bool roomFor(const SampleJob& job) const {
        if (queue_.size() >= kQueuedSamples) return false;
        std::size_t blocks = 0;
        const FrameImage* last = nullptr;
        auto count = [&](const SampleJob& queued) {
            if (!queued.block || queued.block.get() == last) return;
            ++blocks;
            last = queued.block.get();
        };
        for (const SampleJob& queued : queue_)
            count(queued);
        count(job);
        return blocks <= kQueuedBlocks;
    }

    // The worker writes the queued samples in order until told to stop and the queue is
    // empty; after a failure it drops what is left, as the muxer would refuse it anyway.
    void work() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return !queue_.empty() || stopping_; });
            if (queue_.empty()) return;
            SampleJob job = std::move(queue_.front());
            queue_.pop_front();
            bool failed = !failure_.ok();
            lock.unlock();
            WriterStatus status = failed ? WriterStatus::success() : write(job);
            job = SampleJob{};
            lock.lock();
            if (!status.ok() && failure_.ok()) failure_ = status;
            changed_.notify_all();
        }
    }

    WriterStatus write(SampleJob& job) {
        return job.index == kSoundOnly ? muxer_.writeSound(job.sound) : muxer_.writeSample(job);
    }

    void stopWorker() {
        if (!worker_.joinable()) return;
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        worker_.join();
        stopping_ = false;
        queue_.clear();
    }

    FfmpegWriterOptions options_;
    FfmpegSampleMuxer muxer_;
    int width_ = 0;
    int height_ = 0;
    std::size_t rowBytes_ = 0;
    std::int64_t lastIndex_ = -1;

    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<SampleJob> queue_;
    bool stopping_ = false;
    WriterStatus failure_;   // the worker's first failure
    bool reported_ = false;  // whether a writeSample call has returned it
};

}  // namespace

std::unique_ptr<MovieWriter> makeFfmpegMovieWriter(FfmpegWriterOptions options) {
    return std::make_unique<FfmpegMovieWriter>(options);
}

}  // namespace quillfen
