#include "editor/view/text_finder.h"

namespace quillfen {

QTextCursor findText(const QTextDocument& document, const QTextCursor& from,
                     const FindOptions& options, bool up) {
    if (options.what.isEmpty()) return {};
    QTextDocument::FindFlags flags;
    if (options.matchCase) flags |= QTextDocument::FindCaseSensitively;
    if (options.wholeWord) flags |= QTextDocument::FindWholeWords;
    if (up) flags |= QTextDocument::FindBackward;

    QTextCursor found = document.find(options.what, from, flags);
    if (found.isNull()) {
        const int restart = up ? document.characterCount() - 1 : 0;
        found = document.find(options.what, restart, flags);
    }
    return found;
}

}  // namespace quillfen
