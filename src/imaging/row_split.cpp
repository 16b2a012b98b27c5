#include "imaging/row_split.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

#include "base/helper_threads.h"

namespace quillfen {

namespace {

// Enough pieces that neither thread waits long for the other at the end, few enough that
// what a piece repeats at its edges (a stretch's shared source rows) stays small.
constexpr int kPieces = 8;

}  // namespace

void splitRows(int begin, int end, std::int64_t pixels, const std::function<void(int, int)>& work) {
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    if (end - begin < 2 || pixels < kSplitMinimumPixels || !twoCores) {
        if (end > begin) work(begin, end);
        return;
    }
    const int rows = end - begin;
    const int pieces = std::min(kPieces, rows);
    std::atomic<int> next = 0;
    auto takePieces = [&] {
        for (int i = next++; i < pieces; i = next++)
            work(begin + rows * i / pieces, begin + rows * (i + 1) / pieces);
    };
    std::thread helper;
    try {
        helper = std::thread([&] {
            nameThread("quillfen-rows");
            lowerThreadPriority();
            takePieces();
        });
    } catch (const std::system_error&) {
        // No thread to be had: the caller takes every piece.
    }
    takePieces();
    if (helper.joinable()) helper.join();
}

}  // namespace quillfen
