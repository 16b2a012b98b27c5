#include "imaging/stretch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "imaging/area_filter.h"
#include "imaging/bit_fields.h"
#include "imaging/row_split.h"

namespace quillfen {
namespace {

// Weights of one output sample sum to 1 << kWeightBits.
constexpr int kWeightBits = 14;
constexpr int kWeightOne = 1 << kWeightBits;

// Reads source rows (top-down index) of any supported depth as blue-green-red-x bytes.
class RowReader {
  public:
    explicit RowReader(const FrameImage& image) : image_(image) {
        BitmapInfoHeader h = image.header();
        bits_ = h.biBitCount;
        height_ = h.biHeight;
        fields_ = BitFields::of(image);
        int count = DibColorCount(h);
        const std::uint8_t* table = image.colourTable();
        for (int i = 0; i < count; ++i)
            std::memcpy(&palette_[static_cast<std::size_t>(i)], table + 4 * i, 3);
    }

    // Columns [from, to) of picture row y into out (4 bytes per column, from `from` on).
    void read(int y, int from, int to, std::uint8_t* out) const {
        const std::uint8_t* src = image_.row(height_ - 1 - y);
        if (fields_) {
            for (int x = from; x < to; ++x, out += 4) {
                std::uint32_t v = fields_->bgr(src, x, bits_);
                std::memcpy(out, &v, 4);
            }
            return;
        }
        switch (bits_) {
            case 24:
                spreadPixels24(src + 3 * from, to - from, out);
                break;
            case 32:
                for (int x = from; x < to; ++x, out += 4)
                    std::memcpy(out, src + 4 * x, 4);
                break;
            case 16:
                for (int x = from; x < to; ++x, out += 4) {
                    unsigned v = src[2 * x] | (src[2 * x + 1] << 8);
                    out[0] = static_cast<std::uint8_t>((v & 31) << 3);
                    out[1] = static_cast<std::uint8_t>(((v >> 5) & 31) << 3);
                    out[2] = static_cast<std::uint8_t>(((v >> 10) & 31) << 3);
                }
                break;
            default:
                for (int x = from; x < to; ++x, out += 4)
                    std::memcpy(out, &palette_[index(src, x)], 4);
                break;
        }
    }

  private:
    // Palette index of pixel x of an 1, 4 or 8-bit row.
    unsigned index(const std::uint8_t* src, int x) const {
        if (bits_ == 8) return src[x];
        if (bits_ == 4) return (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
        return (src[x >> 3] >> (7 - (x & 7))) & 1;
    }

    const FrameImage& image_;
    int bits_ = 0;
    int height_ = 0;
    std::optional<BitFields> fields_;  // 16 and 32-bit pixels placed by masks
    std::array<std::uint32_t, 256> palette_{};
};

bool readableSource(const FrameImage& image) {
    if (!image.rowsFit()) return false;
    BitmapInfoHeader h = image.header();
    int b = h.biBitCount;
    if (h.biCompression == kBiBitfields) return BitFields::of(image).has_value();
    return h.biCompression == kBiRgb &&
           (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32);
}

// The source samples that make up each output position along one axis, with their weights.
struct AxisTaps {
    int begin = 0, end = 0;   // output positions covered, clipped to the target
    std::vector<int> first;   // per output position: first source index
    std::vector<int> count;   // taps (0: position not written)
    std::vector<int> offset;  // index of the first weight in `weights`
    std::vector<std::uint16_t> weights;
    int minSource = 0, maxSource = -1;  // source indexes used, inclusive
    int maxTaps = 0;
};

// The end of a destination span within the target, summed wide so huge spans cannot overflow.
int destEnd(int destStart, int destSize, int targetSize) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{destStart} + destSize, targetSize));
}

// Output position d of [destStart, destStart + destSize) covers the source interval
// [start + (d - destStart) * scale, ... + scale), clipped to [0, limit).
AxisTaps areaTaps(double start, double size, int destStart, int destSize, int targetSize,
                  int limit) {
    AxisTaps t;
    t.begin = std::max(destStart, 0);
    t.end = destEnd(destStart, destSize, targetSize);
    if (t.end <= t.begin) return t;
    double scale = size / destSize;
    t.minSource = limit;
    for (int d = t.begin; d < t.end; ++d) {
        const double step = static_cast<double>(d) - destStart;  // wide: destStart may be huge
        double a = std::max(start + step * scale, 0.0);
        double b = std::min(start + (step + 1) * scale, static_cast<double>(limit));
        t.offset.push_back(static_cast<int>(t.weights.size()));
        // Checked before any conversion: a share far outside the picture holds no int.
        if (b - a < 1e-9) {
            t.first.push_back(0);
            t.count.push_back(0);
            continue;
        }
        int first = static_cast<int>(std::floor(a));
        t.first.push_back(first);
        int last = std::min(static_cast<int>(std::ceil(b)) - 1, limit - 1);
        int n = last - first + 1;
        int sum = 0, heaviest = 0, heaviestWeight = -1;
        for (int i = first; i <= last; ++i) {
            double cover = std::min(b, i + 1.0) - std::max(a, static_cast<double>(i));
            int w = static_cast<int>(cover / (b - a) * kWeightOne + 0.5);
            t.weights.push_back(static_cast<std::uint16_t>(w));
            sum += w;
            if (w > heaviestWeight) heaviest = i - first, heaviestWeight = w;
        }
        // Rounding must not brighten or darken: the heaviest tap takes the remainder.
        t.weights[static_cast<std::size_t>(t.offset.back() + heaviest)] += kWeightOne - sum;
        t.count.push_back(n);
        t.minSource = std::min(t.minSource, first);
        t.maxSource = std::max(t.maxSource, last);
        t.maxTaps = std::max(t.maxTaps, n);
    }
    return t;
}

