#include "controls/backpanel.h"

#include <QPainter>

CtlBackPanel::CtlBackPanel(QWidget* parent) : QWidget(parent) {
  resize(100, 40);
  setAttribute(Qt::WA_OpaquePaintEvent);
  bevel_.OnChange = [this](CtlObject*) { update(); };
}

void CtlBackPanel::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  list_ = list;
  if (list_index >= 0) list_index_ = list_index;
  if (image_index >= 0) image_index_ = image_index;
  BuildBackground(true);
  update();
}

void CtlBackPanel::BuildBackground(bool force) {
  if (!HasEntry()) {
    buffer_ = QImage();
    return;
  }
  if (!force && !buffer_.isNull() && buffer_.size() == size()) return;
  if (width() <= 0 || height() <= 0) return;
  buffer_ = QImage(size(), QImage::Format_RGB32);
  buffer_.fill(ColorToRgb(color_));
  QPainter p(&buffer_);
  DrawBitmapStyled(p, buffer_.rect(), list_->GetImage(list_index_, image_index_), QColor(), dbTile);
  ++builds_;
}

void CtlBackPanel::resizeEvent(QResizeEvent*) { BuildBackground(false); }

void CtlBackPanel::paintEvent(QPaintEvent*) {
  BuildBackground(false);
  QPainter p(this);
  CtlPreparePainter(p);
  if (!buffer_.isNull()) {
    p.drawImage(0, 0, buffer_);
    bevel_.PaintBevel(p, rect(), true);
  } else {
    CtlFillRect(p, rect(), ColorToRgb(color_));
    bevel_.PaintBevel(p, rect(), false);
  }
}
