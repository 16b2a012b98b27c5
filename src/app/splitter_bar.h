#pragma once
// The bar between the editor area and the Trace: dragging it gives the Trace a new share of
// the window's height. It moves at most kReach pixels either way of where it first stood.

#include <QFrame>

namespace quillfen {

/// The Trace's share in percent for the bar at `barY` in a client area `clientHeight` high:
/// 100 - barY * 100 / clientHeight, kept in 1..99.
int tracePercentFor(int barY, int clientHeight);

class SplitterBar : public QFrame {
    Q_OBJECT
  public:
    static constexpr int kReach = 150;

    explicit SplitterBar(QWidget* parent = nullptr);

    /// Fixes the position, in the window's coordinates, that limits the drag.
    void setHome(int windowY) { home_ = windowY; }
    int home() const { return home_; }

  signals:
    /// The bar was dragged to `windowY` (the window's coordinates, already limited).
    void moved(int windowY);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    int home_ = 0;
    int grabOffset_ = -1;  // where in the bar the mouse took it; -1 when not dragging
};

}  // namespace quillfen
