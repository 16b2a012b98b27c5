#pragma once
// What the preview worker asks of a renderer: the counted timeline of a Script snapshot, and
// one movie frame of it. The real one runs the build driver's own frame path.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/preview_timeline.h"
#include "imaging/frame_image.h"
#include "script/script_lines.h"

namespace quillfen {

/// A copy of the editor's text, safe to read on any thread.
class ScriptSnapshot : public ScriptLines {
  public:
    ScriptSnapshot(std::vector<std::string> lines, std::string scriptFolder, std::uint64_t version)
        : lines_(std::move(lines)), folder_(std::move(scriptFolder)), version_(version) {}

    /// A copy of every line of `source`.
    static std::shared_ptr<const ScriptSnapshot> of(const ScriptLines& source,
                                                    std::string scriptFolder,
                                                    std::uint64_t version);

    int lineCount() const override { return static_cast<int>(lines_.size()); }
    std::string_view line(int index) const override { return lines_[index]; }
    /// The folder relative names are read from.
    const std::string& scriptFolder() const { return folder_; }
    /// Changes with every edit of the text it was taken from.
    std::uint64_t version() const { return version_; }

  private:
    std::vector<std::string> lines_;
    std::string folder_;
    std::uint64_t version_;
};

/// A counted timeline, or the parse error that prevented it.
struct PreviewPlan {
    PreviewTimeline timeline;
    /// "Line N: message" when the Script does not parse or link; empty otherwise.
    std::string note;
};

class PreviewRenderer {
  public:
    virtual ~PreviewRenderer() = default;
    /// Parses, links and counts `script`.
    virtual PreviewPlan plan(const ScriptSnapshot& script) = 0;
    /// Movie frame `index` of `script` as the build writes it; empty when it fails or when
    /// `cancelled` becomes true (polled between frames).
    virtual FrameImage render(const ScriptSnapshot& script, std::int64_t index,
                              const std::atomic<bool>& cancelled) = 0;
};

/// The renderer over a build driver of its own, with a host that keeps nothing but the line
/// error, and a caption tail of its own so every frame starts as a fresh `quillfen frame` run.
std::unique_ptr<PreviewRenderer> makeDriverPreviewRenderer();

}  // namespace quillfen
