#include "controls/panels.h"

#include <QPainter>

CtlCustomPanel::CtlCustomPanel(QWidget* parent) : CtlCustomControl(parent) {}

bool CtlCustomPanel::CanSupplyBack() const {
  auto* parent = qobject_cast<const CtlCustomControl*>(parentWidget());
  return Transparent() && parent && parent->isVisible() && parent->CanSupplyBack();
}

CtlCustomBevelPanel::CtlCustomBevelPanel(QWidget* parent) : CtlCustomPanel(parent) {
  bevel_.SetWindowBorder(true);
  bevel_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
  UpdateMargins();
}

CtlCustomBevelPanel::~CtlCustomBevelPanel() { bevel_.OnChange = nullptr; }

int CtlWindowEdgeWidth(const CtlBevel& bevel, bool ctl3d) {
  if (bevel.Mode() != bmWindows || !bevel.WindowBorder()) return 0;
  return ctl3d ? 2 : 1;
}

QMargins CtlBevelMargins(const CtlBevel& bevel, int e) {
  const QRect probe(0, 0, 1000, 1000);
  const QRect c = bevel.GetClientRect(probe);
  return QMargins(e + c.left(), e + c.top(), e + probe.width() - c.left() - c.width(),
                  e + probe.height() - c.top() - c.height());
}

void CtlPaintWindowEdge(QPainter& p, const QRect& r, int edge) {
  if (edge == 2) {
    QRect frame = r;
    CtlDrawEdge(p, frame, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT);
  } else if (edge == 1) {
    CtlFrameRect(p, r, ColorToRgb(clWindowFrame));
  }
}

int CtlCustomBevelPanel::WindowEdgeWidth() const { return CtlWindowEdgeWidth(bevel_, Ctl3D()); }

QRect CtlCustomBevelPanel::EdgeRect() const {
  int e = WindowEdgeWidth();
  return rect().adjusted(e, e, -e, -e);
}

void CtlCustomBevelPanel::GetChange(CtlObject* sender) {
  if (sender == &bevel_) {
    bevel_.SetWindowBorder(true);
    bevel_.NeedsRecreate();  // no window to rebuild: the margins follow below
    UpdateMargins();
  }
  CtlCustomPanel::GetChange(sender);
}

void CtlCustomBevelPanel::Ctl3DChanged() {
  UpdateMargins();
  update();
}

void CtlCustomBevelPanel::UpdateMargins() { setContentsMargins(CtlBevelMargins(bevel_, WindowEdgeWidth())); }

void CtlCustomBevelPanel::PaintWindowEdge(QPainter& p) { CtlPaintWindowEdge(p, rect(), WindowEdgeWidth()); }

void CtlCustomBevelPanel::PaintFrame(QPainter& p) {
  bool active = Focused() || MouseInside();
  if (Flat() && bevel_.Mode() == bmWindows) {
    DrawFlatBorder(p);
    return;
  }
  // Inactive flat look: the bands keep the background painted before.
  if (Flat() && !active) return;
  bevel_.PaintBevel(p, EdgeRect(), Flat() || Transparent());
}

void CtlCustomBevelPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  PaintBackground(p);
  PaintWindowEdge(p);
  PaintFrame(p);
}

CtlCustomParentPanel::CtlCustomParentPanel(QWidget* parent) : CtlCustomBevelPanel(parent) {}

bool CtlCustomParentPanel::CanSupplyBack() const {
  if (HasBuffer()) return true;
  // Under a form a background comes only from a shaped form, which this library has not.
  return Transparent() && CtlCustomBevelPanel::CanSupplyBack();
}

void CtlCustomParentPanel::BuildBackground(bool force) {
  if (!HasEntry() || Transparent()) {
    buffer_ = QPixmap();
    return;
  }
  if (!force && buffer_.size() == size()) return;
  if (width() <= 0 || height() <= 0) return;
  QImage img(size(), QImage::Format_RGB32);
  img.fill(ColorToRgb(Color()));
  {
    QPainter p(&img);
    ImageList()->DrawInRect(p, img.rect(), ListIndex(), ImageIndex(), dbTile);
  }
  buffer_ = QPixmap::fromImage(img);
}

void CtlCustomParentPanel::ImageListChanged() {
  BuildBackground(true);
  GetChange(nullptr);
  // Transparent children show the new picture.
  for (QWidget* child : findChildren<QWidget*>()) child->update();
}

void CtlCustomParentPanel::TransparentChanged() {
  BuildBackground(true);
  update();
}

void CtlCustomParentPanel::resizeEvent(QResizeEvent* e) {
  CtlCustomBevelPanel::resizeEvent(e);
  BuildBackground(false);
}

void CtlCustomParentPanel::PaintBackground(QPainter& p) {
  if (HasBuffer()) p.drawPixmap(0, 0, buffer_);
  else CtlCustomBevelPanel::PaintBackground(p);
}

void CtlCustomParentPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  PaintBackground(p);
  PaintWindowEdge(p);
  // The flat bands never paint over the picture.
  if (!NoBorder()) Bevel().PaintBevel(p, EdgeRect(), true);
}
