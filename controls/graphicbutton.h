// Window-less button base of the speed, office, multimedia and shape buttons:
// the state machine driven by the mouse, group pressing, repeated clicks, hot
// tracking with a hover watch, a drop-down menu, the caption's accelerator,
// and the drawing of caption and glyph. Only the user's actions fire signals:
// setting Pressed, Enabled, GroupIndex or AllowAllUp from code fires nothing.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "controls/basecontrols.h"
#include "controls/button.h"
#include "controls/glyphcache.h"
#include "controls/imagelist.h"
#include "controls/mnemonic.h"
#include "controls/properties.h"
#include "controls/controltimer.h"

class QAction;
class QMenu;
class CtlButtonActionLink;

class CtlBaseGraphicButton : public CtlBaseControl {
  Q_OBJECT
 public:
  enum State { bsUp = 0, bsDisabled = 1, bsHot = 2, bsPressed = 3, bsHeld = 4, bsDropDown = 6, bsDisabledPressed = 7 };

  explicit CtlBaseGraphicButton(QWidget* parent = nullptr);
  ~CtlBaseGraphicButton() override;

  // Groups: one pressed button per GroupIndex among the parent's buttons.
  int GroupIndex() const { return group_; }
  void SetGroupIndex(int group);
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool allow);
  bool Pressed() const { return pressed_; }
  void SetPressed(bool pressed);

  bool AllowMouseOver() const { return allow_mouse_over_; }
  void SetAllowMouseOver(bool allow) { allow_mouse_over_ = allow; }
  // Hit-testing by the painted shape (IsInside) rather than the rectangle.
  bool AllowTransparency() const { return allow_transparency_; }
  void SetAllowTransparency(bool allow) { allow_transparency_ = allow; }
  bool MouseOver() const { return mouse_over_; }
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool transparent);
  bool HideHint() const { return hide_hint_; }
  void SetHideHint(bool hide) { hide_hint_ = hide; }

  CtlColor EnterColor() const { return enter_color_; }
  void SetEnterColor(CtlColor c);
  bool EnterColorChange() const { return enter_color_change_; }
  void SetEnterColorChange(bool change);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  CtlButtonLayout& ButtonLayout() { return layout_; }
  void SetButtonLayout(const CtlButtonLayout& layout);
  CtlFxCaption& FontFx() { return font_fx_; }
  void SetFontFx(const CtlFxCaption& fx);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool multi);

  // Glyph taken from the entry (list index, image index) of a picture list;
  // negative indices are ignored; a missing entry clears the glyph.
  using CtlBaseControl::SetImageList;
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index);
  void SetGlyph(const QImage& glyph);  // unlinks the picture list
  void SetNumGlyphs(int n);
  CtlGlyph& GlyphObject() { return glyph_; }

  // The action whose caption, hint, enabled state, icon and checked state the
  // button shows, and which a click triggers (controls/actionlink.h). Not
  // owned; null unlinks and leaves the button as it is.
  QAction* Action() const;
  void SetAction(QAction* action);

  bool RepeatedClick() const { return repeated_click_; }
  void SetRepeatedClick(bool repeat) { repeated_click_ = repeat; }
  int RepeatingDelay() const { return repeating_delay_; }
  void SetRepeatingDelay(int ms) { repeating_delay_ = ms; }
  int RepeatingInterval() const { return repeating_interval_; }
  void SetRepeatingInterval(int ms) { repeating_interval_ = ms; }

  QMenu* DropDownMenu() const { return menu_; }
  virtual void SetDropDownMenu(QMenu* menu);
  int DropDownIndent() const { return drop_down_indent_; }
  void SetDropDownIndent(int indent) { drop_down_indent_ = indent; }
  bool DropDownRight() const { return drop_down_right_; }
  void SetDropDownRight(bool right) { drop_down_right_ = right; }

  int ButtonState() const { return state_; }
  int PreviousState() const { return previous_; }
  bool HoverWatchActive() const { return hover_.Active(); }
  bool RepeatActive() const { return repeat_.Active(); }
  // Whether (x, y) counts as on the button; the base takes the whole rectangle.
  virtual bool IsInside(int x, int y) const;

  // Whether the program is the active one; mouse-driven changes between up and
  // hot are dropped on MDI forms while it is not. Tests replace it.
  static void SetApplicationActiveTest(std::function<bool()> test);

 signals:
  void clicked();
  void dblClicked();
  // Mouse down and up of the left button (pressed: on the button; released:
  // after any press that was captured, wherever the pointer is).
  void pressed();
  void released();
  void dropDown();

 protected:
  // A look of its own while hot, so that changes between up and hot repaint.
  virtual bool HasHotLook() const { return false; }
  // Whether a press at `p` opens the drop-down menu.
  virtual bool PressOpensMenu(QPoint) const { return true; }
  void SetState(int state, bool by_mouse = false);
  bool IsDown() const { return state_ == bsPressed || state_ == bsHeld || state_ == bsDropDown || state_ == bsDisabledPressed; }
  void RequestRepaint();
  void ImageListChanged() override;
  // Caption colour: EnterColor while hot or down with AllowMouseOver and EnterColorChange.
  QColor CaptionColour() const;
  // Glyph and caption placed by the layout inside `area`.
  void DrawGlyphAndCaption(QPainter& p, const QRect& area);
  void OpenMenu();

  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void changeEvent(QEvent*) override;

 private:
  void PointerEnter();
  void PointerLeave();
  void ButtonPressedNotice(int group, CtlBaseGraphicButton* sender);
  void Broadcast();
  void TogglePressed();
  void HoverCheck();
  void RepeatTick();
  void MatchPointer();
  void Accelerator();
  bool PointerInside() const;
  bool MouseChangesDropped() const;

  int group_ = 0;
  bool allow_all_up_ = false;
  bool pressed_ = false;
  bool allow_mouse_over_ = false;
  bool allow_transparency_ = true;
  bool mouse_over_ = false;
  bool inside_ = false;
  bool transparent_ = false;
  bool hide_hint_ = true;
  bool captured_ = false;
  bool held_inside_ = false;
  bool repeat_fired_ = false;
  bool repeat_interval_set_ = false;
  CtlColor enter_color_ = clCaptionText;
  bool enter_color_change_ = false;
  QString caption_;
  CtlButtonLayout layout_;
  CtlFxCaption font_fx_;
  bool multi_line_ = false;
  bool repeated_click_ = false;
  int repeating_delay_ = 500;
  int repeating_interval_ = 100;
  QPointer<QMenu> menu_;
  int drop_down_indent_ = 0;
  bool drop_down_right_ = false;
  int state_ = bsUp;
  int previous_ = bsUp;
  CtlGlyph glyph_;
  QPointer<QShortcut> accelerator_;
  CtlPoolTimer hover_;
  CtlPoolTimer repeat_;
  std::unique_ptr<CtlButtonActionLink> action_link_;
};
