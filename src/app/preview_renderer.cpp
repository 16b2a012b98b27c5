#include "app/preview_renderer.h"

#include "imaging/effects/effect_registry.h"
#include "output/build_driver.h"
#include "timeline/caption_tail.h"

namespace quillfen {

std::shared_ptr<const ScriptSnapshot> ScriptSnapshot::of(const ScriptLines& source,
                                                         std::string scriptFolder,
                                                         std::uint64_t version) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(source.lineCount()));
    for (int i = 0; i < source.lineCount(); ++i)
        lines.emplace_back(source.line(i));
    return std::make_shared<const ScriptSnapshot>(std::move(lines), std::move(scriptFolder),
                                                  version);
}

namespace {

// The preview's builds report to nobody: the Trace and the editor's marks belong to Run and
// Check. Only the line error is kept, for the note under the preview.
class QuietPreviewHost : public BuildHost {
  public:
    void watch(const std::atomic<bool>* cancelled) { cancelled_ = cancelled; }
    void forgetError() { note_.clear(); }
    const std::string& note() const { return note_; }

    void addTrace(const TraceEntry&) override {}
    void clearTrace() override {}
    void markCurrentLine(int) override {}
    void markErrorLine(int lineIndex, std::string_view text) override {
        if (note_.empty())
            note_ = "Line " + std::to_string(lineIndex + 1) + ": " + std::string(text);
    }
    void clearLineMark(int) override {}
    void setRunButtonText(std::string_view) override {}
    void setFrameCounter(std::string_view) override {}
    void setWaitCursor(bool) override {}
    OverwriteAnswer askOverwrite(std::string_view, std::string_view) override {
        return OverwriteAnswer::Cancel;
    }
    std::optional<std::string> chooseMovieFile(std::string_view) override { return std::nullopt; }
    std::optional<CodecChoice> chooseCompression(std::string_view) override { return std::nullopt; }
    void showFrame(const FrameImage&) override {}
    bool pumpEvents() override { return cancelled_ != nullptr && cancelled_->load(); }
    void outputFileChanged(std::string_view) override {}
    void rememberOutputFile(std::string_view) override {}

  private:
    const std::atomic<bool>* cancelled_ = nullptr;  // not owned; set for one render
    std::string note_;
};

class DriverPreviewRenderer : public PreviewRenderer {
  public:
    DriverPreviewRenderer() : driver_(host_, builtinEffectCatalogue(), tail_) {}

    PreviewPlan plan(const ScriptSnapshot& script) override {
        prepare(script);
        const BuildOutcome outcome = driver_.runBuild(script, BuildMode::Check);
        PreviewPlan plan;
        plan.note = host_.note();
        if (outcome.succeeded) {
            plan.timeline = {outcome.timeline, outcome.totalFrames, outcome.frameRate};
        }
        return plan;
    }

    FrameImage render(const ScriptSnapshot& script, std::int64_t index,
                      const std::atomic<bool>& cancelled) override {
        prepare(script);
        host_.watch(&cancelled);
        FrameRequest request;
        request.index = index;
        FrameImage frame = driver_.renderFrame(script, request);
        host_.watch(nullptr);
        if (cancelled.load()) return {};
        return frame;
    }

  private:
    void prepare(const ScriptSnapshot& script) {
        host_.forgetError();
        tail_.clear();
        driver_.settings().scriptFolder = script.scriptFolder();
    }

    QuietPreviewHost host_;
    CaptionTail tail_;
    BuildDriver driver_;
};

}  // namespace

std::unique_ptr<PreviewRenderer> makeDriverPreviewRenderer() {
    return std::make_unique<DriverPreviewRenderer>();
}

}  // namespace quillfen
