#include "imaging/area_filter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "imaging/cpu_features.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define QUILLFEN_AVX2 1
#endif

namespace quillfen {
namespace {

// One column from `taps` source pixels: 255 << 14 >> 6 still fits 16 bits and keeps 8
// fraction bits.
void filterColumn(const std::uint8_t* p, const std::uint16_t* w, int taps, std::uint16_t* out) {
#if defined(__SSE2__)
    // Two taps a step: each channel of the two pixels side by side, times the two weights.
    const __m128i zero = _mm_setzero_si128();
    __m128i sum = zero;
    for (int k = 0; k < taps; k += 2, p += 8) {
        __m128i wide =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
        __m128i pairs = _mm_unpacklo_epi16(wide, _mm_srli_si128(wide, 8));
        std::int32_t pair;  // w[k] in the low half, w[k + 1] in the high one
        std::memcpy(&pair, w + k, 4);
        __m128i weights = _mm_set1_epi32(pair);
        sum = _mm_add_epi32(sum, _mm_madd_epi16(pairs, weights));
    }
    sum = _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(32)), 6);
    // Unsigned 16-bit narrowing from signed saturation: shift the range down and back.
    const __m128i half = _mm_set1_epi32(0x8000);
    __m128i packed = _mm_packs_epi32(_mm_sub_epi32(sum, half), zero);
    packed = _mm_xor_si128(packed, _mm_set1_epi16(static_cast<short>(0x8000)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
#else
    std::uint32_t sum[4] = {};
    for (int k = 0; k < taps; ++k, p += 4)
        for (int c = 0; c < 4; ++c)
            sum[c] += p[c] * std::uint32_t{w[k]};
    for (int c = 0; c < 4; ++c)
        out[c] = static_cast<std::uint16_t>((sum[c] + 32) >> 6);
#endif
}

// Columns [first, width). Taps: columns.taps, or 0 for "as many as columns.taps says"; the
// common counts get loops of a fixed length, which the compiler unrolls.
template <int Taps>
void filterColumns(const std::uint8_t* line, const ColumnTaps& columns, int first,
                   std::uint16_t* out) {
    const auto taps = static_cast<std::size_t>(Taps ? Taps : columns.taps);
    for (auto c = static_cast<std::size_t>(first); c < static_cast<std::size_t>(columns.width); ++c)
        filterColumn(line + columns.starts[c], columns.weights + c * taps, static_cast<int>(taps),
                     out + 4 * c);
}

void filterPlain(const std::uint8_t* line, const ColumnTaps& columns, int first,
                 std::uint16_t* out) {
    switch (columns.taps) {
        case 2:
            return filterColumns<2>(line, columns, first, out);
        case 4:
            return filterColumns<4>(line, columns, first, out);
        default:
            return filterColumns<0>(line, columns, first, out);
    }
}

#if defined(QUILLFEN_AVX2)
// Two columns side by side, c in the low half and c + 1 in the high one, four taps a step.
// Four pixels b g r x become blue and green, then red and the fourth lane, each as four
// 16-bit samples, so that one multiply-add pairs two taps with their weights; adding the
// neighbouring sums then leaves the column's b g r x.
__attribute__((target("avx2"), always_inline)) inline __m256i filterPair(const std::uint8_t* line,
                                                                         const ColumnTaps& columns,
                                                                         std::size_t c) {
    const __m256i blueGreen =
        _mm256_setr_epi8(0, -1, 4, -1, 8, -1, 12, -1, 1, -1, 5, -1, 9, -1, 13, -1, 0, -1, 4, -1, 8,
                         -1, 12, -1, 1, -1, 5, -1, 9, -1, 13, -1);
    const __m256i redFourth =
        _mm256_setr_epi8(2, -1, 6, -1, 10, -1, 14, -1, 3, -1, 7, -1, 11, -1, 15, -1, 2, -1, 6, -1,
                         10, -1, 14, -1, 3, -1, 7, -1, 11, -1, 15, -1);
    const auto taps = static_cast<std::size_t>(columns.taps);
    const std::uint8_t* p0 = line + columns.starts[c];
    const std::uint8_t* p1 = line + columns.starts[c + 1];
    const std::uint16_t* w0 = columns.weights + c * taps;
    const std::uint16_t* w1 = w0 + taps;
    __m256i bg = _mm256_setzero_si256(), rx = _mm256_setzero_si256();
    for (std::size_t k = 0; k < taps; k += 4) {
        __m256i pixels = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p0 + 4 * k))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p1 + 4 * k)), 1);
        std::int64_t four0, four1;  // four weights, used for both pairs of lanes
        std::memcpy(&four0, w0 + k, 8);
        std::memcpy(&four1, w1 + k, 8);
        __m256i weights = _mm256_setr_epi64x(four0, four0, four1, four1);
        bg = _mm256_add_epi32(bg,
                              _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, blueGreen), weights));
        rx = _mm256_add_epi32(rx,
                              _mm256_madd_epi16(_mm256_shuffle_epi8(pixels, redFourth), weights));
    }
    return _mm256_srli_epi32(_mm256_add_epi32(_mm256_hadd_epi32(bg, rx), _mm256_set1_epi32(32)), 6);
}

