#pragma once

#include <string>

namespace quillfen {

/// The version as the program shows it: "major.minor" when `build` is 0, else
/// "major.minor.build"; a non-zero `revision` adds " [R<c>]" where c is the character
/// '0' + the revision's low byte ("[R5]" for 5). Revisions past the printable characters
/// are written as a decimal number so the text stays printable.
std::string versionText(unsigned major, unsigned minor, unsigned build, unsigned revision);

/// versionText of this program's own version.
std::string programVersionText();

}  // namespace quillfen
