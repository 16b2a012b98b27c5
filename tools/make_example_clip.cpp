// make-example-clip OUT.avi: a short video clip for the examples, written with Quillfen's own
// movie writer (no downloads): 3 seconds at 25 frames per second, 640x360, a ball crossing a
// sky-to-sea gradient with the frame number shown as a bar of blocks along the bottom.

#include <cmath>
#include <cstdio>
#include <string>

#include "imaging/frame_image.h"
#include "media/codec_catalogue.h"
#include "media/ffmpeg_movie_writer.h"

namespace {

using quillfen::FrameImage;

constexpr int kWidth = 640;
constexpr int kHeight = 360;
constexpr int kFrames = 75;
constexpr double kRate = 25.0;

void putPixel(FrameImage& frame, int x, int topY, int r, int g, int b) {
    std::uint8_t* p = frame.row(kHeight - 1 - topY) + 3 * x;
    p[0] = static_cast<std::uint8_t>(b);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(r);
}

FrameImage drawFrame(int index) {
    FrameImage frame = FrameImage::create(kWidth, kHeight, 24);
    double t = static_cast<double>(index) / (kFrames - 1);
    int ballX = static_cast<int>(60 + t * (kWidth - 120));
    int ballY = static_cast<int>(kHeight * 0.45 - std::sin(t * 3.14159) * 110);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            bool sea = y > kHeight * 2 / 3;
            int r = sea ? 20 : 120 + y / 3, g = sea ? 70 + y / 8 : 170 + y / 4, b = sea ? 140 : 235;
            int dx = x - ballX, dy = y - ballY;
            if (dx * dx + dy * dy < 36 * 36) r = 240, g = 120, b = 30;
            bool block = y >= kHeight - 16 && y < kHeight - 6 && x / 8 < index && x % 8 < 6;
            if (block) r = g = b = 250;
            putPixel(frame, x, y, r, g, b);
        }
    }
    return frame;
}

}  // namespace

int main(int argc, char** argv) {
    // A codec may be named, so that tests get a clip that no encoder change can alter.
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make-example-clip OUT.avi [CODEC]\n");
        return 2;
    }
    std::string path = argv[1];
    auto container = quillfen::containerForPath(path);
    if (!container) {
        std::fprintf(stderr, "make-example-clip: '%s' is not a movie file name\n", path.c_str());
        return 2;
    }
    std::string_view codec = argc == 3 ? argv[2] : quillfen::defaultCodecName(*container);
    auto choice = quillfen::defaultCodecChoice(codec);
    auto writer = quillfen::makeFfmpegMovieWriter();
    quillfen::WriterStatus status = writer->open(path, choice);
    for (int i = 0; status.ok() && i < kFrames; ++i) {
        FrameImage frame = drawFrame(i);
        if (i == 0) status = writer->setUpStream(frame.header(), kRate);
        if (status.ok()) status = writer->writeSample(i, std::move(frame), {.key = i == 0});
    }
    quillfen::WriterStatus closed = writer->close();
    if (!status.ok() || !closed.ok()) {
        const std::string& reason = status.ok() ? closed.reason : status.reason;
        std::fprintf(stderr, "make-example-clip: cannot write '%s': %s\n", path.c_str(),
                     reason.c_str());
        return 1;
    }
    return 0;
}
