#pragma once
// The compression dialog shown at every build that writes a movie: the codecs that the movie
// file's container can hold, with the quality, key-frame interval and data rate. It opens with
// the container's default codec and that codec's defaults; nothing of a choice is kept.

#include <QDialog>
#include <string>
#include <vector>

#include "media/codec_catalogue.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

namespace quillfen {

/// The available codecs that a file named `movieFile` can hold, in catalogue order; empty when
/// the name's extension names no container.
std::vector<std::string> codecsForMovie(std::string_view movieFile);

class CompressionDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CompressionDialog(const QString& movieFile, QWidget* parent = nullptr);

    /// The choice as the controls show it.
    CodecChoice choice() const;
    /// Selects `codec` (if listed) and shows its defaults.
    void selectCodec(const QString& codec);

  private:
    void showDefaults(const QString& codec);

    QComboBox* codec_;
    QSpinBox* quality_;
    QSpinBox* keyFrames_;
    QSpinBox* dataRate_;
    QLabel* description_;
    QDialogButtonBox* buttons_;
};

}  // namespace quillfen
