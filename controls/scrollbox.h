// The library's scroll box: a QScrollArea framed by the library's bevel
// (the client edge of bmWindows by default) instead of Qt's frame. The
// viewport and the scroll bars lie inside the edge and the bevel: the frame's
// line width is the widest of their margins.
#pragma once

#include <QScrollArea>

#include "controls/properties.h"

class CtlCustomScrollBox : public QScrollArea {
  Q_OBJECT
 public:
  explicit CtlCustomScrollBox(QWidget* parent = nullptr);
  ~CtlCustomScrollBox() override;

  CtlBevel& Bevel() { return bevel_; }
  const CtlBevel& Bevel() const { return bevel_; }
  void SetBevel(const CtlBevel& b) { bevel_.Assign(b); }
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool on);
  // The colour of the frame area around the viewport.
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);
  // The client edge of bmWindows: 2 with Ctl3D, else 1.
  int WindowEdgeWidth() const;

 protected:
  bool event(QEvent* e) override;

 private:
  void UpdateMargins();

  CtlBevel bevel_;
  bool ctl3d_ = true;
  CtlColor color_ = clBtnFace;
};
