#pragma once
// The main window's controls and their arrangement: an upper area (Script file row, editor,
// Output file row, and the right column of buttons, frame counter and preview) and a lower
// area (splitter bar above the Trace), sharing the height by the Trace's percentage.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSizeGrip;

namespace quillfen {

class CMyCrystalView;
class PreviewPanel;
class ScrubBar;
class SplitterBar;
class TraceList;

struct WindowControls {
    /// Creates every control as a child of `window` (which owns them) and arranges them.
    explicit WindowControls(QWidget& window);

    /// Gives the upper area 100 - tracePercent percent of `window`'s height and the lower area
    /// the rest; the size grip goes to the bottom-right corner.
    void placeAreas(QWidget& window, int tracePercent);

    // All owned by the window through Qt's parent chain.
    QWidget* upper;
    QWidget* lower;
    QLabel* scriptLabel;
    QComboBox* scriptBox;
    QPushButton* load;
    QPushButton* save;
    QPushButton* quit;
    QPushButton* help;
    QPushButton* run;
    QPushButton* check;
    QLabel* frameCounter;
    PreviewPanel* preview;
    ScrubBar* scrub;
    QLabel* previewNote;  // the preview's one-line parse error
    CMyCrystalView* editor;
    QLabel* outputLabel;
    QLineEdit* outputFile;
    QPushButton* select;
    QPushButton* copyTrace;
    SplitterBar* splitter;
    TraceList* trace;
    QSizeGrip* sizeGrip;

  private:
    void arrangeUpper();
    void arrangeLower();
};

}  // namespace quillfen
