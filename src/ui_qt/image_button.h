// A toolbar button drawn as nothing but its current bitmap, at the top-left
// corner and at its own size (the 25 x 14 title-strip pictures overhang their
// 25 x 13 buttons by a row, which is cut). It never greys or frames itself:
// every look, the disabled one included, is a bitmap that the window sets.
// Not a tab stop. GUI thread only.
#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace tavlix::ui_qt {

class ImageButton final : public QAbstractButton {
  Q_OBJECT
 public:
  ImageButton(QWidget* parent, int bitmap_id);

  // Shows the bitmap `id` of the program's resources.
  void SetBitmap(int id);
  int bitmap() const { return bitmap_id_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int bitmap_id_ = 0;
};

}  // namespace tavlix::ui_qt
