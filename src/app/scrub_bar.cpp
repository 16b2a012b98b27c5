#include "app/scrub_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

namespace quillfen {

QString scrubTimeText(double seconds) {
    const long long hundredths = std::llround(std::max(seconds, 0.0) * 100);
    return QStringLiteral("%1:%2.%3")
        .arg(hundredths / 6000, 2, 10, QChar('0'))
        .arg(hundredths / 100 % 60, 2, 10, QChar('0'))
        .arg(hundredths % 100, 2, 10, QChar('0'));
}

std::optional<double> readScrubTime(const QString& text) {
    const QStringList parts = text.trimmed().split(':');
    if (parts.size() > 2) return std::nullopt;
    bool ok = true;
    const double seconds = parts.back().toDouble(&ok);
    if (!ok || seconds < 0) return std::nullopt;
    double minutes = 0;
    if (parts.size() == 2) {
        minutes = parts.front().toUInt(&ok);
        if (!ok) return std::nullopt;
    }
    return minutes * 60 + seconds;
}

ScrubBar::ScrubBar(QWidget* parent)
    : QWidget(parent),
      slider_(new QSlider(Qt::Horizontal, this)),
      time_(new QLineEdit(scrubTimeText(0), this)),
      play_(new QPushButton(tr("Play"), this)) {
    slider_->setRange(0, 0);
    slider_->setSingleStep(1);
    slider_->setPageStep(25);
    slider_->setFocusPolicy(Qt::StrongFocus);
    slider_->installEventFilter(this);
    time_->setAlignment(Qt::AlignCenter);
    time_->setMaxLength(12);
    play_->setAutoDefault(false);

    auto* row = new QHBoxLayout;
    row->addWidget(play_);
    row->addWidget(time_, 1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(slider_);
    column->addLayout(row);

    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!showing_) emit frameChosen(value);
    });
    connect(time_, &QLineEdit::returnPressed, this, [this] {
        if (std::optional<double> seconds = readScrubTime(time_->text())) emit timeChosen(*seconds);
    });
    connect(play_, &QPushButton::clicked, this, &ScrubBar::playToggled);
}

void ScrubBar::setFrameCount(std::int64_t frames) {
    const std::int64_t last =
        std::clamp<std::int64_t>(frames - 1, 0, std::numeric_limits<int>::max());
    if (slider_->maximum() == last) return;
    showing_ = true;
    slider_->setMaximum(static_cast<int>(last));
    showing_ = false;
}

void ScrubBar::showPosition(std::int64_t frame, double seconds) {
    showing_ = true;
    slider_->setValue(static_cast<int>(std::clamp<std::int64_t>(frame, 0, slider_->maximum())));
    showing_ = false;
    if (!time_->hasFocus()) time_->setText(scrubTimeText(seconds));
}

void ScrubBar::setPlaying(bool playing) {
    play_->setText(playing ? tr("Pause") : tr("Play"));
}

std::int64_t ScrubBar::frame() const {
    return slider_->value();
}

QString ScrubBar::timeText() const {
    return time_->text();
}

bool ScrubBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == slider_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        emit playToggled();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace quillfen
