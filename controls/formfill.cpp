#include "controls/formfill.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QScrollBar>

CtlCustomFormFill::CtlCustomFormFill(QWidget* form) : CtlWndProcComponent(form) { Init(); }

CtlCustomFormFill::~CtlCustomFormFill() { Done(); }

void CtlCustomFormFill::Init() {
  CtlWndProcComponent::Init();
  QWidget* target = HookedWidget();
  if (!target || !scrolls_.empty()) return;
  auto* area = qobject_cast<QAbstractScrollArea*>(target->parentWidget());
  if (!area || area->viewport() != target) area = qobject_cast<QAbstractScrollArea*>(target);
  if (!area) return;
  for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar()})
    scrolls_.push_back(connect(bar, &QScrollBar::valueChanged, this, [this] { Invalidate(); }));
}

void CtlCustomFormFill::Done() {
  for (const auto& c : scrolls_) disconnect(c);
  scrolls_.clear();
  CtlWndProcComponent::Done();
}

void CtlCustomFormFill::SetFormColor(CtlColor c) { if (CtlStore(form_color_, c)) Invalidate(); }

void CtlCustomFormFill::SetPaintMode(CtlPaintMode m) { if (CtlStore(paint_mode_, m)) FillChanged(); }

void CtlCustomFormFill::Invalidate() {
  if (QWidget* w = HookedWidget()) w->update();
}

void CtlCustomFormFill::FillChanged() {
  erase_on_resize_ = true;
  if (Enabled()) {
    rebuild_pending_ = true;
    Invalidate();
  }
}

bool CtlCustomFormFill::PaintBackground(QPainter& p, const QRect& client) {
  if (paint_mode_ != pcOwnerDraw || !OnPaint) return false;
  if (default_fill_) CtlFillRect(p, client, ColorToRgb(form_color_));
  OnPaint(p, client);
  return true;
}

bool CtlCustomFormFill::WndProc(QObject* watched, QEvent* e) {
  QWidget* target = HookedWidget();
  if (watched != target) return false;
  switch (e->type()) {
    case QEvent::Resize:
      rebuild_pending_ = true;
      target->update();
      return false;
    case QEvent::Paint: {
      bool painted;
      {
        QPainter p(target);
        CtlPreparePainter(p);
        painted = PaintBackground(p, target->rect());
      }
      // The MDI area would paint its own background over ours; a form paints on top.
      return painted && FormKind() == fkMdiMain;
    }
    default: return false;
  }
}

CtlFormFill::CtlFormFill(QWidget* form) : CtlCustomFormFill(form) {
  fill_.OnChange = [this](CtlObject*) { FillChanged(); };
  FillChanged();
}

CtlFormFill::~CtlFormFill() { fill_.OnChange = nullptr; }

void CtlFormFill::ImageListChanged() {
  fill_.SetListBitmap(Entry().Picture());  // notifies FillChanged
}

void CtlFormFill::FillChanged() {
  if (PaintMode() == pcControl && fill_.Style() != sfGradient) buffer_ = QImage();
  CtlCustomFormFill::FillChanged();
  // A tiled picture looks the same at any size.
  const bool tiled = (fill_.Style() == sfBitmap || fill_.Style() == sfBitmapList) && fill_.TileMode() == tmTile;
  erase_on_resize_ = PaintMode() == pcOwnerDraw || !tiled;
}

bool CtlFormFill::PaintBackground(QPainter& p, const QRect& client) {
  if (PaintMode() != pcControl || fill_.IsEmpty()) return CtlCustomFormFill::PaintBackground(p, client);
  if (fill_.Style() != sfGradient)
    return fill_.FillCanvas(p, QRect(0, 0, client.width() + 1, client.height() + 1), FormColor());
  if (rebuild_pending_ || buffer_.size() != client.size()) {
    buffer_ = QImage(client.size(), QImage::Format_RGB32);
    QPainter b(&buffer_);
    fill_.Gradient().Paint(b, buffer_.rect(), 0);
    rebuild_pending_ = false;
  }
  p.drawImage(0, 0, buffer_);
  return true;
}
