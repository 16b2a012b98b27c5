// "Check script" on a Script of many picture lines: parse, existence checks, link, count and
// the listing, through the real build driver with a host that discards the Trace.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "output/build_driver.h"

namespace quillfen {
namespace {

class VectorLines : public ScriptLines {
  public:
    int lineCount() const override { return static_cast<int>(lines.size()); }
    std::string_view line(int i) const override { return lines[i]; }
    std::vector<std::string> lines;
};

class QuietHost : public BuildHost {
  public:
    void addTrace(const TraceEntry& entry) override { benchmark::DoNotOptimize(entry.text.data()); }
    void clearTrace() override {}
    void markCurrentLine(int) override {}
    void markErrorLine(int, std::string_view) override {}
    void clearLineMark(int) override {}
    void setRunButtonText(std::string_view) override {}
    void setFrameCounter(std::string_view) override {}
    void setWaitCursor(bool) override {}
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override {
        return OverwriteAnswer::Cancel;
    }
    std::optional<std::string> chooseMovieFile(std::string_view) override { return {}; }
    std::optional<CodecChoice> chooseCompression(std::string_view) override { return {}; }
    void showFrame(const FrameImage&) override {}
    bool pumpEvents() override { return false; }
    void outputFileChanged(std::string_view) override {}
    void rememberOutputFile(std::string_view) override {}
};

void BM_CheckPictureLines(benchmark::State& state) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quillfen-bench-XXXXXX").string();
    std::string folder = mkdtemp(pattern.data());
    const int pictures = 100;  // distinct files, reused by the lines
    for (int i = 0; i < pictures; ++i)
        std::ofstream(folder + "/p" + std::to_string(i) + ".jpg") << 'x';
    VectorLines script;
    script.lines.push_back(">resize=720x576");
    for (int i = 0; i < state.range(0); ++i) {
        std::string line = "p";
        line += std::to_string(i % pictures);
        line += ".jpg*0.2";
        script.lines.push_back(std::move(line));
        if (i % 10 == 5) script.lines.push_back(">transition=Fade|0.1");
    }
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
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CheckPictureLines)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