// Four columns a step; returns how many it did, the rest are the caller's.
__attribute__((target("avx2"))) int filterAvx2(const std::uint8_t* line, const ColumnTaps& columns,
                                               std::uint16_t* out) {
    int c = 0;
    for (; c + 4 <= columns.width; c += 4) {
        const auto at = static_cast<std::size_t>(c);
        // Packing works within halves (c, c + 2 | c + 1, c + 3); the permute puts them in order.
        __m256i packed =
            _mm256_packus_epi32(filterPair(line, columns, at), filterPair(line, columns, at + 2));
        packed = _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * at), packed);
    }
    return c;
}
#endif

constexpr int kDownShift = 14 + 8;  // the weight bits and the fraction bits of the rows
constexpr std::uint32_t kDownRound = 1u << (kDownShift - 1);

// Pixels [first, width) of the down pass, two at a time where SSE2 is there.
void blendPlain(const RowBlend& b, int first, std::uint8_t* out) {
    int c = first;
#if defined(__SSE2__)
    const __m128i round = _mm_set1_epi32(static_cast<int>(kDownRound));
    const __m128i colour = _mm_set1_epi32(0x00FFFFFF);
    const __m128i alpha = _mm_set1_epi32(static_cast<int>(std::uint32_t{b.fourth} << 24));
    for (; c + 2 <= b.width; c += 2) {
        // 16 x 16 to 32-bit products from their low and high halves.
        __m128i sum0 = round, sum1 = round;
        for (int k = 0; k < b.taps; ++k) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b.rows[k] + 4 * c));
            const __m128i w = _mm_set1_epi16(static_cast<short>(b.weights[k]));
            __m128i lo = _mm_mullo_epi16(v, w), hi = _mm_mulhi_epu16(v, w);
            sum0 = _mm_add_epi32(sum0, _mm_unpacklo_epi16(lo, hi));
            sum1 = _mm_add_epi32(sum1, _mm_unpackhi_epi16(lo, hi));
        }
        sum0 = _mm_srli_epi32(sum0, kDownShift);
        sum1 = _mm_srli_epi32(sum1, kDownShift);
        // Packing with unsigned saturation is the clamp to 255.
        __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sum0, sum1), sum0);
        bytes = _mm_or_si128(_mm_and_si128(bytes, colour), alpha);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 4 * c), bytes);
    }
#endif
    for (; c < b.width; ++c) {
        for (int lane = 0; lane < 3; ++lane) {
            std::uint32_t sum = kDownRound;
            for (int k = 0; k < b.taps; ++k)
                sum += b.rows[k][4 * c + lane] * std::uint32_t{b.weights[k]};
            out[4 * c + lane] =
                static_cast<std::uint8_t>(std::min<std::uint32_t>(sum >> kDownShift, 255));
        }
        out[4 * c + 3] = b.fourth;
    }
}

