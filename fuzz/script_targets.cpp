// Fuzz targets of the Script: the parser with the Element constructors and linking, the text
// buffer's loader and the editor's colouring.

#include <filesystem>
#include <string>
#include <vector>

#include "editor/script_colouring.h"
#include "editor/text_buffer.h"
#include "fuzz_pictures.h"
#include "fuzz_targets.h"
#include "imaging/effects/effect_registry.h"
#include "output/build_driver.h"
#include "scratch_file.h"
#include "support/quiet_build_host.h"
#include "support/script_text.h"
#include "timeline/caption_tail.h"

namespace quillfen::fuzz {
namespace {

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string_view textOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

int scriptParser(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = makeFuzzPictures(scratchFolder() + "/pictures");
    testing::QuietBuildHost host;
    BuildDriver driver(host, builtinEffectCatalogue(), programCaptionTail());
    driver.settings().scriptFolder = folder;
    testing::ScriptText script(linesOf(textOf(data, size)));
    driver.runBuild(script, BuildMode::Check);
    return 0;
}

int textBuffer(const std::uint8_t* data, std::size_t size) {
    CCrystalTextBuffer buffer;
    if (!buffer.LoadFromFile(writeScratchFile("script.txt", data, size))) return 0;
    // Saving exercises the way back: line ends and the encoding the text was read in.
    buffer.SaveToFile(scratchFolder() + "/saved.txt");
    return 0;
}

int scriptColouring(const std::uint8_t* data, std::size_t size) {
    std::uint32_t state = 0;
    std::vector<TextBlock> blocks;
    for (const std::string& line : linesOf(textOf(data, size))) {
        blocks.clear();
        state = ParseLine(state, line, &blocks);
    }
    return 0;
}

}  // namespace quillfen::fuzz
