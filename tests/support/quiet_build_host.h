#pragma once
// A build host that does nothing and answers every question with "no": test and benchmark
// hosts derive from it and override only what they watch or answer.

#include "output/build_host.h"

namespace quillfen::testing {

class QuietBuildHost : public BuildHost {
  public:
    void addTrace(const TraceEntry&) override {}
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

}  // namespace quillfen::testing
