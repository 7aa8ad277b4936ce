// A panel that paints its bevel, its fill and a caption behind its children.
// Children that paint no background of their own show the fill through Qt's
// composition; the fill's list picture comes from the panel's image-list entry.
#pragma once

#include "controls/panels.h"
#include "controls/paintkit.h"
#include "controls/properties.h"

class CtlPanelFill : public CtlCustomParentPanel {
  Q_OBJECT
 public:
  explicit CtlPanelFill(QWidget* parent = nullptr);
  ~CtlPanelFill() override;

  CtlFillObject& FillObject() { return fill_; }
  void SetFillObject(const CtlFillObject& f) { fill_.Assign(f); }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  CtlFxCaption& FontFx() { return fontfx_; }
  void SetFontFx(const CtlFxCaption& fx) { fontfx_.Assign(fx); }
  CtlAlignment Alignment() const { return alignment_; }
  void SetAlignment(CtlAlignment a);
  CtlColor FontColor() const { return font_color_; }
  void SetFontColor(CtlColor c);
  // The bevel's area is left to the parent: nothing is painted under it.
  bool TransparentBorder() const { return transparent_border_; }
  void SetTransparentBorder(bool on);
  // The fill is what the children see.
  bool CanSupplyBack() const override { return !fill_.IsEmpty() || CtlCustomParentPanel::CanSupplyBack(); }
  bool NoBorder() const override { return CtlCustomBevelPanel::NoBorder(); }

 protected:
  // The entry feeds the fill's list picture; the panel keeps no picture buffer.
  void ImageListChanged() override;
  void BuildBackground(bool) override {}
  void TransparentChanged() override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;

 private:
  void Opaque();
  CtlFillObject fill_;
  QString caption_;
  CtlFxCaption fontfx_;
  CtlAlignment alignment_ = agCenter;
  CtlColor font_color_ = clBtnText;
  bool transparent_border_ = false;
};
