#include "controls/scrollbox.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "controls/panels.h"

CtlCustomScrollBox::CtlCustomScrollBox(QWidget* parent) : QScrollArea(parent) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  bevel_.SetMode(bmWindows);
  bevel_.SetWindowBorder(true);
  bevel_.OnChange = [this](CtlObject*) {
    bevel_.SetWindowBorder(true);
    UpdateMargins();
    update();
  };
  UpdateMargins();
  resize(185, 41);
}

CtlCustomScrollBox::~CtlCustomScrollBox() { bevel_.OnChange = nullptr; }

int CtlCustomScrollBox::WindowEdgeWidth() const { return CtlWindowEdgeWidth(bevel_, ctl3d_); }

void CtlCustomScrollBox::SetCtl3D(bool on) {
  if (!CtlStore(ctl3d_, on)) return;
  UpdateMargins();
  update();
}

void CtlCustomScrollBox::SetColor(CtlColor c) { if (CtlStore(color_, c)) update(); }

void CtlCustomScrollBox::UpdateMargins() {
  // The scroll area lays its children out inside its frame (it resets
  // contents margins), so the frame's line is as wide as the widest margin.
  const QMargins m = CtlBevelMargins(bevel_, WindowEdgeWidth());
  setLineWidth(std::max({m.left(), m.top(), m.right(), m.bottom()}));
}

bool CtlCustomScrollBox::event(QEvent* e) {
  if (e->type() != QEvent::Paint) {
    return QScrollArea::event(e);
  }
  // The frame area: background, client edge, bevel. The viewport paints itself.
  QPainter p(this);
  CtlPreparePainter(p);
  CtlFillRect(p, rect(), ColorToRgb(color_));
  const int edge = WindowEdgeWidth();
  CtlPaintWindowEdge(p, rect(), edge);
  bevel_.PaintBevel(p, rect().adjusted(edge, edge, -edge, -edge), false);
  return true;
}
