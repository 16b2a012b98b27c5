// Pan and zoom: the cost of one 1920x1080 frame from a 4000x3000 picture, and how evenly a
// slow pan moves. The motion measurement follows a marked feature (a bright spot on a flat
// field) through every frame of a 20-second move, takes the centroid of the spot as the
// content's position, and reports the largest frame-to-frame change of its velocity in
// output pixels, once on whole picture pixels and once with sub-pixel sampling.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "imaging/bmp_reader.h"
#include "imaging/dib_ops.h"
#include "timeline/kbe_element.h"

namespace quillfen {
namespace {

constexpr int kPictureWidth = 4000;
constexpr int kPictureHeight = 3000;
constexpr int kField = 40;
constexpr double kSpotX = 2000, kSpotY = 1500;

// The 4000x3000 picture with the spot, written once and removed at exit.
class SpotPicture {
  public:
    SpotPicture() {
        folder_ = (std::filesystem::temp_directory_path() / "quillfen-kbe-bench").string();
        std::filesystem::create_directories(folder_);
        FrameImage picture =
            DibCreateBlank(kPictureWidth, kPictureHeight, 24, makeColour(kField, kField, kField));
        for (int y = 1400; y < 1600; ++y) {
            std::uint8_t* row = picture.row(kPictureHeight - 1 - y);
            for (int x = 1900; x < 2100; ++x) {
                double r2 = (x + 0.5 - kSpotX) * (x + 0.5 - kSpotX) +
                            (y + 0.5 - kSpotY) * (y + 0.5 - kSpotY);
                int v = kField + static_cast<int>(200 * std::exp(-r2 / (2 * 12.0 * 12.0)) + 0.5);
                std::fill_n(row + 3 * x, 3, static_cast<std::uint8_t>(v));
            }
        }
        WriteBmpFile(picture, folder_ + "/spot.bmp");
    }
    ~SpotPicture() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& folder() const { return folder_; }

  private:
    std::string folder_;
};

const SpotPicture& spotPicture() {
    static const SpotPicture picture;
    return picture;
}

MovieSettings outputSettings(bool smooth) {
    MovieSettings settings;
    settings.scriptFolder = spotPicture().folder();
    settings.resizeWidth = 1920;
    settings.resizeHeight = 1080;
    settings.stereo = 0;
    settings.smoothMotion = smooth;
    return settings;
}

void BM_KbeFrame(benchmark::State& state) {
    MovieSettings settings = outputSettings(state.range(0) != 0);
    // A zoom from the whole picture to its middle half over 1000 seconds: frames never run out.
    KbeElement kbe(0, settings, "spot.bmp|0,0,4000,0,0|1000,750,2000,0,0|1000");
    FrameImage frame = kbe.nextFrame();  // the picture is read on the first frame
    for (auto _ : state) {
        frame = kbe.nextFrame();
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetLabel(state.range(0) ? "smooth" : "whole pixels");
}
BENCHMARK(BM_KbeFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct Point {
    double x = 0, y = 0;
};

// The centroid of the spot: every pixel's brightness above the flat field as its weight.
Point spotCentre(const FrameImage& frame) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < frame.height(); ++y) {
        const std::uint8_t* row = frame.row(frame.height() - 1 - y);
        for (int x = 0; x < frame.width(); ++x) {
            int w = row[4 * x + 1] - kField;
            if (w <= 0) continue;
            sum += w;
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
        }
    }
    return sum > 0 ? Point{sx / sum, sy / sum} : Point{};
}

// The largest change of the content's velocity from one frame to the next while the window
// moves. Frames that repeat a step (the holds, and the last frame of a move without a start
// hold, which stops one step short) are left out: they stand still on purpose.
double largestVelocityChange(const char* parameters, bool smooth) {
    MovieSettings settings = outputSettings(smooth);
    KbeElement kbe(0, settings, parameters);
    Point previous{}, velocity{};
    int moves = 0;  // consecutive frames that advanced a step
    double largest = 0;
    while (kbe.nbFrames() > 0) {
        int step = kbe.stepIndex;
        Point centre = spotCentre(kbe.nextFrame());
        Point v{centre.x - previous.x, centre.y - previous.y};
        moves = kbe.stepIndex != step ? moves + 1 : 0;
        if (moves >= 2) largest = std::max(largest, std::hypot(v.x - velocity.x, v.y - velocity.y));
        previous = centre;
        velocity = v;
    }
    return largest;
}

// 20 seconds of movement after a start hold of 2 frames (500 steps). The pan moves 800 picture
// pixels under a window 3200 wide (about 0.96 output pixels a frame); the second move also zooms
// in.
constexpr const char* kPan = "spot.bmp|0,600,3200,0,0.08|800,600,3200,0,0|20";
constexpr const char* kPanZoom = "spot.bmp|0,600,3200,0,0.08|1000,900,2400,0,0|20";

void BM_KbeMotionQuality(benchmark::State& state) {
    for (auto _ : state) {
        state.counters["pan_whole_px"] = largestVelocityChange(kPan, false);
        state.counters["pan_smooth_px"] = largestVelocityChange(kPan, true);
        state.counters["panzoom_whole_px"] = largestVelocityChange(kPanZoom, false);
        state.counters["panzoom_smooth_px"] = largestVelocityChange(kPanZoom, true);
    }
}
BENCHMARK(BM_KbeMotionQuality)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace quillfen
