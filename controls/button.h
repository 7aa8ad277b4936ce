// Push button with its own face and a glyph beside the caption (a glyph strip
// of two images shows the second one while the button is disabled), and the
// layout of glyph and caption that the buttons share.
#pragma once

#include <QImage>
#include <QPointer>
#include <QPushButton>
#include <memory>

#include "controls/glyphcache.h"
#include "controls/imagelist.h"
#include "controls/controltimer.h"
#include "controls/parentcolor.h"
#include "controls/properties.h"

enum CtlNormalButtonStyle : std::uint8_t { nbsAutoDetect, nbsWin31, nbsWin40 };

class QAction;
class QMenu;
class CtlPushActionLink;

// Owner-drawn push button. A non-zero ModalResult ends its dialog after
// `clicked`; a Cancel button is clicked by an Escape that its form receives.
// With RepeatedClick a held button also clicks at each repeat tick while the
// pointer is over it.
class CtlButton : public QPushButton {
  Q_OBJECT
 public:
  explicit CtlButton(QWidget* parent = nullptr);
  ~CtlButton() override;

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }
  // The action whose caption, hint, enabled state and icon (as the glyph, on
  // magenta) the button shows, and which a click triggers
  // (controls/actionlink.h). Not owned; forgotten when it is destroyed.
  QAction* Action() const;
  void SetAction(QAction* action);

  // A strip of equally sized images (up, disabled, ...); the bottom-left pixel is the transparent colour.
  // Setting it unlinks the picture list.
  void SetGlyph(const QImage& strip);
  CtlGlyph& Glyph() { return glyph_; }
  void SetNumGlyphs(int n) { glyph_.SetNumGlyphs(n); }
  // Glyph from the entry (list index, image index); negative indices are ignored.
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index);

  CtlColor Color() const { return color_; }
  // A new colour switches ParentColor off.
  void SetColor(CtlColor c);
  // While set, the face takes the parent's colour and follows its changes.
  bool ParentColor() const { return parent_color_.On(); }
  void SetParentColor(bool on) { parent_color_.Set(on); }
  CtlNormalButtonStyle Style() const { return style_; }
  void SetStyle(CtlNormalButtonStyle s);
  CtlButtonLayout& ButtonLayout() { return layout_; }
  void SetButtonLayout(const CtlButtonLayout& layout);
  CtlFxCaption& FontFx() { return font_fx_; }
  void SetFontFx(const CtlFxCaption& fx);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool multi);
  bool HideHint() const { return hide_hint_; }
  void SetHideHint(bool hide) { hide_hint_ = hide; }

  int ModalResult() const { return modal_result_; }
  void SetModalResult(int result) { modal_result_ = result; }
  // An Escape that reaches the form clicks a Cancel button: one that the
  // control with the focus leaves to its form, as a closed list or an edit
  // does. A dropped list is a window of its own that takes its Escape and
  // closes, and the form never sees that key.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel);

  bool RepeatedClick() const { return repeated_click_; }
  void SetRepeatedClick(bool repeat) { repeated_click_ = repeat; }
  int RepeatingDelay() const { return repeating_delay_; }
  void SetRepeatingDelay(int ms) { repeating_delay_ = ms; }
  int RepeatingInterval() const { return repeating_interval_; }
  void SetRepeatingInterval(int ms) { repeating_interval_ = ms; }
  bool RepeatActive() const { return repeat_.Active(); }

  // A click drops this menu below the button (right of it with DropDownRight).
  QMenu* DropDownMenu() const { return menu_; }
  void SetDropDownMenu(QMenu* menu) { menu_ = menu; }
  int DropDownIndent() const { return drop_down_indent_; }
  void SetDropDownIndent(int indent) { drop_down_indent_ = indent; }
  bool DropDownRight() const { return drop_down_right_; }
  void SetDropDownRight(bool right) { drop_down_right_ = right; }

  // Button state for the face: 0 up, 1 disabled, 4 held.
  int FaceState() const;
  // Face flags: 1, plus 2 with the focus, plus 0x20 for the default button.
  unsigned FaceFlags() const;

 signals:
  void dropDown();
  void mouseEntered();
  void mouseExited();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  bool event(QEvent*) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void WatchForm();
  void Clicked();
  void RepeatTick();
  void DropMenu();
  void StoreColor(CtlColor c);

  CtlGlyph glyph_;
  const CtlCustomImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  CtlColor color_ = clBtnFace;
  CtlParentColor parent_color_{*this, [this](CtlColor c) { StoreColor(c); }};
  CtlNormalButtonStyle style_ = nbsAutoDetect;
  CtlButtonLayout layout_;
  CtlFxCaption font_fx_;
  bool multi_line_ = false;
  bool hide_hint_ = true;
  int modal_result_ = 0;
  bool cancel_ = false;
  QPointer<QWidget> form_;  // the window whose Escape a Cancel button watches
  bool repeated_click_ = false;
  int repeating_delay_ = 500;
  int repeating_interval_ = 100;
  bool repeat_interval_set_ = false;
  CtlPoolTimer repeat_;
  QPointer<QMenu> menu_;
  int drop_down_indent_ = 0;
  bool drop_down_right_ = false;
  bool was_default_ = false;
  std::unique_ptr<CtlPushActionLink> action_link_;
};
