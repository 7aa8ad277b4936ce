// Button painted as a shape on the graphic button base: state colours,
// shadow or 3D style, a caption with an "&" accelerator, and presses that
// count only inside the painted shape.
#pragma once

#include "controls/shape.h"
#include "controls/graphicbutton.h"

enum CtlShapeButtonStyle : std::uint8_t { sbsShadow, sbs3D };

struct CtlShapeButtonColor {
  CtlColor Disabled = clBtnFace, Down = clBtnFace, MouseOver = clBtnFace, OptionSet = clBtnFace, Up = clBtnFace;
};

class CtlShapeButton : public CtlBaseGraphicButton {
  Q_OBJECT
 public:
  explicit CtlShapeButton(QWidget* parent = nullptr);

  CtlShape& Shape() { return shape_; }
  CtlShapeButtonColor& Colors() { return colors_; }
  CtlShapeButtonStyle Style() const { return style_; }
  void SetStyle(CtlShapeButtonStyle s);
  // Recomputes the outline after a change of the shape or the size.
  void Recalc();
  const CtlPointList& Points() const { return points_; }
  // Whether (x, y) lies in the painted shape.
  bool IsInside(int x, int y) const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  bool HasHotLook() const override { return colors_.Up != colors_.MouseOver; }

 private:
  CtlShape shape_;
  CtlShapeButtonColor colors_;
  CtlShapeButtonStyle style_ = sbsShadow;
  CtlPointList points_;
};
