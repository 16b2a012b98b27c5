#include "timeline/kbe_motion.h"

#include <cmath>

#include "base/text_numbers.h"

namespace quillfen {
namespace {

// start + (target - start) x i / span in integers; 64 bits hold any product of the operands.
double slideWhole(int from, int to, int i, int span) {
    long long offset = (static_cast<long long>(to) - from) * i / span;
    return static_cast<double>(from + offset);
}

double slideExact(int from, int to, int i, int span) {
    return from + (static_cast<double>(to) - from) * i / span;
}

// The width after i of `span` equal zoom factors, unrounded.
double zoomExact(int from, int to, int i, int span) {
    double factor = std::pow(static_cast<double>(to) / from, 1.0 / span);
    return from * std::pow(factor, i);
}

// The window after step i: whole picture pixels as the positions are reported, or the exact
// unrounded window that smooth motion samples. The two differ only in where they round.
KbeRect windowAfter(const KbeMotion& m, int i, bool whole) {
    int span = m.steps - 1;
    KbeRect r;
    if (span < 1 || i <= 0) {
        r = {double(m.start.x), double(m.start.y), double(m.start.width), 0, double(m.start.z)};
    } else {
        if (i > span) i = span;
        auto slide = whole ? slideWhole : slideExact;
        r.x = slide(m.start.x, m.target.x, i, span);
        r.y = slide(m.start.y, m.target.y, i, span);
        r.z = slide(m.start.z, m.target.z, i, span);
        double width = zoomExact(m.start.width, m.target.width, i, span);
        r.width = whole ? roundHalfUp(width) : width;
    }
    r.height = whole ? roundHalfUp(r.width / m.viewAspect) : r.width / m.viewAspect;
    double overshoot = r.y + r.height - m.pictureHeight;
    if (overshoot > 0)
        r.y -= whole ? static_cast<double>(static_cast<long long>(overshoot) / 2) : overshoot / 2;
    return r;
}

}  // namespace

KbeRect KbeMotion::windowAt(int i) const {
    return windowAfter(*this, i, true);
}

KbeRect KbeMotion::exactWindowAt(int i) const {
    return windowAfter(*this, i, false);
}

}  // namespace quillfen
