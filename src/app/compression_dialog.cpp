#include "app/compression_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace quillfen {

std::vector<std::string> codecsForMovie(std::string_view movieFile) {
    std::vector<std::string> names;
    const std::optional<Container> container = containerForPath(movieFile);
    if (!container) return names;
    for (const CodecInfo& codec : codecCatalogue()) {
        const std::vector<Container> suits = containersFor(codec);
        if (std::ranges::find(suits, *container) != suits.end()) names.emplace_back(codec.name);
    }
    return names;
}

namespace {

QSpinBox* spinBox(int maximum, const QString& zeroText, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, maximum);
    box->setSpecialValueText(zeroText);
    return box;
}

}  // namespace

CompressionDialog::CompressionDialog(const QString& movieFile, QWidget* parent)
    : QDialog(parent),
      codec_(new QComboBox(this)),
      quality_(spinBox(100, QString(), this)),
      keyFrames_(spinBox(100000, tr("codec's choice"), this)),
      dataRate_(spinBox(2000000, tr("by quality"), this)),
      description_(new QLabel(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    setWindowTitle(tr("Video Compression"));
    description_->setWordWrap(true);
    dataRate_->setSuffix(tr(" kbit/s"));

    const std::string file = movieFile.toStdString();
    for (const std::string& name : codecsForMovie(file))
        codec_->addItem(QString::fromStdString(name));

    auto* form = new QFormLayout;
    form->addRow(tr("Movie file:"), new QLabel(QFileInfo(movieFile).fileName(), this));
    form->addRow(tr("&Compressor:"), codec_);
    form->addRow(QString(), description_);
    form->addRow(tr("&Quality (0-100):"), quality_);
    form->addRow(tr("&Key frame every (frames):"), keyFrames_);
    form->addRow(tr("&Data rate:"), dataRate_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(codec_, &QComboBox::currentTextChanged, this, &CompressionDialog::showDefaults);

    if (codec_->count() == 0) {
        description_->setText(
            tr("No compressor can write this file; name it .avi, .mov, .wmv, .mp4 or .mkv."));
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
        return;
    }
    if (std::optional<Container> container = containerForPath(file))
        selectCodec(QString::fromUtf8(defaultCodecName(*container)));
    showDefaults(codec_->currentText());
}

void CompressionDialog::selectCodec(const QString& codec) {
    const int index = codec_->findText(codec);
    if (index >= 0) codec_->setCurrentIndex(index);
}

void CompressionDialog::showDefaults(const QString& codec) {
    const std::string name = codec.toStdString();
    const CodecChoice defaults = defaultCodecChoice(name);
    const CodecInfo* info = findCodec(name);
    description_->setText(info ? QString::fromUtf8(info->description) : QString());
    const bool hasQuality = info && info->qualityScale != QualityScale::None;
    quality_->setEnabled(hasQuality);
    keyFrames_->setEnabled(info && !info->intraOnly);
    quality_->setValue(defaults.quality);
    keyFrames_->setValue(defaults.keyFrameInterval);
    dataRate_->setValue(defaults.dataRateKbps);
}

CodecChoice CompressionDialog::choice() const {
    CodecChoice chosen = defaultCodecChoice(codec_->currentText().toStdString());
    chosen.quality = quality_->value();
    chosen.keyFrameInterval = keyFrames_->value();
    chosen.dataRateKbps = dataRate_->value();
    return chosen;
}

}  // namespace quillfen
