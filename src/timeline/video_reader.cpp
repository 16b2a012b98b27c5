#include "timeline/video_reader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "media/video_decoder.h"
#include "timeline/video_event.h"
#include "timeline/video_thinning.h"

namespace quillfen {

namespace {

constexpr double kUnitsPerSecond = 1e7;  // 100-nanosecond units

VideoEnd endFor(VideoReadStatus status) {
    switch (status) {
        case VideoReadStatus::EndOfClip:
            return VideoEnd::EndOfClip;
        case VideoReadStatus::Failed:
            return VideoEnd::Failed;
        default:
            return VideoEnd::Closed;
    }
}

/// Frames missing between two samples: the rounded number of frame durations between them,
/// less one. A timestamp running backwards or a zero duration misses none.
std::int32_t missingFrames(double previousTime, double time, double frameDuration) {
    if (frameDuration <= 0.0) return 0;
    const double steps = std::trunc((time - previousTime) / frameDuration + 0.5) - 1.0;
    if (!(steps > 0.0)) return 0;
    return static_cast<std::int32_t>(
        std::min(steps, static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

}  // namespace

class VideoReader::Impl {
  public:
    explicit Impl(std::unique_ptr<VideoSampleSource> source) : source_(std::move(source)) {
        if (!source_) {
            end_ = VideoEnd::Closed;
            return;
        }
        info_ = source_->info();
        frameDuration_ = static_cast<double>(info_.averageFrameTime) / kUnitsPerSecond;
        header_.biWidth = info_.width;
        header_.biHeight = info_.height;
        header_.biBitCount = 24;
        header_.biSizeImage =
            static_cast<std::uint32_t>(DibRowStride(info_.width, 24) * std::max(info_.height, 0));
    }
    ~Impl() { close(); }

    bool isOpen() const { return source_ != nullptr; }
    const VideoClipInfo& info() const { return info_; }
    double clipFrameRate() const {
        if (info_.frameRate > 0.0) return info_.frameRate;
        return info_.averageFrameTime > 0 ? kUnitsPerSecond / info_.averageFrameTime : 0.0;
    }
    std::int32_t setMovieFrameRate(double movieFrameRate) {
        // The pattern belongs to the decoder thread once it runs.
        if (!started_) thinning_ = ThinningPattern::forRates(movieFrameRate, clipFrameRate());
        return ThinningPattern::frameCount(info_.clipFrameCount, movieFrameRate, clipFrameRate());
    }
    const ThinningPattern& thinning() const { return thinning_; }
    void setWaitLimit(std::chrono::milliseconds limit) { waitLimit_ = limit; }

    FrameImage nextFrame();
    VideoEnd endReason() const { return end_; }
    std::string failureText() const {
        std::lock_guard lock(slotMutex_);
        return failure_;
    }
    std::int32_t repeatedFrames() const { return repeatedFrames_.load(); }
    std::int32_t handledSamples() const { return handledSamples_.load(); }
    void close();

  private:
    void run();
    bool handleSample(VideoSample& sample);
    bool deliver(const std::vector<std::uint8_t>& pixels, std::size_t bytes);
    void finish(VideoReadStatus status);

    std::unique_ptr<VideoSampleSource> source_;
    VideoClipInfo info_;
    BitmapInfoHeader header_;
    double frameDuration_ = 0.0;
    ThinningPattern thinning_;
    std::chrono::milliseconds waitLimit_ = kDefaultWaitLimit;

    // The requesting thread's side.
    std::thread decoder_;
    bool started_ = false;
    VideoEnd end_ = VideoEnd::None;

    // The hand-over.
    AutoResetEvent continueEvent_;
    AutoResetEvent frameReadyEvent_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex slotMutex_;  // a late frame after a time-out must not race the reader
    FrameImage pendingFrame_;
    VideoEnd decoderEnd_ = VideoEnd::None;
    std::string failure_;

    // The decoder thread's side.
    std::optional<double> previousSampleTime_;
    std::vector<std::uint8_t> previousPixels_;
    std::size_t previousBytes_ = 0;
    std::atomic<std::int32_t> repeatedFrames_{0};
    std::atomic<std::int32_t> handledSamples_{0};
};

FrameImage VideoReader::Impl::nextFrame() {
    if (end_ != VideoEnd::None) return {};
    if (!started_) {
        started_ = true;
        decoder_ = std::thread(&Impl::run, this);
    } else {
        continueEvent_.signal();
    }
    if (!frameReadyEvent_.waitFor(waitLimit_)) {
        end_ = VideoEnd::Stalled;
        return {};
    }
    std::lock_guard lock(slotMutex_);
    if (pendingFrame_) return std::exchange(pendingFrame_, FrameImage{});
    end_ = decoderEnd_ == VideoEnd::None ? VideoEnd::Closed : decoderEnd_;
    return {};
}

void VideoReader::Impl::close() {
    stopping_.store(true);
    if (source_) source_->interrupt();
    frameReadyEvent_.signal();
    continueEvent_.signal();
    if (decoder_.joinable()) decoder_.join();
    source_.reset();
    pendingFrame_.reset();
    previousPixels_ = {};
    if (end_ == VideoEnd::None) end_ = VideoEnd::Closed;
}

void VideoReader::Impl::run() {
    // An exception leaving this thread would end the program: a clip too large for memory
    // ends the Element instead.
    try {
        VideoSample sample;
        while (!stopping_.load()) {
            const VideoReadStatus status = source_->read(sample);
            if (status != VideoReadStatus::Frame) {
                finish(status);
                return;
            }
            if (!handleSample(sample)) return;
        }
    } catch (const std::bad_alloc&) {
        finish(VideoReadStatus::Failed);
    }
}

bool VideoReader::Impl::handleSample(VideoSample& sample) {
    if (previousSampleTime_) {
        const std::int32_t missing =
            missingFrames(*previousSampleTime_, sample.time, frameDuration_);
        repeatedFrames_.fetch_add(missing);
        for (std::int32_t i = 0; i < missing; ++i)
            if (!deliver(previousPixels_, previousBytes_)) return false;
    }
    if (!deliver(sample.pixels, sample.imageBytes)) return false;
    previousSampleTime_ = sample.time;
    // The source refills whatever buffer it gets back, so a swap stands in for a copy.
    std::swap(previousPixels_, sample.pixels);
    previousBytes_ = sample.imageBytes;
    return true;
}

bool VideoReader::Impl::deliver(const std::vector<std::uint8_t>& pixels, std::size_t bytes) {
    if (!thinning_.pass()) {
        handledSamples_.fetch_add(1);
        return !stopping_.load();
    }
    FrameImage image = FrameImage::allocateForOverwrite(sizeof(BitmapInfoHeader) + bytes);
    if (!image) {
        finish(VideoReadStatus::Failed);
        return false;
    }
    image.setHeader(header_);
    std::memcpy(image.data() + sizeof(BitmapInfoHeader), pixels.data(),
                std::min(bytes, pixels.size()));
    {
        std::lock_guard lock(slotMutex_);
        pendingFrame_ = std::move(image);
    }
    frameReadyEvent_.signal();
    continueEvent_.wait();
    handledSamples_.fetch_add(1);
    return !stopping_.load();
}

void VideoReader::Impl::finish(VideoReadStatus status) {
    {
        std::lock_guard lock(slotMutex_);
        decoderEnd_ = endFor(status);
        failure_ = source_->failure();
        if (status == VideoReadStatus::Failed && failure_.empty()) failure_ = "out of memory";
    }
    frameReadyEvent_.signal();
}

VideoReader::VideoReader() : impl_(std::make_unique<Impl>(nullptr)) {}
VideoReader::~VideoReader() = default;
VideoReader::VideoReader(VideoReader&&) noexcept = default;
VideoReader& VideoReader::operator=(VideoReader&&) noexcept = default;

std::uint32_t VideoReader::open(const std::string& path) {
    std::uint32_t errorCode = 0;
    impl_ = std::make_unique<Impl>(openVideoClip(path, errorCode));
    return errorCode;
}

void VideoReader::open(std::unique_ptr<VideoSampleSource> source) {
    impl_ = std::make_unique<Impl>(std::move(source));
}

namespace {
const VideoClipInfo kNoClip{};
}

bool VideoReader::isOpen() const {
    return impl_ && impl_->isOpen();
}
const VideoClipInfo& VideoReader::info() const {
    return impl_ ? impl_->info() : kNoClip;
}
double VideoReader::clipFrameRate() const {
    return impl_ ? impl_->clipFrameRate() : 0.0;
}
std::int32_t VideoReader::setMovieFrameRate(double movieFrameRate) {
    return impl_ ? impl_->setMovieFrameRate(movieFrameRate) : 0;
}
std::int32_t VideoReader::keepCycle() const {
    return impl_ ? impl_->thinning().keepCycle() : 1;
}
std::int32_t VideoReader::keepCount() const {
    return impl_ ? impl_->thinning().keepCount() : 1;
}
void VideoReader::setWaitLimit(std::chrono::milliseconds limit) {
    if (impl_) impl_->setWaitLimit(limit);
}
FrameImage VideoReader::nextFrame() {
    return impl_ ? impl_->nextFrame() : FrameImage{};
}
VideoEnd VideoReader::endReason() const {
    return impl_ ? impl_->endReason() : VideoEnd::Closed;
}
std::string VideoReader::failureText() const {
    return impl_ ? impl_->failureText() : "";
}
std::int32_t VideoReader::repeatedFrames() const {
    return impl_ ? impl_->repeatedFrames() : 0;
}
std::int32_t VideoReader::handledSamples() const {
    return impl_ ? impl_->handledSamples() : 0;
}
void VideoReader::close() {
    if (impl_) impl_->close();
}

const char* describeVideoEnd(VideoEnd reason) {
    switch (reason) {
        case VideoEnd::None:
            return "frames are still coming";
        case VideoEnd::EndOfClip:
            return "the clip has no more frames";
        case VideoEnd::Failed:
            return "the clip cannot be decoded further";
        case VideoEnd::Stalled:
            return "the decoder stopped delivering frames";
        case VideoEnd::Closed:
            return "the clip is closed";
    }
    return "";
}

}  // namespace quillfen
