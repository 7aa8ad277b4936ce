// Window-less tool bar button: up, hot, held and latched states, groups,
// hot tracking with a hover watch, and a glyph from a picture list.
#pragma once

#include <QTimer>
#include <QWidget>

#include "controls/glyphcache.h"
#include "controls/imagelist.h"
#include "controls/paintkit.h"

class CtlSpeedButton : public QWidget {
  Q_OBJECT
 public:
  enum State { bsUp = 0, bsDisabled = 1, bsHot = 2, bsPressed = 3, bsHeld = 4, bsDropDown = 6, bsDisabledPressed = 7 };

  explicit CtlSpeedButton(QWidget* parent = nullptr);

  CtlUserButtonStyle Style() const { return style_; }
  void SetStyle(CtlUserButtonStyle style);
  int GroupIndex() const { return group_; }
  void SetGroupIndex(int group);
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool allow);
  bool Pressed() const { return pressed_; }
  void SetPressed(bool pressed);
  bool AllowMouseOver() const { return allow_mouse_over_; }
  void SetAllowMouseOver(bool allow) { allow_mouse_over_ = allow; }
  bool MouseOver() const { return mouse_over_; }
  bool HideHint() const { return hide_hint_; }
  void SetHideHint(bool hide) { hide_hint_ = hide; }
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);

  // Glyph taken from the entry (list index, image index) of a picture list.
  void SetImageList(const CtlImageList* list, int list_index, int image_index);
  void SetGlyph(const QImage& glyph);  // unlinks the picture list
  CtlGlyph& GlyphObject() { return glyph_; }

  int ButtonState() const { return state_; }
  bool HoverWatchActive() const { return hover_.isActive(); }
  // Border width the style leaves around glyph and caption.
  int StyleBorderWidth() const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  void SetState(int state);
  void ButtonPressedNotice(int group, CtlSpeedButton* sender);
  void Broadcast();
  void HoverCheck();
  void MatchPointer();
  bool PointerInside() const;

  CtlUserButtonStyle style_ = ubsAutoDetect;
  int group_ = 0;
  bool allow_all_up_ = false;
  bool pressed_ = false;
  bool allow_mouse_over_ = true;
  bool mouse_over_ = false;
  bool hide_hint_ = true;
  bool captured_ = false;
  CtlColor color_ = clBtnFace;
  int state_ = bsUp;
  int previous_ = bsUp;
  const CtlImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  CtlGlyph glyph_;
  QTimer hover_;
};
