// Windowed containers with a bevel. Children placed by a layout sit inside
// the bevel: the contents margins follow the bevel's insets. In bmWindows the
// panel draws its own sunken client edge (a window-frame line without Ctl3D).
#pragma once

#include <QMargins>
#include <QPixmap>

#include "controls/basecontrols.h"

// The client edge a bevel in bmWindows asks of its windowed owner: 2 pixels
// with Ctl3D, else 1; 0 in the other modes or without the window-border flag.
int CtlWindowEdgeWidth(const CtlBevel& bevel, bool ctl3d);
// The margins of the area inside that edge and the bevel.
QMargins CtlBevelMargins(const CtlBevel& bevel, int edge);
// The sunken client edge (2) or the plain frame (1) around `r`.
void CtlPaintWindowEdge(QPainter& p, const QRect& r, int edge);

class CtlCustomPanel : public CtlCustomControl {
  Q_OBJECT
 public:
  explicit CtlCustomPanel(QWidget* parent = nullptr);

  bool Locked() const { return locked_; }
  void SetLocked(bool on) { locked_ = on; }
  // Transparent over a showing library parent that supplies a background itself.
  bool CanSupplyBack() const override;

 private:
  bool locked_ = false;
};

class CtlCustomBevelPanel : public CtlCustomPanel {
  Q_OBJECT
 public:
  explicit CtlCustomBevelPanel(QWidget* parent = nullptr);
  ~CtlCustomBevelPanel() override;

  CtlBevel& Bevel() { return bevel_; }
  const CtlBevel& Bevel() const { return bevel_; }
  void SetBevel(const CtlBevel& b) { bevel_.Assign(b); }
  bool NoBorder() const override { return bevel_.BevelExtend() == 0 && bevel_.Mode() != bmWindows; }
  // Width of the client edge the panel draws itself in bmWindows: 2 with Ctl3D, else 1.
  int WindowEdgeWidth() const;
  // The area inside the client edge and the bevel, where children go.
  QRect ClientRect() const { return bevel_.GetClientRect(EdgeRect()); }
  // A bevel change sets the window-border flag and moves the children.
  void GetChange(CtlObject* sender) override;

 protected:
  // The rectangle inside the client edge.
  QRect EdgeRect() const;
  void Ctl3DChanged() override;
  void UpdateMargins();
  void PaintWindowEdge(QPainter& p);
  // The bevel, or the flat look when Flat and neither focused nor hovered.
  void PaintFrame(QPainter& p);
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
};

// The plain bevelled panel.
class CtlSimplePanel : public CtlCustomBevelPanel {
  Q_OBJECT
 public:
  explicit CtlSimplePanel(QWidget* parent = nullptr) : CtlCustomBevelPanel(parent) {}
};

// Bevelled panel that can hold a picture of its own as background: the
// list entry tiled from the top left into a buffer of the panel's size. The
// buffer is rebuilt on resize and on a change of the entry, and freed when the
// entry is missing or the panel is Transparent.
class CtlCustomParentPanel : public CtlCustomBevelPanel {
  Q_OBJECT
 public:
  explicit CtlCustomParentPanel(QWidget* parent = nullptr);

  bool QuickDraw() const { return quick_draw_; }  // kept; palettes do nothing here
  void SetQuickDraw(bool on) { quick_draw_ = on; }
  bool HasBuffer() const { return !buffer_.isNull(); }
  // The picture built for the panel's size, kept while size and entry stay.
  const QPixmap& Buffer() const { return buffer_; }
  // True with a buffer; otherwise as a plain panel when Transparent.
  bool CanSupplyBack() const override;
  bool IsTransparent() const override { return HasBuffer() || CanSupplyBack(); }
  bool NoBorder() const override { return CtlCustomBevelPanel::NoBorder() && !HasEntry(); }

 protected:
  // Makes or frees the buffer; unless forced, a buffer of the right size stays.
  virtual void BuildBackground(bool force);
  void PaintBackground(QPainter& p) override;
  void ImageListChanged() override;
  void TransparentChanged() override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  bool quick_draw_ = false;
  QPixmap buffer_;
};

// Base of status bars; labels placed on one add its text offset.
class CtlCustomStatusBar : public CtlCustomBevelPanel {
  Q_OBJECT
 public:
  virtual int TextOffset() const { return 0; }

 protected:
  explicit CtlCustomStatusBar(QWidget* parent = nullptr) : CtlCustomBevelPanel(parent) {}
};
