#pragma once
// The two encodings a Script file may come in: UTF-8, or Windows-1252 for files written by
// older Windows tools. In memory every Script is UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace quillfen {

/// How a Script file stores its text. The byte order mark some Windows editors put before
/// UTF-8 text is not part of the first line; it is remembered and written back.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

/// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool isValidUtf8(std::string_view bytes);

/// Every byte as its Windows-1252 character in UTF-8. The five bytes that code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number,
/// so that the way back restores every byte.
std::string windows1252ToUtf8(std::string_view bytes);

/// The inverse of `windows1252ToUtf8`; nullopt when `utf8` is malformed or holds a character
/// that Windows-1252 cannot store.
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

}  // namespace quillfen
