#include "controls/fill.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

CtlFill::CtlFill(QWidget* parent) : CtlGraphicControl(parent) {
  SetColor(clWindow);
  fill_.OnChange = [this](CtlObject*) { FillChanged(); };
  caption_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
  FillChanged();
}

CtlFill::~CtlFill() {
  fill_.OnChange = nullptr;
  caption_.OnChange = nullptr;
}

void CtlFill::FillChanged() {
  SetTransparent(fill_.IsTransparent());
  GetChange(&fill_);
}

void CtlFill::ImageListChanged() { fill_.SetListBitmap(Entry().Picture()); }

void CtlFill::SetAlign(CtlAlign a) {
  if (a == align_) return;
  if (align_ != alNone && parentWidget()) parentWidget()->removeEventFilter(this);
  align_ = a;
  if (align_ != alNone && parentWidget()) parentWidget()->installEventFilter(this);
  Realign();
}

void CtlFill::Realign() {
  QWidget* parent = parentWidget();
  if (align_ == alNone || !parent) return;
  const QRect c = parent->contentsRect();
  switch (align_) {
    case alTop: setGeometry(c.left(), c.top(), c.width(), height()); break;
    case alBottom: setGeometry(c.left(), c.bottom() + 1 - height(), c.width(), height()); break;
    case alLeft: setGeometry(c.left(), c.top(), width(), c.height()); break;
    case alRight: setGeometry(c.right() + 1 - width(), c.top(), width(), c.height()); break;
    default: setGeometry(c); break;
  }
}

bool CtlFill::eventFilter(QObject* watched, QEvent* e) {
  if (watched == parentWidget() && (e->type() == QEvent::Resize || e->type() == QEvent::ContentsRectChange))
    Realign();
  return CtlGraphicControl::eventFilter(watched, e);
}

void CtlFill::mouseReleaseEvent(QMouseEvent* e) {
  CtlGraphicControl::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
}

void CtlFill::mouseDoubleClickEvent(QMouseEvent* e) {
  CtlGraphicControl::mouseDoubleClickEvent(e);
  if (e->button() == Qt::LeftButton) emit dblClicked();
}

void CtlFill::paintEvent(QPaintEvent* e) {
  if (NoBorder()) {
    CtlGraphicControl::paintEvent(e);
    return;
  }
  QPainter p(this);
  CtlPreparePainter(p);
  const QRect inner = Bevel().PaintBevel(p, rect(), Transparent());
  // Patterns start at the parent's origin, so neighbouring fills join up.
  p.setBrushOrigin(-pos());
  fill_.FillCanvas(p, inner, Color());
  p.setBrushOrigin(0, 0);
  if (!caption_.Caption().isEmpty()) caption_.DrawCaption(p, inner, true, ColorToRgb(caption_.FontColor()), isEnabled());
}
