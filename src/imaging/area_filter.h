#pragma once
// The two passes of the area stretch: across, one source row filtered into every output
// column; down, the filtered rows blended into one output row. Two kernels give the same
// integers: a plain one (SSE2 where the compiler has it) and an AVX2 one for processors that
// have it, chosen at run time.

#include <cstdint>

namespace quillfen {

/// Where each output column takes its taps from, for one source row.
struct ColumnTaps {
    /// Per column: the byte offset of its first tap in the row (four bytes a pixel).
    const std::uint32_t* starts = nullptr;
    /// Per column: `taps` weights summing to 1 << 14; unused taps weigh 0.
    const std::uint16_t* weights = nullptr;
    /// Taps a column: even; the AVX2 kernel takes a multiple of four (else the plain one runs).
    int taps = 0;
    int width = 0;  // output columns
};

enum class FilterKernel { Plain, Avx2 };

/// The fastest kernel this processor has.
FilterKernel bestFilterKernel();

/// Copies `count` 24-bit pixels to four bytes each, the fourth left as it falls: the row
/// the across pass reads.
void spreadPixels24(const std::uint8_t* pixels, int count, std::uint8_t* out);

/// Filters the row `line` (blue, green, red and an unused byte a pixel, readable for `taps`
/// pixels from every column's start) into `out`, four 8.8 fixed-point lanes a column:
/// out[4c + lane] = (sum over k of line[start(c) + 4k + lane] * weight(c, k) + 32) >> 6.
void filterAcross(const std::uint8_t* line, const ColumnTaps& columns, std::uint16_t* out,
                  FilterKernel kernel);

/// One output row from filtered rows (see filterAcross).
struct RowBlend {
    const std::uint16_t* const* rows = nullptr;  // `taps` filtered rows
    const std::uint16_t* weights = nullptr;      // one a row, summing to 1 << 14
    int taps = 0;
    int width = 0;  // output pixels, every one of them with taps
    std::uint8_t fourth = 0;
};

/// Blends the rows into `out`, four bytes a pixel: blue, green and red rounded from
/// (sum over k of rows[k][4c + lane] * weights[k]) >> 22, then `fourth`.
void blendDown(const RowBlend& blend, std::uint8_t* out, FilterKernel kernel);

}  // namespace quillfen
