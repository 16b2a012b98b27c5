#pragma once
// The program's own icon, drawn by our code: a film frame with a quill across it.

#include <QIcon>
#include <QImage>

namespace quillfen {

/// The icon drawn at `size` x `size` pixels.
QImage appIconImage(int size);
/// The window icon at the usual sizes.
QIcon appIcon();

}  // namespace quillfen
