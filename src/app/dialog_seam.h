#pragma once
// Every question the window asks the user, behind one interface: the window uses real Qt
// dialogs (QtDialogs); tests answer through a scripted implementation, with no real clicks.

#include <QString>
#include <optional>

#include "media/codec_catalogue.h"

namespace quillfen {

enum class Answer { Yes, No, Cancel };

/// File-name filters, in Qt's notation.
inline const QString kScriptFilter = QStringLiteral("Script files (*.txt);;All files (*)");
inline const QString kMovieFilter =
    QStringLiteral("AVI file (*.avi);;WMV file (*.wmv);;Quicktime file (*.mov);;All files (*)");

class DialogSeam {
  public:
    virtual ~DialogSeam() = default;

    /// A question with Yes, No and Cancel and the question icon.
    virtual Answer ask(const QString& text, const QString& title) = 0;
    /// A message with OK and the exclamation icon.
    virtual void warn(const QString& text, const QString& title) = 0;
    /// An existing file to open; none when cancelled.
    virtual std::optional<QString> openFileName(const QString& title, const QString& filter) = 0;
    /// A file to write (an existing one only after the user agreed); none when cancelled.
    virtual std::optional<QString> saveFileName(const QString& title, const QString& filter) = 0;
    /// The codec and its settings for writing `movieFile`; none when cancelled.
    virtual std::optional<CodecChoice> chooseCompression(const QString& movieFile) = 0;
};

}  // namespace quillfen
