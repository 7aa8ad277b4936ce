// Button painted as a shape on the graphic button base: state colours,
// shadow or 3D style, a caption with an "&" accelerator, and presses that
// count only inside the painted shape.
#pragma once

#include "controls/shape.h"
#include "controls/graphicbutton.h"

enum CtlShapeButtonStyle : std::uint8_t { sbsShadow, sbs3D };
// Fast: the body in the state's colour; fill: the body from ShapeFill, the state shown by moving the shape.
enum CtlShapeButtonMode : std::uint8_t { sbmShapeFast, sbmShapeFill };

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
  CtlShapeButtonMode Mode() const { return mode_; }
  void SetMode(CtlShapeButtonMode m);
  CtlShapeFill& ShapeFill() { return fill_; }
  void SetShapeFill(const CtlShapeFill& f) { fill_.Assign(f); }
  // The fill's list picture from an image list entry; a missing entry empties it.
  const CtlCustomImageList* ShapeFillImageList() const { return fill_entry_.List(); }
  void SetShapeFillImageList(const CtlCustomImageList* list) { fill_entry_.SetList(list); }
  int ShapeFillListIndex() const { return fill_entry_.ListIndex(); }
  void SetShapeFillListIndex(int i) { fill_entry_.SetListIndex(i); }
  int ShapeFillImageIndex() const { return fill_entry_.ImageIndex(); }
  void SetShapeFillImageIndex(int i) { fill_entry_.SetImageIndex(i); }
  // Recomputes the fill picture and the outline; changes of Shape, Colors,
  // ShapeFill and the size call it.
  void Recalc();
  const CtlPointList& Points() const { return points_; }
  // The fill picture of the client's size (sbmShapeFill with a picture or gradient fill).
  const QImage& FillBitmap() const { return fill_bitmap_; }
  // Whether (x, y) lies in the painted shape.
  bool IsInside(int x, int y) const override;

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  bool HasHotLook() const override { return mode_ == sbmShapeFast && colors_.Up() != colors_.MouseOver(); }

 private:
  void RecalcFill();
  // The shadow and bevel of this paint, and how far a down button's shape moves.
  void PaintLook(CtlShadow& shadow, CtlSimpleBevel& bevel, int& move) const;
  void PaintFast(QPainter& p, const CtlShadow& shadow, const CtlSimpleBevel& bevel);
  void PaintFill(QPainter& p, const CtlShadow& shadow, const CtlSimpleBevel& bevel, int move);
  void PaintCaption(QPainter& p, const CtlSimpleBevel& bevel);
  CtlShape shape_;
  CtlShapeButtonColor colors_;
  CtlShapeButtonStyle style_ = sbsShadow;
  CtlShapeButtonMode mode_ = sbmShapeFast;
  CtlShapeFill fill_;
  CtlImageEntry fill_entry_{[this] { fill_.SetListBitmap(fill_entry_.Picture()); }};
  QImage fill_bitmap_;
  CtlPointList points_;
};
