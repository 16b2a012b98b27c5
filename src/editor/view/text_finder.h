#pragma once
// Searching the editor's document, apart from any dialog so it can be tested alone.

#include <QTextCursor>
#include <QTextDocument>

#include "editor/view/editor_settings.h"

namespace quillfen {

/// Finds `options.what` after the selection of `from` (before it when `up`), wrapping round
/// at the document's end (start). Returns a cursor selecting the match, or a null cursor
/// when there is none or the search text is empty.
QTextCursor findText(const QTextDocument& document, const QTextCursor& from,
                     const FindOptions& options, bool up);

}  // namespace quillfen