// Nearest source index per output position (-1: outside the source).
struct NearestMap {
    int begin = 0, end = 0;
    std::vector<int> source;
    int minSource = 0, maxSource = -1;
};

NearestMap nearestMap(double start, double size, int destStart, int destSize, int targetSize,
                      int limit) {
    NearestMap m;
    m.begin = std::max(destStart, 0);
    m.end = destEnd(destStart, destSize, targetSize);
    double scale = size / destSize;
    m.minSource = limit;
    for (int d = m.begin; d < m.end; ++d) {
        double s = std::floor(start + (static_cast<double>(d) - destStart + 0.5) * scale);
        int i = (s >= 0 && s < limit) ? static_cast<int>(s) : -1;
        m.source.push_back(i);
        if (i >= 0) m.minSource = std::min(m.minSource, i), m.maxSource = std::max(m.maxSource, i);
    }
    return m;
}

void stretchNearest(const RowReader& reader, const SourceWindow& w, const PixelTarget& target,
                    const PixelRect& dest, int sw, int sh) {
    NearestMap cols = nearestMap(w.x, w.width, dest.x, dest.width, target.width, sw);
    NearestMap rows = nearestMap(w.y, w.height, dest.y, dest.height, target.height, sh);
    if (cols.maxSource < 0 || rows.maxSource < 0) return;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(cols.maxSource - cols.minSource + 1) *
                                   4);
    int loaded = -1;
    for (int d = rows.begin; d < rows.end; ++d) {
        int sy = rows.source[static_cast<std::size_t>(d - rows.begin)];
        if (sy < 0) continue;
        if (sy != loaded) reader.read(sy, cols.minSource, cols.maxSource + 1, line.data());
        loaded = sy;
        std::uint8_t* out = target.top + d * target.rowStep;
        for (int x = cols.begin; x < cols.end; ++x) {
            int sx = cols.source[static_cast<std::size_t>(x - cols.begin)];
            if (sx < 0) continue;
            const std::uint8_t* p = &line[static_cast<std::size_t>(sx - cols.minSource) * 4];
            std::uint8_t* q = out + 4 * x;
            q[0] = p[0], q[1] = p[1], q[2] = p[2], q[3] = target.fourth;
        }
    }
}

// Separable area averaging, one output row at a time. Each source row is filtered across once
// (into 8.8 fixed point, four lanes a pixel: blue, green, red and one unused) and kept in a
// small ring while the output rows that need it are made. The kernels (imaging/area_filter.h)
// compute the same integers on every machine, so the pixels do not depend on it.
class AreaStretcher {
  public:
    AreaStretcher(const RowReader& reader, const AxisTaps& cols, const AxisTaps& rows)
        : reader_(reader),
          cols_(cols),
          // Beyond two, a multiple of four, as the faster kernel takes them.
          colTaps_(cols.maxTaps <= 2 ? 2 : (cols.maxTaps + 3) & ~3),
          width_(cols.end - cols.begin),
          ring_(static_cast<std::size_t>(rows.maxTaps)),
          sources_(static_cast<std::size_t>(rows.maxTaps)) {
        padWeights();
        kernel_ = bestFilterKernel();
        findCoveredRuns();
        // Room for the padding taps past the last source pixel; their weight is 0.
        line_.resize(static_cast<std::size_t>(cols_.maxSource - cols_.minSource + 1 + colTaps_) *
                     4);
        for (auto& slot : ring_)
            slot.values.resize(lanes());
    }

    void outputRow(const AxisTaps& rows, int d, const PixelTarget& target) {
        std::size_t i = static_cast<std::size_t>(d - rows.begin);
        int n = rows.count[i];
        if (n == 0) return;
        const std::uint16_t* weights = &rows.weights[static_cast<std::size_t>(rows.offset[i])];
        std::uint8_t* out = target.top + d * target.rowStep + 4 * cols_.begin;
        // The ring holds every row an output row needs at once. Columns without taps (outside
        // the picture) are left as they are.
        for (auto [from, to] : runs_) {
            for (int k = 0; k < n; ++k)
                sources_[static_cast<std::size_t>(k)] = filtered(rows.first[i] + k) + 4 * from;
            blendDown(RowBlend{sources_.data(), weights, n, to - from, target.fourth},
                      out + 4 * from, kernel_);
        }
    }

