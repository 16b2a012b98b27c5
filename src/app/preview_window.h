#pragma once
// The larger view: a resizable window that shows the preview's frames fitted into it with
// their proportions kept, never beyond their full size.

#include <QImage>
#include <QWidget>

#include "imaging/frame_image.h"

namespace quillfen {

class PreviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewWindow(QWidget* parent = nullptr);

    /// Shows `frame` (copied; it need not outlive the call). An unreadable frame clears it.
    void showFrame(const FrameImage& frame);
    const QImage& shown() const { return shown_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage shown_;  // the frame at full size
};

}  // namespace quillfen
