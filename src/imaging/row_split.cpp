#include "imaging/row_split.h"

#include <system_error>
#include <thread>

namespace quillfen {

void splitRows(int begin, int end, std::int64_t pixels, const std::function<void(int, int)>& work) {
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    if (end - begin < 2 || pixels < kSplitMinimumPixels || !twoCores) {
        if (end > begin) work(begin, end);
        return;
    }
    const int middle = begin + (end - begin) / 2;
    std::thread helper;
    try {
        helper = std::thread([&] { work(middle, end); });
    } catch (const std::system_error&) {
        work(begin, end);  // no thread to be had: one call does it all
        return;
    }
    work(begin, middle);
    helper.join();
}

}  // namespace quillfen
