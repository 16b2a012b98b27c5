#pragma once
// The coverage-guided fuzz targets: each takes one input of any bytes and must neither crash,
// hang nor leak on it. libFuzzer drives them (one program per target, see libfuzzer_entry.cpp)
// and the regression test replays the inputs that once found a fault.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quillfen::fuzz {

using FuzzTarget = int (*)(const std::uint8_t* data, std::size_t size);

int bmpReader(const std::uint8_t* data, std::size_t size);
int pngReader(const std::uint8_t* data, std::size_t size);
int jpegReader(const std::uint8_t* data, std::size_t size);
/// The first bytes choose the file kind, the resize mode, the crop and the stereo conversion;
/// the rest is the picture file, loaded and fitted to a small frame as a build does.
int pictureLoading(const std::uint8_t* data, std::size_t size);
/// The input is a Script, parsed, linked and listed as "Check script" does, with its names
/// resolving into a folder of small generated pictures.
int scriptParser(const std::uint8_t* data, std::size_t size);
/// The input is a Script file loaded by the text buffer (line ends, UTF-8, Windows-1252).
int textBuffer(const std::uint8_t* data, std::size_t size);
/// The input's lines are coloured as the editor colours them, the state carried over.
int scriptColouring(const std::uint8_t* data, std::size_t size);
/// The input is a video clip (the seeds are small AVI clips), read frame by frame.
int videoReader(const std::uint8_t* data, std::size_t size);

struct NamedTarget {
    std::string_view name;
    FuzzTarget run;
};

inline constexpr std::array<NamedTarget, 8> kFuzzTargets = {{
    {"bmp_reader", bmpReader},
    {"png_reader", pngReader},
    {"jpeg_reader", jpegReader},
    {"picture_loading", pictureLoading},
    {"script_parser", scriptParser},
    {"text_buffer", textBuffer},
    {"script_colouring", scriptColouring},
    {"video_reader", videoReader},
}};

}  // namespace quillfen::fuzz
