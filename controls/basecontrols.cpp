#include "controls/basecontrols.h"

#include <QEnterEvent>
#include <QMetaObject>
#include <QPainter>

#include "controls/parentcolor.h"

CtlImageEntry::CtlImageEntry(std::function<void()> changed) : changed_(std::move(changed)) {
  link_.OnChange = [this](CtlBaseContainer*) { changed_(); };
}

CtlImageEntry::~CtlImageEntry() {
  QObject::disconnect(destroyed_);
  link_.OnChange = nullptr;
}

void CtlImageEntry::SetList(const CtlCustomImageList* list) {
  if (list == List()) return;
  if (auto* old = link_.Container()) old->RemoveLink(&link_);
  QObject::disconnect(destroyed_);
  list_ = list;
  if (list) {
    auto* container = const_cast<CtlCustomImageList*>(list);
    container->AddLink(&link_);
    // The container has already let go of the link; only repaint.
    destroyed_ = QObject::connect(container, &QObject::destroyed, [this] {
      list_ = nullptr;
      changed_();
    });
  }
  changed_();
}

void CtlImageEntry::SetIndex(int& field, int value) {
  if (value < 0 || value == field) return;
  field = value;
  if (List()) changed_();
}

QSize CtlImageEntry::ItemSize() const {
  if (!List()) return {};
  return QSize(List()->GetDimension(list_index_, 0), List()->GetDimension(list_index_, 1));
}

void CtlControlRoot::SetColor(CtlColor c) {
  if (!CtlStore(color_, c)) return;
  ColorChanged();
  CtlParentColorChanged(*this);
}

void CtlControlRoot::GetChange(CtlObject*) { update(); }

void CtlControlRoot::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  MouseEnter();
}

void CtlControlRoot::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  MouseExit();
}

CtlCustomControl::CtlCustomControl(QWidget* parent) : CtlControlRoot(parent) {
  resize(100, 40);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent, true);
}

void CtlCustomControl::SetTransparent(bool t) {
  if (!CtlStore(transparent_, t)) return;
  setAttribute(Qt::WA_OpaquePaintEvent, !t);
  TransparentChanged();
}

void CtlCustomControl::SetFlat(bool f) { if (CtlStore(flat_, f)) update(); }

void CtlCustomControl::SetCtl3D(bool on) { if (CtlStore(ctl3d_, on)) Ctl3DChanged(); }

void CtlCustomControl::GetChange(CtlObject*) {
  if (repaint_on_change_) update();
}

void CtlCustomControl::PaintBackground(QPainter& p) {
  if (IsTransparent()) return;
  CtlFillRect(p, rect(), ColorToRgb(Color()));
}

void CtlCustomControl::MouseEnter() {
  emit mouseEntered();
  mouse_inside_ = true;
  if (flat_) update();
}

void CtlCustomControl::MouseExit() {
  mouse_inside_ = false;
  if (flat_ && !focused_) update();
  emit mouseExited();
}

void CtlCustomControl::DrawFlatInactive(QPainter& p) {
  if (!flat_ || focused_ || mouse_inside_) return;
  QColor face = ColorToRgb(clBtnFace);
  CtlFrameRect(p, rect(), face);
  if (ctl3d_) CtlFrameRect(p, rect().adjusted(1, 1, -1, -1), face);
}

void CtlCustomControl::DrawFlatActive(QPainter& p) {
  int w = width(), h = height();
  if (ctl3d_) {
    CtlFrameRect(p, QRect(1, 1, w - 1, h - 1), ColorToRgb(clWindowFrame));
    CtlFrameRect(p, QRect(0, 0, w - 1, h - 1), ColorToRgb(clBtnFace));
    QRect r = rect();
    CtlDrawEdge(p, r, BDR_SUNKENOUTER, BF_RECT);
  } else {
    CtlFrameRect(p, rect(), ColorToRgb(clWindowFrame));
  }
}

void CtlCustomControl::DrawFlatBorder(QPainter& p) {
  if (!flat_) return;
  if (focused_ || mouse_inside_) DrawFlatActive(p);
  else DrawFlatInactive(p);
}

void CtlCustomControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  PaintBackground(p);
  DrawFlatBorder(p);
}

void CtlCustomControl::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  focused_ = true;
  if (flat_) update();
  QMetaObject::invokeMethod(this, [this] { emit afterEnter(); }, Qt::QueuedConnection);
}

void CtlCustomControl::focusOutEvent(QFocusEvent* e) {
  focused_ = false;
  if (flat_) update();
  QWidget::focusOutEvent(e);
  QMetaObject::invokeMethod(this, [this] { emit afterExit(); }, Qt::QueuedConnection);
}

CtlBaseControl::CtlBaseControl(QWidget* parent) : CtlControlRoot(parent) { setFocusPolicy(Qt::NoFocus); }

void CtlBaseControl::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  BoundsChanged(kPositionChanged);
}

void CtlBaseControl::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  BoundsChanged(kSizeChanged);
}

CtlBaseGraphicControl::CtlBaseGraphicControl(QWidget* parent) : CtlBaseControl(parent) { resize(30, 30); }

void CtlBaseGraphicControl::SetTransparent(bool t) { if (CtlStore(transparent_, t)) GetChange(nullptr); }

bool CtlBaseGraphicControl::IsTransparent() const {
  auto* parent = qobject_cast<const CtlCustomControl*>(parentWidget());
  return transparent_ && parent && parent->isVisible() && parent->CanSupplyBack();
}

CtlGraphicControl::CtlGraphicControl(QWidget* parent) : CtlBaseGraphicControl(parent) {
  bevel_.OnChange = [this](CtlObject* sender) { GetChange(sender); };
}

CtlGraphicControl::~CtlGraphicControl() { bevel_.OnChange = nullptr; }

void CtlGraphicControl::paintEvent(QPaintEvent*) {
  if (NoBorder() && bevel_.BevelExtend() == 0) return;
  QPainter p(this);
  CtlPreparePainter(p);
  bevel_.PaintBevel(p, rect(), Transparent());
}
