#include "base/text_numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace quillfen {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view t, std::size_t i) {
    while (i < t.size() && isBlank(t[i]))
        ++i;
    return i;
}

std::size_t skipDigits(std::string_view t, std::size_t i) {
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i;
}

// Roughly log10 of a decimal number text (digits, fraction, exponent): enough to tell a number
// beyond the double range from one below it, which is all it is used for.
long long decimalExponent(std::string_view number) {
    const std::size_t exponentAt = std::min(number.find_first_of("eE"), number.size());
    const std::string_view digits = number.substr(0, exponentAt);
    const auto point = static_cast<long long>(std::min(digits.find('.'), digits.size()));
    const std::size_t firstDigit = digits.find_first_not_of("0.");
    const long long first = firstDigit == std::string_view::npos ? point : firstDigit;
    const long long place = first < point ? point - first : point - first + 1;
    if (exponentAt == number.size()) return place;
    return place + std::clamp<long long>(readInt(number.substr(exponentAt + 1)), -100000, 100000);
}

}  // namespace

int readInt(std::string_view t) {
    std::size_t i = skipBlanks(t, 0);
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    long long v = 0;
    for (; i < t.size() && isDigit(t[i]); ++i) {
        v = v * 10 + (t[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) v = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) v = -v;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

double readDouble(std::string_view t) {
    std::size_t i = skipBlanks(t, 0);
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    std::size_t mantissa = i;
    i = skipDigits(t, i);
    bool digits = i > mantissa;
    if (i < t.size() && t[i] == '.') {
        std::size_t f = skipDigits(t, i + 1);
        digits = digits || f > i + 1;
        i = f;
    }
    if (!digits) return 0.0;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < t.size() && (t[e] == '+' || t[e] == '-')) ++e;
        std::size_t end = skipDigits(t, e);
        if (end > e) i = end;
    }
    double v = 0.0;
    auto [end, error] =
        std::from_chars(t.data() + mantissa, t.data() + i, v, std::chars_format::general);
    // from_chars leaves v alone when the number is out of range; like strtod, a number too
    // large becomes infinite (callers saturate it) and one too small becomes 0.
    if (error == std::errc::result_out_of_range)
        v = decimalExponent(t.substr(mantissa, i - mantissa)) > 0 ? HUGE_VAL : 0.0;
    return negative ? -v : v;
}

HexRead readHex(std::string_view t) {
    std::size_t i = skipBlanks(t, 0);
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i + 2 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(t[i + 2]))) {
        i += 2;
    }
    HexRead r;
    for (; i < t.size() && std::isxdigit(static_cast<unsigned char>(t[i])); ++i) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(t[i])));
        r.value = r.value * 16 + static_cast<std::uint32_t>(isDigit(c) ? c - '0' : c - 'a' + 10);
        r.ok = true;
    }
    if (negative) r.value = 0u - r.value;
    return r;
}

std::vector<std::string_view> splitPieces(std::string_view text, char separator) {
    return splitPiecesAny(text, std::string_view(&separator, 1));
}

std::vector<std::string_view> splitPiecesAny(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

int truncToInt(double x) {
    if (std::isnan(x)) return 0;
    if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(x);
}

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

bool containsChar(std::string_view text, char c) {
    return text.find(c) != std::string_view::npos;
}

}  // namespace quillfen
