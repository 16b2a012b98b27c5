// The area stretch's two kernels give the same integers on awkward widths, tap counts and
// extreme values, so pixels do not depend on the processor. Skipped where there is no AVX2.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/area_filter.h"

namespace quillfen {
namespace {

// `count` weights summing to 1 << 14, the last `unused` of them 0.
std::vector<std::uint16_t> weightsSummingToOne(std::mt19937& random, int count, int unused) {
    std::vector<std::uint16_t> weights(static_cast<std::size_t>(count), 0);
    int left = 1 << 14;
    for (int k = 0; k < count - unused - 1; ++k) {
        weights[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(random() % (left + 1));
        left -= weights[static_cast<std::size_t>(k)];
    }
    weights[static_cast<std::size_t>(count - unused - 1)] = static_cast<std::uint16_t>(left);
    return weights;
}

TEST(AreaFilter, BothKernelsGiveTheSameIntegers) {
    if (bestFilterKernel() != FilterKernel::Avx2) GTEST_SKIP() << "no AVX2 here";
    std::mt19937 random(7);
    for (int taps : {2, 4, 8}) {
        for (int width : {1, 5, 37}) {
            // Across: bytes of every value, columns starting anywhere in the row.
            std::vector<std::uint8_t> line(static_cast<std::size_t>(width + taps) * 4 + 64);
            for (auto& byte : line)
                byte = static_cast<std::uint8_t>(random() % 4 == 0 ? 255 : random());
            std::vector<std::uint32_t> starts;
            std::vector<std::uint16_t> weights;
            for (int c = 0; c < width; ++c) {
                starts.push_back(static_cast<std::uint32_t>(random() % (width + 1)) * 4);
                auto w = weightsSummingToOne(random, taps, c % 2);
                weights.insert(weights.end(), w.begin(), w.end());
            }
            const ColumnTaps columns{starts.data(), weights.data(), taps, width};
            std::vector<std::uint16_t> plain(static_cast<std::size_t>(width) * 4);
            std::vector<std::uint16_t> avx2(plain.size());
            filterAcross(line.data(), columns, plain.data(), FilterKernel::Plain);
            filterAcross(line.data(), columns, avx2.data(), FilterKernel::Avx2);
            EXPECT_EQ(plain, avx2) << taps << " taps, " << width << " columns";

            // Down: filtered rows up to their largest value.
            std::vector<std::vector<std::uint16_t>> rows(static_cast<std::size_t>(taps));
            std::vector<const std::uint16_t*> pointers;
            for (auto& row : rows) {
                for (int lane = 0; lane < width * 4; ++lane)
                    row.push_back(
                        static_cast<std::uint16_t>(random() % 3 ? random() % 65281 : 65280));
                pointers.push_back(row.data());
            }
            auto down = weightsSummingToOne(random, taps, 0);
            const RowBlend blend{pointers.data(), down.data(), taps, width, 0xA5};
            std::vector<std::uint8_t> plainOut(static_cast<std::size_t>(width) * 4);
            std::vector<std::uint8_t> avx2Out(plainOut.size());
            blendDown(blend, plainOut.data(), FilterKernel::Plain);
            blendDown(blend, avx2Out.data(), FilterKernel::Avx2);
            EXPECT_EQ(plainOut, avx2Out) << taps << " taps, " << width << " pixels";
        }
    }
}

}  // namespace
}  // namespace quillfen
