#pragma once
// Find, Find Next and Find Previous over one editor, with the values kept for the whole run
// and written back to the settings store after each Find.

#include <QPlainTextEdit>
#include <functional>
#include <optional>

#include "editor/view/editor_settings.h"

namespace quillfen {

class FindController {
  public:
    /// Asks the user for the search values; false when cancelled. `options` holds the
    /// initial values and receives the final ones either way.
    using Prompt = std::function<bool(FindOptions& options)>;
    /// Tells the user that nothing was found; receives the whole message.
    using NotFound = std::function<void(const QString& message)>;

    /// Searches in `editor` (not owned; it must outlive this object). By default the prompt
    /// is the Find dialog and "not found" a message box.
    explicit FindController(QPlainTextEdit& editor);

    /// Reads the Find values from `store` on first use and writes them back after each Find
    /// (not owned; it must outlive this object). Without a store they last for the run only.
    void setStore(QSettings& store) { store_ = &store; }
    void setPrompt(Prompt prompt) { prompt_ = std::move(prompt); }
    void setNotFound(NotFound notFound) { notFound_ = std::move(notFound); }

    /// Ctrl+F: takes a one-line selection as the search text, prompts, remembers and writes
    /// the values, then searches unless the prompt was cancelled. Returns whether it found.
    bool find();

    /// F3 (`reverse` false) or Shift+F3: searches again with the kept values. With no search
    /// text yet it behaves as find(). Selects the match; returns whether it found one.
    bool findNext(bool reverse);

    /// The values in force; read from the store on first use.
    const FindOptions& options();

  private:
    bool search(bool up);

    QPlainTextEdit& editor_;
    QSettings* store_ = nullptr;
    std::optional<FindOptions> options_;
    Prompt prompt_;
    NotFound notFound_;
};

}  // namespace quillfen
