#pragma once
// The bar under the preview: a slider over the movie's frames, the time field (mm:ss.hh) and
// the Play/Pause button. Home, End, Left and Right move the slider by frames; Space plays.

#include <QWidget>
#include <cstdint>
#include <optional>

class QLineEdit;
class QPushButton;
class QSlider;

namespace quillfen {

/// "mm:ss.hh" for `seconds`.
QString scrubTimeText(double seconds);
/// Seconds from "mm:ss.hh", "ss.hh" or plain seconds; none for anything else.
std::optional<double> readScrubTime(const QString& text);

class ScrubBar : public QWidget {
    Q_OBJECT
  public:
    explicit ScrubBar(QWidget* parent = nullptr);

    /// The movie has `frames` frames (the slider goes from 0 to frames - 1).
    void setFrameCount(std::int64_t frames);
    /// Shows `frame` on the slider and `seconds` in the time field, without signalling.
    void showPosition(std::int64_t frame, double seconds);
    void setPlaying(bool playing);

    std::int64_t frame() const;
    QString timeText() const;
    QSlider& slider() { return *slider_; }
    QPushButton& playButton() { return *play_; }
    QLineEdit& timeField() { return *time_; }

  signals:
    /// The user moved the slider to `frame`.
    void frameChosen(std::int64_t frame);
    /// The user typed a time and pressed Enter.
    void timeChosen(double seconds);
    void playToggled();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSlider* slider_;
    QLineEdit* time_;
    QPushButton* play_;
    bool showing_ = false;  // valueChanged from showPosition is not the user's
};

}  // namespace quillfen
