// Button painted as a shape (the speed button's state machine underneath):
// state colours, shadow or 3D style, a caption with an "&" accelerator, and
// presses that count only inside the painted shape.
#pragma once

#include "controls/shape.h"
#include "controls/speedbutton.h"

class QShortcut;

enum CtlShapeButtonStyle : std::uint8_t { sbsShadow, sbs3D };

struct CtlShapeButtonColor {
  CtlColor Disabled = clBtnFace, Down = clBtnFace, MouseOver = clBtnFace, OptionSet = clBtnFace, Up = clBtnFace;
};

class CtlShapeButton : public CtlSpeedButton {
  Q_OBJECT
 public:
  explicit CtlShapeButton(QWidget* parent = nullptr);

  CtlShape& Shape() { return shape_; }
  CtlShapeButtonColor& Colors() { return colors_; }
  CtlShapeButtonStyle Style() const { return style_; }
  void SetStyle(CtlShapeButtonStyle s);
  bool AllowTransparency() const { return allow_transparency_; }
  void SetAllowTransparency(bool a) { allow_transparency_ = a; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  // Recomputes the outline after a change of the shape or the size.
  void Recalc();
  const CtlPointList& Points() const { return points_; }
  // Whether (x, y) lies in the painted shape.
  bool IsInside(int x, int y) const;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  CtlShape shape_;
  CtlShapeButtonColor colors_;
  CtlShapeButtonStyle style_ = sbsShadow;
  bool allow_transparency_ = true;
  bool press_inside_ = false;
  QString caption_;
  CtlPointList points_;
  QShortcut* accelerator_ = nullptr;
};
