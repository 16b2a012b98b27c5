#include "app/window_controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QVBoxLayout>

#include "app/preview_panel.h"
#include "app/scrub_bar.h"
#include "app/splitter_bar.h"
#include "app/trace_list.h"
#include "editor/view/my_crystal_view.h"

namespace quillfen {

namespace {

constexpr int kBorder = 5;  // around and between the panes

QPushButton* button(const QString& caption, QWidget* parent) {
    auto* made = new QPushButton(caption, parent);
    made->setAutoDefault(false);
    made->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    made->setMinimumWidth(90);
    return made;
}

}  // namespace

WindowControls::WindowControls(QWidget& window)
    : upper(new QWidget(&window)),
      lower(new QWidget(&window)),
      scriptLabel(new QLabel(QObject::tr("Script &file:"), upper)),
      scriptBox(new QComboBox(upper)),
      load(button(QObject::tr("&Load..."), upper)),
      save(button(QObject::tr("&Save"), upper)),
      quit(button(QObject::tr("&Quit"), upper)),
      help(button(QObject::tr("&Help"), upper)),
      run(button(QObject::tr("&Run"), upper)),
      check(button(QObject::tr("Check script"), upper)),
      frameCounter(new QLabel(QObject::tr("Frame #0"), upper)),
      preview(new PreviewPanel(upper)),
      scrub(new ScrubBar(upper)),
      previewNote(new QLabel(upper)),
      editor(new CMyCrystalView(upper)),
      outputLabel(new QLabel(QObject::tr("&Output file:"), upper)),
      outputFile(new QLineEdit(upper)),
      select(button(QObject::tr("Select..."), upper)),
      copyTrace(button(QObject::tr("Copy &trace"), upper)),
      splitter(new SplitterBar(lower)),
      trace(new TraceList(lower)),
      sizeGrip(new QSizeGrip(&window)) {
    scriptBox->setEditable(true);
    scriptBox->setInsertPolicy(QComboBox::NoInsert);
    scriptBox->setMinimumWidth(50);
    scriptBox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    scriptLabel->setBuddy(scriptBox);
    outputLabel->setBuddy(outputFile);
    run->setDefault(true);
    frameCounter->setAlignment(Qt::AlignCenter);
    scrub->setFixedWidth(PreviewPanel::kPanelSize.width());
    previewNote->setFixedWidth(PreviewPanel::kPanelSize.width());
    previewNote->setObjectName("PreviewNote");
    editor->setObjectName("CrystalEditScript");
    trace->setMinimumSize(50, 20);
    arrangeUpper();
    arrangeLower();
}

void WindowControls::arrangeUpper() {
    auto* scriptRow = new QHBoxLayout;
    scriptRow->addWidget(scriptLabel);
    scriptRow->addWidget(scriptBox, 1);

    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(outputLabel, 0, Qt::AlignVCenter);
    outputRow->addWidget(outputFile, 1);
    outputRow->addWidget(select);

    auto* left = new QVBoxLayout;
    left->addLayout(scriptRow);
    left->addWidget(editor, 1);
    left->addLayout(outputRow);

    auto* buttons = new QGridLayout;
    buttons->addWidget(load, 0, 0);
    buttons->addWidget(save, 0, 1);
    buttons->addWidget(quit, 1, 0);
    buttons->addWidget(help, 1, 1);
    buttons->addWidget(run, 2, 0);
    buttons->addWidget(check, 2, 1);

    auto* right = new QVBoxLayout;
    right->addLayout(buttons);
    right->addWidget(frameCounter, 0, Qt::AlignHCenter);
    right->addStretch(1);
    right->addWidget(preview, 0, Qt::AlignHCenter);
    right->addWidget(scrub, 0, Qt::AlignHCenter);
    right->addWidget(previewNote, 0, Qt::AlignHCenter);
    right->addStretch(1);
    right->addWidget(copyTrace, 0, Qt::AlignRight);

    // "Copy trace" ends the bottom row at the window's right edge: it sits in the right column,
    // level with the Output file row.
    auto* columns = new QHBoxLayout(upper);
    columns->setContentsMargins(kBorder, kBorder, kBorder, 0);
    columns->setSpacing(kBorder);
    columns->addLayout(left, 1);
    columns->addLayout(right, 0);
}

void WindowControls::arrangeLower() {
    auto* column = new QVBoxLayout(lower);
    column->setContentsMargins(kBorder, 0, kBorder, kBorder + sizeGrip->sizeHint().height());
    column->setSpacing(2);
    column->addWidget(splitter);
    column->addWidget(trace, 1);
}

void WindowControls::placeAreas(QWidget& window, int tracePercent) {
    const int height = window.height();
    const int upperHeight = height - height * tracePercent / 100;
    upper->setGeometry(0, 0, window.width(), upperHeight);
    lower->setGeometry(0, upperHeight, window.width(), height - upperHeight);
    const QSize grip = sizeGrip->sizeHint();
    sizeGrip->setGeometry(window.width() - grip.width(), height - grip.height(), grip.width(),
                          grip.height());
    sizeGrip->raise();
}

}  // namespace quillfen
