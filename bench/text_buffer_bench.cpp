// Loading a large Script into the text buffer: line-end detection, UTF-8 validation (or the
// Windows-1252 conversion) and the line split, for 100,000 picture lines.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "editor/text_buffer.h"

namespace {

namespace fs = std::filesystem;

fs::path writeScript(const std::string& name, const std::string& accent) {
    const fs::path path =
        fs::temp_directory_path() / ("quillfen_bench_" + std::to_string(::getpid()) + "_" + name);
    std::ofstream out(path, std::ios::binary);
    out << ">resize=720x576\r\n";
    for (int i = 0; i < 100000; ++i)
        out << "pictures/caf" << accent << i << ".jpg*2\r\n";
    return path;
}

void loadScript(benchmark::State& state, const std::string& accent) {
    const fs::path path = writeScript(accent.size() == 1 ? "cp1252.txt" : "utf8.txt", accent);
    quillfen::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        if (!buffer.LoadFromFile(path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(buffer.GetLineCount());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
    fs::remove(path);
}

void BM_LoadUtf8Script(benchmark::State& state) {
    loadScript(state, "\xC3\xA9");
}
void BM_LoadWindows1252Script(benchmark::State& state) {
    loadScript(state, "\xE9");
}

BENCHMARK(BM_LoadUtf8Script)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWindows1252Script)->Unit(benchmark::kMillisecond);

}  // namespace
