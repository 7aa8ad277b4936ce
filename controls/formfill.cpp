#include "controls/formfill.h"

#include <QEvent>
#include <QPainter>

CtlFormFill::CtlFormFill(QWidget* target, QObject* parent) : QObject(parent), target_(target) {
  if (target_) target_->installEventFilter(this);
}

CtlFormFill::~CtlFormFill() {
  if (target_) target_->removeEventFilter(this);
}

void CtlFormFill::SetImageList(const CtlCustomImageList* list, int list_index, int image_index) {
  list_ = list;
  if (list_index >= 0) list_index_ = list_index;
  if (image_index >= 0) image_index_ = image_index;
  if (target_) target_->update();
}

void CtlFormFill::SetFormColor(CtlColor c) {
  form_color_ = c;
  if (target_) target_->update();
}

void CtlFormFill::SetAlignment(CtlAlignment a) {
  alignment_ = a;
  if (target_) target_->update();
}

void CtlFormFill::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  if (target_) target_->update();
}

bool CtlFormFill::PaintBackground(QPainter& p, const QRect& client) const {
  if (IsEmpty()) return false;
  CtlPreparePainter(p);
  // The fill covers one pixel more than the client area, as the form's own erase does.
  QRect r = client.adjusted(0, 0, 1, 1);
  CtlFillRect(p, r, ColorToRgb(form_color_));
  QImage img = list_->GetImage(list_index_, image_index_);
  p.drawImage(AlignRect(alignment_, img.size(), r).topLeft(), img);
  return true;
}

bool CtlFormFill::eventFilter(QObject* o, QEvent* e) {
  if (enabled_ && o == target_ && e->type() == QEvent::Paint && !IsEmpty()) {
    QPainter p(target_);
    PaintBackground(p, target_->rect());
    return true;
  }
  if (enabled_ && o == target_ && e->type() == QEvent::Resize) target_->update();
  return QObject::eventFilter(o, e);
}
