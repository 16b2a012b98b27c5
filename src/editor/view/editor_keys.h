#pragma once
// The editor's key table: which key runs which command. Keys not in the table get the
// ordinary editing behaviour (typing, caret movement, Delete, Backspace).

#include <Qt>
#include <optional>

namespace quillfen {

enum class EditorCommand {
    Run,
    CheckScript,
    Load,
    Save,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    SelectAll,
    Find,
    FindNext,
    FindPrevious,
    DeleteWordBefore,
    Indent,
    Unindent,
    ToggleOverwrite,
    ScrollLineUp,
    ScrollLineDown,
    GoToBookmark,  // number 0..9
    SetBookmark,   // number 0..9
    TogglePlainBookmark,
    NextBookmark,
    PreviousBookmark,
    ClearBookmarks,
};

struct KeyCommand {
    EditorCommand command;
    int number = 0;  // the bookmark of GoToBookmark and SetBookmark

    friend bool operator==(const KeyCommand&, const KeyCommand&) = default;
};

/// The command of `key` pressed with `modifiers` (the keypad flag is ignored), if any.
std::optional<KeyCommand> commandForKey(int key, Qt::KeyboardModifiers modifiers);

}  // namespace quillfen
