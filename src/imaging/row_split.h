#pragma once
// Splitting a row-wise kernel over the machine's second core: the rows go out in pieces,
// and the caller and one helper thread each take the next piece until none is left. Each row
// is written by exactly one call, so the result is the same as one call over every row. The
// helper runs at the lowest priority: it uses a core only while nothing else (the encoder)
// wants it, and the caller takes the pieces it does not get to.

#include <cstdint>
#include <functional>

namespace quillfen {

/// Below this many pixels per job a second thread costs more than it saves.
inline constexpr std::int64_t kSplitMinimumPixels = 200'000;

/// Calls `work(first, last)` for the rows [begin, end), whose job touches `pixels` pixels in
/// all: in pieces shared by two threads when the job is large enough and the machine has a
/// second core, else once on the caller's thread. `work` must only write its own rows.
void splitRows(int begin, int end, std::int64_t pixels, const std::function<void(int, int)>& work);

}  // namespace quillfen
