#pragma once

#include <string>

namespace quillfen {

/// "MM:SS.hh" for a time in seconds: whole minutes (not limited to 59), seconds, and the
/// fraction rounded to hundredths, so 0.995 prints as "00:00.100".
std::string formatMovieTime(double seconds);

}  // namespace quillfen
