#include "timeline/movie_time.h"

#include "script/text_numbers.h"

namespace quillfen {

std::string formatMovieTime(double seconds) {
    int whole = truncToInt(seconds);
    int hundredths = roundHalfUp((seconds - whole) * 100.0);
    return formatText("%02d:%02d.%02d", whole / 60, whole % 60, hundredths);
}

}  // namespace quillfen
