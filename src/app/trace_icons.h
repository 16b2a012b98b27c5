#pragma once
// The Trace's icon strip: 33 icons of 16 x 16 pixels side by side, drawn by our own code at
// start-up. Index 0 information, 1 check mark, 2 warning triangle, 3 error cross, 4 no-entry
// sign, 5 question mark, 6-8 red, green and yellow dots, 9 arrow, 10 bomb, 11 chequered flag,
// 12 lightning, 13 plus, 14 minus, 15 lit bulb, 16 unlit bulb, 17 glasses, 18-20 red, amber and
// green traffic lights, 21 clock, 22 empty box, 23 ticked box, and 24-32 the Element kinds 1-9
// (picture, transition, zoom, numbered sequence, colour frame, film, picture in picture, text,
// plain square).

#include <QImage>

namespace quillfen {

inline constexpr int kTraceIconSize = 16;

/// The whole strip, 528 x 16, transparent where no icon paints.
QImage traceIconStrip();

}  // namespace quillfen
