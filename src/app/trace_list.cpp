#include "app/trace_list.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>
#include <QScrollBar>

#include "app/trace_icons.h"
#include "editor/view/script_highlighter.h"

namespace quillfen {

namespace {

constexpr int kColourRole = Qt::UserRole;
constexpr int kIconRole = Qt::UserRole + 1;
constexpr int kTextGap = 4;  // between the icon column and the text

}  // namespace

std::string traceClipboardText(const std::vector<TraceEntry>& entries) {
    std::string text;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += entries[i].text;
    }
    return text;
}

TraceList::TraceList(QWidget* parent)
    : QListWidget(parent), strip_(traceIconStrip()), background_(Qt::white), normal_(Qt::black) {
    setItemDelegate(new TraceDelegate(*this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(false);
    setWordWrap(false);
    setColours(0x00FFFFFF, 0);
}

void TraceList::setColours(ColourValue background, ColourValue normal) {
    background_ = toQColor(background);
    normal_ = toQColor(normal);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, background_);
    colours.setColor(QPalette::Text, normal_);
    setPalette(colours);
    viewport()->update();
}

void TraceList::addEntry(const TraceEntry& entry) {
    auto* item = new QListWidgetItem(QString::fromStdString(entry.text), this);
    item->setData(kColourRole, static_cast<uint>(entry.colour));
    item->setData(kIconRole, entry.icon);
    setCurrentItem(item);
    scrollToItem(item);
    // A new row lies at the left edge; keep the sideways position where the user left it.
}

void TraceList::clearEntries() {
    clear();
    horizontalScrollBar()->setValue(0);
}

std::vector<TraceEntry> TraceList::entries() const {
    std::vector<TraceEntry> all;
    all.reserve(static_cast<std::size_t>(count()));
    for (int i = 0; i < count(); ++i) {
        const QListWidgetItem* row = item(i);
        all.push_back({row->text().toStdString(),
                       static_cast<ColourValue>(row->data(kColourRole).toUInt()),
                       row->data(kIconRole).toInt()});
    }
    return all;
}

void TraceList::copyToClipboard() const {
    QApplication::clipboard()->setText(QString::fromStdString(traceClipboardText(entries())));
}

void TraceList::mouseDoubleClickEvent(QMouseEvent* /*event*/) {
    clearEntries();
}

void TraceDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const QRect row = option.rect;
    painter->fillRect(row, list_.backgroundColour());
    const int icon = index.data(kIconRole).toInt();
    if (icon >= 0 && icon < kTraceIconCount) {
        const int top = row.top() + (row.height() - kTraceIconSize) / 2;
        painter->drawImage(QPoint(row.left(), top), list_.iconStrip(),
                           QRect(icon * kTraceIconSize, 0, kTraceIconSize, kTraceIconSize));
    }
    const auto colour = static_cast<ColourValue>(index.data(kColourRole).toUInt());
    painter->setPen(colour == trace_colour::kNormal ? list_.normalColour() : toQColor(colour));
    painter->setFont(option.font);
    const QRect textRect = row.adjusted(kTraceIconSize + kTextGap, 0, 0, 0);
    painter->drawText(textRect,
                      Qt::AlignLeft | Qt::AlignVCenter | Qt::TextExpandTabs | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
}

QSize TraceDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize text = option.fontMetrics.size(Qt::TextExpandTabs | Qt::TextSingleLine,
                                               index.data(Qt::DisplayRole).toString());
    return {kTraceIconSize + kTextGap + text.width() + kTextGap,
            std::max(kTraceIconSize, text.height()) + 2};
}

}  // namespace quillfen
