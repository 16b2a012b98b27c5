#pragma once
// The preview panel: the frame being written, fitted into the panel with its proportions kept
// and stretched nearest-neighbour. A frame of the size painted last is painted straight over it
// (the bars keep what they show); a new size clears the whole panel first.

#include <QImage>
#include <QSize>
#include <QWidget>

#include "imaging/frame_image.h"

namespace quillfen {

struct FitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const FitRect&, const FitRect&) = default;
};

/// Where a source of sw x sh goes in a target of tw x th: full width when the source is
/// relatively wider, else full height (also for equal proportions), centred; halves are
/// truncated. A zero source side gives a span of 1 instead of dividing by zero.
FitRect fitRectangle(int sw, int sh, int tw, int th);

/// `frame` stretched nearest-neighbour to `size`, top row first. Null for an empty or unreadable
/// frame or an empty size.
QImage stretchNearest(const FrameImage& frame, QSize size);

class PreviewPanel : public QWidget {
    Q_OBJECT
  public:
    /// The panel's fixed size.
    static constexpr QSize kPanelSize{200, 150};

    explicit PreviewPanel(QWidget* parent = nullptr);

    /// Paints `frame` now. The frame is copied at the panel's scale, so it need not outlive
    /// the call. An unreadable frame clears the panel.
    void showFrame(const FrameImage& frame);
    /// Forgets the size of the last frame, so the next one repaints the whole panel.
    void forgetFrameSize() { rememberedSize_ = QSize(); }
    /// The size of the last frame shown since forgetFrameSize; invalid when none.
    QSize rememberedFrameSize() const { return rememberedSize_; }
    /// The last frame as painted: at its fit size; null when none.
    const QImage& shownImage() const { return shown_; }

  signals:
    /// The user double-clicked the panel (to open the larger view).
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QRect fitOnPanel(QSize frameSize) const;

    QImage shown_;  // the last frame at its fit size
    QSize shownFrameSize_;
    QSize rememberedSize_;
};

}  // namespace quillfen
