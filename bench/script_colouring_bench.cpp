// Colouring one screen of Script lines, as the editor does on every repaint.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "editor/script_colouring.h"

namespace {

const std::vector<std::string> kLines = {
    ">resize=1920,1080",
    "; the opening pictures",
    "pictures/holiday_0001.jpg*2.5",
    ">transition=1.5,Fade",
    ">text=\"Summer by the sea\",10%,80%,Arial,48,#FFFFFF,none ;caption",
    ">kbe=0,0,100,100,10,10,80,80,&hFF0000",
    "",
    ">sequence=pictures/frame_####.png,1,250,25",
};

void BM_ParseLine(benchmark::State& state) {
    std::vector<quillfen::TextBlock> blocks;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& line : kLines) {
            blocks.clear();
            benchmark::DoNotOptimize(quillfen::ParseLine(0, line, &blocks));
            bytes += line.size();
        }
        benchmark::DoNotOptimize(blocks.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLines.size()));
}
BENCHMARK(BM_ParseLine);

}  // namespace
