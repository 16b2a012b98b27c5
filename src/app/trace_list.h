#pragma once
// The Trace list: one row per Trace entry, drawn on the Script background in the entry's own
// colour (or the normal text colour) with its icon at the left. Selection is never shown; the
// newest entry is scrolled into view and the list scrolls sideways to its widest text.
// A double click clears it.

#include <QImage>
#include <QListWidget>
#include <QStyledItemDelegate>
#include <string>
#include <vector>

#include "output/trace.h"

namespace quillfen {

/// The texts of `entries` joined by carriage return and line feed, with no final line end:
/// what "Copy trace" puts on the clipboard.
std::string traceClipboardText(const std::vector<TraceEntry>& entries);

class TraceList : public QListWidget {
    Q_OBJECT
  public:
    explicit TraceList(QWidget* parent = nullptr);

    /// Background and normal text colours (the Script's "ColorScriptBk" and
    /// "ColorScriptNormal").
    void setColours(ColourValue background, ColourValue normal);

    /// Appends `entry` and scrolls it into view.
    void addEntry(const TraceEntry& entry);
    /// Removes every entry.
    void clearEntries();
    /// Every entry, oldest first.
    std::vector<TraceEntry> entries() const;
    /// Puts traceClipboardText of the entries on the clipboard.
    void copyToClipboard() const;

    const QImage& iconStrip() const { return strip_; }
    QColor backgroundColour() const { return background_; }
    QColor normalColour() const { return normal_; }

  protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    QImage strip_;
    QColor background_;
    QColor normal_;
};

/// Draws one Trace row; selection and focus are not drawn.
class TraceDelegate : public QStyledItemDelegate {
  public:
    explicit TraceDelegate(TraceList& list) : QStyledItemDelegate(&list), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  private:
    TraceList& list_;  // the list that owns this delegate
};

}  // namespace quillfen