  private:
    struct Slot {
        int row = -1;
        std::vector<std::uint16_t> values;
    };

    std::size_t lanes() const { return static_cast<std::size_t>(width_) * 4; }

    // Every column gets the same number of taps, the added ones of weight 0, so one
    // branch-free loop filters any column; the sums are the same integers as without them. A
    // column without taps reads the start of the row, at weight 0.
    void padWeights() {
        const auto taps = static_cast<std::size_t>(colTaps_);
        padded_.assign(static_cast<std::size_t>(width_) * taps, 0);
        starts_.assign(static_cast<std::size_t>(width_), 0);
        for (std::size_t i = 0; i < static_cast<std::size_t>(width_); ++i) {
            if (cols_.count[i] == 0) continue;
            std::copy_n(&cols_.weights[static_cast<std::size_t>(cols_.offset[i])], cols_.count[i],
                        &padded_[i * taps]);
            starts_[i] = static_cast<std::uint32_t>(cols_.first[i] - cols_.minSource) * 4;
        }
    }

    // The runs of columns that have taps: one run, the whole width, unless the window
    // reaches past the picture.
    void findCoveredRuns() {
        for (int x = 0; x < width_;) {
            while (x < width_ && cols_.count[static_cast<std::size_t>(x)] == 0)
                ++x;
            const int from = x;
            while (x < width_ && cols_.count[static_cast<std::size_t>(x)] != 0)
                ++x;
            if (x > from) runs_.emplace_back(from, x);
        }
    }

    const std::uint16_t* filtered(int sy) {
        Slot& slot = ring_[static_cast<std::size_t>(sy) % ring_.size()];
        if (slot.row == sy) return slot.values.data();
        slot.row = sy;
        reader_.read(sy, cols_.minSource, cols_.maxSource + 1, line_.data());
        filterAcross(line_.data(), ColumnTaps{starts_.data(), padded_.data(), colTaps_, width_},
                     slot.values.data(), kernel_);
        return slot.values.data();
    }

    const RowReader& reader_;
    const AxisTaps& cols_;
    int colTaps_ = 0;
    int width_ = 0;
    FilterKernel kernel_ = FilterKernel::Plain;
    std::vector<std::uint16_t> padded_;  // colTaps_ weights a column
    std::vector<std::uint32_t> starts_;  // a column's first tap in line_, in bytes
    std::vector<std::uint8_t> line_;
    std::vector<Slot> ring_;
    std::vector<std::pair<int, int>> runs_;      // [from, to) of columns with taps
    std::vector<const std::uint16_t*> sources_;  // the filtered rows of one output row
};

void stretchArea(const RowReader& reader, const SourceWindow& w, const PixelTarget& target,
                 const PixelRect& dest, int sw, int sh) {
    AxisTaps cols = areaTaps(w.x, w.width, dest.x, dest.width, target.width, sw);
    AxisTaps rows = areaTaps(w.y, w.height, dest.y, dest.height, target.height, sh);
    if (cols.maxSource < 0 || rows.maxSource < 0) return;
    // Each half keeps its own cache of filtered source rows; the rows it writes are its own.
    splitRows(rows.begin, rows.end, std::int64_t{rows.end - rows.begin} * (cols.end - cols.begin),
              [&](int first, int last) {
                  AreaStretcher stretcher(reader, cols, rows);
                  for (int d = first; d < last; ++d)
                      stretcher.outputRow(rows, d, target);
              });
}

}  // namespace

bool CanStretch(const FrameImage& source) {
    return readableSource(source);
}

PixelTarget frameTarget(FrameImage& image) {
    BitmapInfoHeader h = image.header();
    if (!image.rowsFit() || h.biBitCount != 32 || h.biCompression != kBiRgb) return {};
    return PixelTarget{image.row(h.biHeight - 1), -static_cast<std::ptrdiff_t>(image.stride()),
                       h.biWidth, h.biHeight, 0};
}

bool StretchInto(const FrameImage& source, const SourceWindow& window, const PixelTarget& target,
                 const PixelRect& dest, StretchMode mode) {
    if (!readableSource(source) || !target.top) return false;
    if (!(window.width > 0) || !(window.height > 0) || dest.width <= 0 || dest.height <= 0)
        return false;
    if (!std::isfinite(window.x + window.y + window.width + window.height)) return false;
    RowReader reader(source);
    if (mode == StretchMode::colorOnColor)
        stretchNearest(reader, window, target, dest, source.width(), source.height());
    else
        stretchArea(reader, window, target, dest, source.width(), source.height());
    return true;
}

}  // namespace quillfen
