// How soon a typed character appears in the editor while the preview's worker renders a slow
// frame (the middle of a 20 s Fade at 3840 x 2160, some seconds of work): one iteration inserts
// a character and repaints the editor. Argument 0 runs with the preview idle, for comparison.
//
//   build/release/bench/preview_typing_bench
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "app/preview_controller.h"
#include "app/preview_panel.h"
#include "app/scrub_bar.h"
#include "editor/view/my_crystal_view.h"

namespace quillfen {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "preview_typing_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_TypingWhilePreviewRenders(benchmark::State& state) {
    application();
    CMyCrystalView editor;
    PreviewPanel panel;
    ScrubBar scrub;
    QLabel note;
    editor.resize(500, 400);
    editor.show();
    editor.setPlainText(">resize=3840x2160\n>frame=red|1\n>transition=Fade|20\n>frame=blue|1\n;");
    PreviewController preview({editor, panel, scrub, note}, [] { return std::string("."); });
    const bool busy = state.range(0) != 0;
    editor.setTextCursor(QTextCursor(editor.document()->findBlockByNumber(2)));
    if (busy) {
        preview.showCaretLine();  // the Transition's middle frame
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // it is under way
    }
    QTextCursor end(editor.document());
    end.movePosition(QTextCursor::End);
    editor.setTextCursor(end);

    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        editor.insertTextAtCaret(QStringLiteral("x"));
        QCoreApplication::processEvents();
        editor.viewport()->repaint();
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        samples.push_back(took.count());
    }
    std::sort(samples.begin(), samples.end());
    state.counters["median_ms"] = samples[samples.size() / 2];
    state.counters["p99_ms"] = samples[samples.size() * 99 / 100];
    state.counters["longest_ms"] = samples.back();
    state.counters["frames_rendered"] = static_cast<double>(preview.worker().framesRendered());
}
BENCHMARK(BM_TypingWhilePreviewRenders)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillfen
