#pragma once
// Paints each line of the editor's document with the Script colouring.

#include <QSyntaxHighlighter>

#include "editor/script_colouring.h"

namespace quillfen {

/// Converts a colour value (0x00BBGGRR) to a Qt colour.
QColor toQColor(ColourValue value);

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
  public:
    /// Attaches to `document` (not owned) with `colours`.
    ScriptHighlighter(QTextDocument* document, const ScriptColours& colours);

    /// Takes new colours and recolours the whole document.
    void setColours(const ScriptColours& colours);

  protected:
    void highlightBlock(const QString& text) override;

  private:
    ScriptColours colours_;
};

}  // namespace quillfen
