#pragma once
// Replacing a file's contents so that a crash, a full disk or a failed rename never leaves the
// user without the old file or the new one.

#include <filesystem>
#include <string>
#include <string_view>

namespace quillfen {

/// Writes `bytes` to a new temporary file in `target`'s folder, flushes it to disk and renames
/// it over `target` in one step. An existing target keeps its permission bits (and, where
/// allowed, its owner); a symbolic link is followed so the link itself survives.
/// Returns true on success. On failure returns false, sets `error` to a short reason, leaves
/// `target` exactly as it was and removes the temporary file.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error);

}  // namespace quillfen
