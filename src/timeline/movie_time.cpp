#include "timeline/movie_time.h"

#include <cmath>

#include "base/text_numbers.h"

namespace quillfen {

std::string formatMovieTime(double seconds) {
    int whole = truncToInt(seconds);
    double fraction = seconds - whole;
    // Past the int range the whole seconds saturate and the rest is no fraction any more.
    if (!(std::abs(fraction) < 1.0)) fraction = 0.0;
    int hundredths = roundHalfUp(fraction * 100.0);
    return formatText("%02d:%02d.%02d", whole / 60, whole % 60, hundredths);
}

}  // namespace quillfen
