// Tool bar buttons on the graphic button base: the speed button with its face
// styles, hot-only glyph colouring, explorer transparency and an optional
// drop-down strip at its right; the office button is a flat speed button.
#pragma once

#include "controls/graphicbutton.h"

class CtlSpeedButton : public CtlBaseGraphicButton {
  Q_OBJECT
 public:
  explicit CtlSpeedButton(QWidget* parent = nullptr);

  CtlUserButtonStyle Style() const { return style_; }
  void SetStyle(CtlUserButtonStyle style);
  // The explorer styles keep the button transparent.
  void SetTransparent(bool transparent) override;

  bool DropDownCombo() const { return combo_; }
  void SetDropDownCombo(bool combo);
  int DropdownComboWidth() const { return combo_width_; }
  void SetDropdownComboWidth(int width);
  void SetDropDownMenu(QMenu* menu) override;
  // The strip at the right counts only while a menu is set.
  bool ComboActive() const { return combo_ && DropDownMenu(); }

  // Border width the style leaves around glyph and caption.
  int StyleBorderWidth() const;
  // Where glyph and caption go in the present state.
  QRect GlyphArea() const;

 protected:
  bool HasHotLook() const override;
  bool PressOpensMenu(QPoint p) const override;
  void paintEvent(QPaintEvent*) override;

 private:
  CtlUserButtonStyle style_ = ubsAutoDetect;
  bool combo_ = false;
  int combo_width_ = 12;
};

class CtlOfficeButton : public CtlSpeedButton {
  Q_OBJECT
 public:
  explicit CtlOfficeButton(QWidget* parent = nullptr);

 private:
  using CtlSpeedButton::SetDropDownCombo;
  using CtlSpeedButton::SetDropdownComboWidth;
};
