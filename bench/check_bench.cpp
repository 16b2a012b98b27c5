// "Check script" on a Script of many picture lines: parse, existence checks, link, count and
// the listing, through the real build driver with a host that discards the Trace.

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "output/build_driver.h"
#include "support/quiet_build_host.h"
#include "support/script_text.h"
#include "support/temp_folder.h"

namespace quillfen {
namespace {

class QuietHost : public testing::QuietBuildHost {
  public:
    void addTrace(const TraceEntry& entry) override { benchmark::DoNotOptimize(entry.text.data()); }
};

void BM_CheckPictureLines(benchmark::State& state) {
    const testing::TempFolder temp;
    const std::string& folder = temp.path();
    const int pictures = 100;  // distinct files, reused by the lines
    for (int i = 0; i < pictures; ++i)
        std::ofstream(folder + "/p" + std::to_string(i) + ".jpg") << 'x';
    std::vector<std::string> lines{">resize=720x576"};
    for (int i = 0; i < state.range(0); ++i) {
        std::string line = "p";
        line += std::to_string(i % pictures);
        line += ".jpg*0.2";
        lines.push_back(std::move(line));
        if (i % 10 == 5) lines.push_back(">transition=Fade|0.1");
    }
    const testing::ScriptText script(std::move(lines));
    QuietHost host;
    EffectCatalogue effects;
    CaptionTail tail;
    BuildDriver driver(host, effects, tail);
    driver.settings().scriptFolder = folder;
    for (auto _ : state) {
        BuildOutcome outcome = driver.runBuild(script, BuildMode::Check);
        if (!outcome.succeeded) state.SkipWithError("the Script did not check");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CheckPictureLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