#if defined(QUILLFEN_AVX2)
// Four pixels a step; returns how many it did.
__attribute__((target("avx2"))) int blendAvx2(const RowBlend& b, std::uint8_t* out) {
    const __m256i round = _mm256_set1_epi32(static_cast<int>(kDownRound));
    const __m256i colour = _mm256_set1_epi32(0x00FFFFFF);
    const __m256i alpha = _mm256_set1_epi32(static_cast<int>(std::uint32_t{b.fourth} << 24));
    int c = 0;
    for (; c + 4 <= b.width; c += 4) {
        // The halves hold pixels c, c + 1 and c + 2, c + 3; unpacking works within them.
        __m256i sum0 = round, sum1 = round;
        for (int k = 0; k < b.taps; ++k) {
            __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b.rows[k] + 4 * c));
            const __m256i w = _mm256_set1_epi16(static_cast<short>(b.weights[k]));
            __m256i lo = _mm256_mullo_epi16(v, w), hi = _mm256_mulhi_epu16(v, w);
            sum0 = _mm256_add_epi32(sum0, _mm256_unpacklo_epi16(lo, hi));  // c | c + 2
            sum1 = _mm256_add_epi32(sum1, _mm256_unpackhi_epi16(lo, hi));  // c + 1 | c + 3
        }
        sum0 = _mm256_srli_epi32(sum0, kDownShift);
        sum1 = _mm256_srli_epi32(sum1, kDownShift);
        __m256i words = _mm256_packs_epi32(sum0, sum1);  // c, c + 1 | c + 2, c + 3
        __m256i bytes = _mm256_packus_epi16(words, words);
        bytes = _mm256_permute4x64_epi64(bytes, _MM_SHUFFLE(3, 1, 2, 0));
        bytes = _mm256_or_si256(_mm256_and_si256(bytes, colour), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * c), _mm256_castsi256_si128(bytes));
    }
    return c;
}

// Four pixels a step, on any processor with AVX2 (it has SSSE3); returns how many it did. A
// load takes 16 bytes for the 12 it uses, so it stops while 16 remain.
__attribute__((target("ssse3"))) int spreadSsse3(const std::uint8_t* pixels, int count,
                                                 std::uint8_t* out) {
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    int x = 0;
    for (; 3 * x + 16 <= 3 * count; x += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x), _mm_shuffle_epi8(v, spread));
    }
    return x;
}
#endif

}  // namespace

void spreadPixels24(const std::uint8_t* pixels, int count, std::uint8_t* out) {
    int x = 0;
#if defined(QUILLFEN_AVX2)
    if (cpuHasAvx2()) x = spreadSsse3(pixels, count, out);
#endif
    // Four bytes at once wherever the row has a fourth: the fourth lane is never used, so
    // what lands there does not matter.
    for (; x + 1 < count; ++x)
        std::memcpy(out + 4 * x, pixels + 3 * x, 4);
    if (x < count) std::memcpy(out + 4 * x, pixels + 3 * x, 3);
}

FilterKernel bestFilterKernel() {
#if defined(QUILLFEN_AVX2)
    if (cpuHasAvx2()) return FilterKernel::Avx2;
#endif
    return FilterKernel::Plain;
}

void blendDown(const RowBlend& blend, std::uint8_t* out, FilterKernel kernel) {
    int done = 0;
#if defined(QUILLFEN_AVX2)
    if (kernel == FilterKernel::Avx2) done = blendAvx2(blend, out);
#endif
    (void)kernel;
    blendPlain(blend, done, out);
}

void filterAcross(const std::uint8_t* line, const ColumnTaps& columns, std::uint16_t* out,
                  FilterKernel kernel) {
    int done = 0;
#if defined(QUILLFEN_AVX2)
    if (kernel == FilterKernel::Avx2 && columns.taps % 4 == 0)
        done = filterAvx2(line, columns, out);
#endif
    (void)kernel;
    filterPlain(line, columns, done, out);
}

}  // namespace quillfen
