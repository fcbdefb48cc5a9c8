#include "ui_qt/image_button.h"

#include <QPainter>

#include "ui_qt/bitmap_set.h"

namespace tavlix::ui_qt {

ImageButton::ImageButton(QWidget* parent, int bitmap_id) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  SetBitmap(bitmap_id);
}

void ImageButton::SetBitmap(int id) {
  if (id == bitmap_id_) return;
  bitmap_id_ = id;
  update();
}

void ImageButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, LoadBitmapById(bitmap_id_));
}

}  // namespace tavlix::ui_qt
