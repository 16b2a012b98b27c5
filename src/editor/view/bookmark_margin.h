#pragma once
// The strip left of the text where bookmarks are shown.

#include <QWidget>

namespace quillfen {

class CMyCrystalView;

class BookmarkMargin : public QWidget {
  public:
    /// A margin of `view`, which paints it (and owns it as its child).
    explicit BookmarkMargin(CMyCrystalView& view);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    CMyCrystalView& view_;
};

}  // namespace quillfen
