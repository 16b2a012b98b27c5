#include "editor/view/editor_keys.h"

#include <array>

namespace quillfen {

namespace {

struct KeyBinding {
    int key;
    Qt::KeyboardModifiers modifiers;
    EditorCommand command;
};

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

using C = EditorCommand;
const std::array kBindings = {
    KeyBinding{Qt::Key_F5, kNone, C::Run},
    KeyBinding{Qt::Key_F6, kNone, C::CheckScript},
    KeyBinding{Qt::Key_O, kCtrl, C::Load},
    KeyBinding{Qt::Key_S, kCtrl, C::Save},
    KeyBinding{Qt::Key_Z, kCtrl, C::Undo},
    KeyBinding{Qt::Key_Backspace, kAlt, C::Undo},
    KeyBinding{Qt::Key_Y, kCtrl, C::Redo},
    KeyBinding{Qt::Key_X, kCtrl, C::Cut},
    KeyBinding{Qt::Key_Delete, kShift, C::Cut},
    KeyBinding{Qt::Key_C, kCtrl, C::Copy},
    KeyBinding{Qt::Key_Insert, kCtrl, C::Copy},
    KeyBinding{Qt::Key_V, kCtrl, C::Paste},
    KeyBinding{Qt::Key_Insert, kShift, C::Paste},
    KeyBinding{Qt::Key_A, kCtrl, C::SelectAll},
    KeyBinding{Qt::Key_F, kCtrl, C::Find},
    KeyBinding{Qt::Key_F3, kNone, C::FindNext},
    KeyBinding{Qt::Key_F3, kShift, C::FindPrevious},
    KeyBinding{Qt::Key_Backspace, kCtrl, C::DeleteWordBefore},
    KeyBinding{Qt::Key_Tab, kNone, C::Indent},
    KeyBinding{Qt::Key_Backtab, kShift, C::Unindent},
    KeyBinding{Qt::Key_Tab, kShift, C::Unindent},
    KeyBinding{Qt::Key_Insert, kNone, C::ToggleOverwrite},
    KeyBinding{Qt::Key_Up, kCtrl, C::ScrollLineUp},
    KeyBinding{Qt::Key_Down, kCtrl, C::ScrollLineDown},
    KeyBinding{Qt::Key_F2, kCtrl, C::TogglePlainBookmark},
    KeyBinding{Qt::Key_F2, kNone, C::NextBookmark},
    KeyBinding{Qt::Key_F2, kShift, C::PreviousBookmark},
    KeyBinding{Qt::Key_F2, kCtrlShift, C::ClearBookmarks},
};

}  // namespace

std::optional<KeyCommand> commandForKey(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int number = key - Qt::Key_0;
        if (modifiers == kCtrl) return KeyCommand{C::GoToBookmark, number};
        if (modifiers == kAlt) return KeyCommand{C::SetBookmark, number};
        return std::nullopt;
    }
    for (const KeyBinding& binding : kBindings) {
        if (binding.key == key && binding.modifiers == modifiers)
            return KeyCommand{binding.command};
    }
    return std::nullopt;
}

}  // namespace quillfen
