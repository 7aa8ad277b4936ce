// Button painted as a shape on the graphic button base: state colours,
// shadow or 3D style, a caption with an "&" accelerator, and presses that
// count only inside the painted shape.
#pragma once

#include "controls/shape.h"
#include "controls/graphicbutton.h"

enum CtlShapeButtonStyle : std::uint8_t { sbsShadow, sbs3D };

// Body colours of a shape button per state.
class CtlShapeButtonColor : public CtlObject {
 public:
  enum Index { kDisabled, kDown, kMouseOver, kOptionSet, kUp };
  CtlColor Disabled() const { return colours_[kDisabled]; }
  CtlColor Down() const { return colours_[kDown]; }
  CtlColor MouseOver() const { return colours_[kMouseOver]; }
  CtlColor OptionSet() const { return colours_[kOptionSet]; }
  CtlColor Up() const { return colours_[kUp]; }
  // One setter for the five colours, by index.
  void SetColor(int index, CtlColor c);
  void SetDisabled(CtlColor c) { SetColor(kDisabled, c); }
  void SetDown(CtlColor c) { SetColor(kDown, c); }
  void SetMouseOver(CtlColor c) { SetColor(kMouseOver, c); }
  void SetOptionSet(CtlColor c) { SetColor(kOptionSet, c); }
  void SetUp(CtlColor c) { SetColor(kUp, c); }
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlShapeButtonColor"; }

 private:
  CtlColor colours_[5] = {clBtnFace, clBtnFace, clBtnFace, clBtnFace, clBtnFace};
};

class CtlShapeButton : public CtlBaseGraphicButton {
  Q_OBJECT
 public:
  explicit CtlShapeButton(QWidget* parent = nullptr);
  ~CtlShapeButton() override;

  CtlShape& Shape() { return shape_; }
  CtlShapeButtonColor& Colors() { return colors_; }
  CtlShapeButtonStyle Style() const { return style_; }
  void SetStyle(CtlShapeButtonStyle s);
  // Recomputes the outline; changes of Shape, Colors and the size call it.
  void Recalc();
  const CtlPointList& Points() const { return points_; }
  // Whether (x, y) lies in the painted shape.
  bool IsInside(int x, int y) const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  bool HasHotLook() const override { return colors_.Up() != colors_.MouseOver(); }

 private:
  CtlShape shape_;
  CtlShapeButtonColor colors_;
  CtlShapeButtonStyle style_ = sbsShadow;
  CtlPointList points_;
};
