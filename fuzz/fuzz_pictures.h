#pragma once
// The small pictures and clip that fuzzed Scripts name: every kind of file a Script can use,
// good and damaged, so that parsing reaches the readers too.

#include <string>

namespace quillfen::fuzz {

/// Fills `folder` (made if missing) and returns it.
std::string makeFuzzPictures(const std::string& folder);

}  // namespace quillfen::fuzz
