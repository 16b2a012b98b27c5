#include "editor/view/bookmark_margin.h"

#include "editor/view/my_crystal_view.h"

namespace quillfen {

BookmarkMargin::BookmarkMargin(CMyCrystalView& view) : QWidget(&view), view_(view) {}

QSize BookmarkMargin::sizeHint() const {
    return {view_.fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2 + 6, 0};
}

void BookmarkMargin::paintEvent(QPaintEvent* event) {
    view_.paintMargin(event);
}

}  // namespace quillfen
