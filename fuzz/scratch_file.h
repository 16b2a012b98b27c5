#pragma once
// Fuzz inputs for readers that take a file name: the bytes go to one file per process in a
// private folder (in memory where /dev/shm exists), removed when the process ends.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillfen::fuzz {

/// A private folder of this process, made on first use.
const std::string& scratchFolder();

/// Writes `data` to `name` inside the scratch folder and returns its full path.
std::string writeScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

}  // namespace quillfen::fuzz
