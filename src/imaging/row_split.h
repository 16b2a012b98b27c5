#pragma once
// Splitting a row-wise kernel over the machine's second core: the caller works on the lower
// rows while one helper thread works on the upper rows. Each row is written by exactly one
// of the two calls, so the result is the same as one call over every row.

#include <cstdint>
#include <functional>

namespace quillfen {

/// Below this many pixels per job a second thread costs more than it saves.
inline constexpr std::int64_t kSplitMinimumPixels = 200'000;

/// Calls `work(first, last)` for the rows [begin, end), whose job touches `pixels` pixels in
/// all: in two halves on two threads when the job is large enough and the machine has a
/// second core, else once on the caller's thread. `work` must only write its own rows.
void splitRows(int begin, int end, std::int64_t pixels, const std::function<void(int, int)>& work);

}  // namespace quillfen
