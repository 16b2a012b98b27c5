#include "timeline/kbe_motion.h"

#include <cmath>

#include "script/text_numbers.h"

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

}  // namespace

KbeRect KbeMotion::windowAt(int i) const {
    int span = steps - 1;
    KbeRect r;
    if (span < 1 || i <= 0) {
        r = {double(start.x), double(start.y), double(start.width), 0, double(start.z)};
    } else {
        if (i > span) i = span;
        r.x = slideWhole(start.x, target.x, i, span);
        r.y = slideWhole(start.y, target.y, i, span);
        r.z = slideWhole(start.z, target.z, i, span);
        r.width = roundHalfUp(zoomExact(start.width, target.width, i, span));
    }
    r.height = roundHalfUp(r.width / viewAspect);
    double overshoot = r.y + r.height - pictureHeight;
    if (overshoot > 0) r.y -= static_cast<double>(static_cast<long long>(overshoot) / 2);
    return r;
}

KbeRect KbeMotion::exactWindowAt(int i) const {
    int span = steps - 1;
    KbeRect r;
    if (span < 1 || i <= 0) {
        r = {double(start.x), double(start.y), double(start.width), 0, double(start.z)};
    } else {
        if (i > span) i = span;
        r.x = slideExact(start.x, target.x, i, span);
        r.y = slideExact(start.y, target.y, i, span);
        r.z = slideExact(start.z, target.z, i, span);
        r.width = zoomExact(start.width, target.width, i, span);
    }
    r.height = r.width / viewAspect;
    double overshoot = r.y + r.height - pictureHeight;
    if (overshoot > 0) r.y -= overshoot / 2;
    return r;
}

}  // namespace quillfen
