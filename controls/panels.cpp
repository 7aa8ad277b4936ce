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

int CtlCustomBevelPanel::WindowEdgeWidth() const {
  if (bevel_.Mode() != bmWindows || !bevel_.WindowBorder()) return 0;
  return Ctl3D() ? 2 : 1;
}

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

void CtlCustomBevelPanel::UpdateMargins() {
  const QRect probe(0, 0, 1000, 1000);
  QRect c = bevel_.GetClientRect(probe);
  int e = WindowEdgeWidth();
  setContentsMargins(e + c.left(), e + c.top(), e + probe.width() - c.left() - c.width(),
                     e + probe.height() - c.top() - c.height());
}

void CtlCustomBevelPanel::PaintWindowEdge(QPainter& p) {
  int e = WindowEdgeWidth();
  if (e == 2) {
    QRect r = rect();
    CtlDrawEdge(p, r, BDR_SUNKENOUTER | BDR_SUNKENINNER, BF_RECT);
  } else if (e == 1) {
    CtlFrameRect(p, rect(), ColorToRgb(clWindowFrame));
  }
}

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
