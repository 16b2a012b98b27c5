#pragma once
// Reading numbers and pieces out of Script text the way every command does: numbers by prefix
// (leading blanks skipped, the longest numeric prefix, 0 when there is none) and pieces split
// at a separator with empty pieces skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillfen {

/// Integer prefix: blanks, optional sign, decimal digits. Out-of-range values saturate.
int readInt(std::string_view text);

/// Decimal prefix with optional fraction and exponent (no hexadecimal, no "inf"/"nan").
double readDouble(std::string_view text);

/// Hexadecimal prefix as "%x" scans it (blanks, optional sign, optional "0x"); nullopt-like
/// result: `ok` false when no digit was read. Values wrap to 32 bits.
struct HexRead {
    bool ok = false;
    std::uint32_t value = 0;
};
HexRead readHex(std::string_view text);

/// Pieces of `text` between `separator`s; empty pieces are dropped so they hold no place.
std::vector<std::string_view> splitPieces(std::string_view text, char separator);

/// Pieces between any of `separators`, empty ones dropped.
std::vector<std::string_view> splitPiecesAny(std::string_view text, std::string_view separators);

bool equalsIgnoreCase(std::string_view a, std::string_view b);
bool containsChar(std::string_view text, char c);

/// x truncated toward zero, saturated to the int range (NaN gives 0), so that absurd
/// numbers in a Script cannot overflow a conversion.
int truncToInt(double x);

/// trunc(x + 0.5), the rounding of pixel geometry throughout.
inline int roundHalfUp(double x) {
    return truncToInt(x + 0.5);
}

/// printf-style formatting into a string (the messages and dump lines use printf formats).
std::string formatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace quillfen
