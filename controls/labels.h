// Window-less text controls. `CtlBaseLabel` holds what every label shares:
// the caption with its "&" accelerator (which focuses FocusControl), sizing to
// the text, single or multi-line text, alignment and ellipsis options. The
// simple label adds an effect and can act as a jump label opening a web
// address; the label adds a bevel and a turnable effect.
#pragma once

#include <QPointer>
#include <QShortcut>
#include <QString>
#include <functional>

#include "controls/basecontrols.h"
#include "controls/properties.h"

// Label options: ellipsis in the middle of a path or at the end, edit-control wrapping.
constexpr unsigned loPathEllipsis = 1, loEndEllipsis = 2, loEditControl = 4;

// Wraps `text` as a multi-line edit box does: lines break at blanks, a word
// longer than `width` breaks between characters, and only the lines wholly
// inside `height` are kept (all of them for a negative height). The plain rule
// of multi-line labels keeps a long word whole, running past the width, and
// shows a last line cut by the bottom edge. The lines come back joined by
// line feeds. With `prefix`, "&" marks an accelerator and takes no room.
QString CtlEditControlWrap(const QString& text, const QFont& font, int width, int height, bool prefix);

class CtlBaseLabel : public CtlBaseGraphicControl {
  Q_OBJECT
 public:
  explicit CtlBaseLabel(QWidget* parent = nullptr);
  ~CtlBaseLabel() override;

  QString Caption() const { return caption_; }
  // Sizes to the new text (with AutoSize), then repaints.
  void SetCaption(const QString& c);
  // One setter for the three switches, by index: 0 AutoSize (sizes at once),
  // 1 MultiLine (repaints), 2 ShowAccelChar (repaints).
  enum BoolProp { kAutoSize, kMultiLine, kShowAccelChar };
  void SetBoolProp(int index, bool value);
  bool AutoSize() const { return autosize_; }
  void SetAutoSize(bool on) { SetBoolProp(kAutoSize, on); }
  bool MultiLine() const { return multiline_; }
  void SetMultiLine(bool on) { SetBoolProp(kMultiLine, on); }
  bool ShowAccelChar() const { return show_accel_; }
  void SetShowAccelChar(bool on) { SetBoolProp(kShowAccelChar, on); }
  CtlAlignment Alignment() const { return alignment_; }
  void SetAlignment(CtlAlignment a);
  unsigned Options() const { return options_; }
  void SetOptions(unsigned o);
  // The control the accelerator focuses; forgotten when it is destroyed.
  // Without one the label claims no accelerator, leaving the letter to others.
  QWidget* FocusControl() const { return focus_control_; }
  void SetFocusControl(QWidget* w);
  CtlColor FontColor() const { return font_color_; }
  void SetFontColor(CtlColor c);

  // Transparent with an empty caption: nothing to show.
  bool NoBorder() const override { return Transparent() && caption_.isEmpty(); }
  // Qt text flags of the label: alignment, single or multi-line, mnemonics.
  int TextFlags() const;
  // The text as drawn in `width` x `height` pixels: shortened by the ellipsis
  // options, or, multi-line with loEditControl, wrapped by CtlEditControlWrap.
  QString ShownText(const QFont& f, int width, int height = -1) const;
  // The text AutoSize measures: wrapped at the present width with loEditControl.
  QString MeasuredText() const;

 protected:
  virtual QString GetLabelText() const { return caption_; }
  // A change of the font or of the label's effect.
  virtual void FontChanged(CtlObject* sender);
  // With AutoSize: takes the measured size, keeping the position.
  virtual void AdjustBounds() {}
  // The accelerator: focuses FocusControl when it can take the focus.
  void Accelerator();
  void changeEvent(QEvent* e) override;

 private:
  void UpdateAccelerator();
  QString caption_;
  bool show_accel_ = true, autosize_ = true, multiline_ = false;
  CtlAlignment alignment_ = agTopLeft;
  unsigned options_ = 0;
  QPointer<QWidget> focus_control_;
  CtlColor font_color_ = clBlack;
  QPointer<QShortcut> accelerator_;
};

class CtlSimpleLabel : public CtlBaseLabel {
  Q_OBJECT
 public:
  enum JumpMode { jmInternet, jmApplication, jmNone, jmCustom };
  // Opens a target through the shell; answers false when it could not.
  using Opener = std::function<bool(const QString&)>;

  explicit CtlSimpleLabel(QWidget* parent = nullptr);
  ~CtlSimpleLabel() override;

  Ctl3DCaption& Font3D() { return font3d_; }
  const Ctl3DCaption& Font3D() const { return font3d_; }

  JumpMode Mode() const { return jump_mode_; }
  void SetJumpMode(JumpMode m);
  QString Jump() const { return jump_; }
  void SetJump(const QString& j) { jump_ = j; }
  // One setter for the two jump colours: 0 ActiveColor, 1 InActiveColor.
  void SetJumpColor(int index, CtlColor c);
  CtlColor ActiveColor() const { return active_; }
  void SetActiveColor(CtlColor c) { SetJumpColor(0, c); }
  CtlColor InActiveColor() const { return inactive_; }
  void SetInActiveColor(CtlColor c) { SetJumpColor(1, c); }
  bool JumpUnderline() const { return underline_; }
  void SetJumpUnderline(bool on);
  void SetOpener(Opener o) { opener_ = std::move(o); }
  int Clicks() const { return clicks_; }
  // The target a click opens: Jump, else the caption (mailto: when it holds an at sign).
  QString JumpTarget() const;
  // What a click does after the platform's handling.
  void Click();

 protected:
  void AdjustBounds() override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  Ctl3DCaption font3d_;
  JumpMode jump_mode_ = jmNone;
  QString jump_;
  CtlColor active_ = clPurple, inactive_ = clBlue;
  bool underline_ = true;
  int clicks_ = 0;
  Opener opener_;
};

class CtlLabel : public CtlBaseLabel {
  Q_OBJECT
 public:
  explicit CtlLabel(QWidget* parent = nullptr);
  ~CtlLabel() override;

  CtlBevel& Bevel() { return bevel_; }
  CtlFxCaption& FontFx() { return fontfx_; }
  // Also needs no bevel to have nothing to show.
  bool NoBorder() const override { return CtlBaseLabel::NoBorder() && bevel_.BevelExtend() == 0; }

 protected:
  void AdjustBounds() override;
  void FontChanged(CtlObject* sender) override;
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
  CtlFxCaption fontfx_;
  bool in_rule_ = false;
};

// Platform text flags of a label for its alignment.
int CtlAlignmentTextFlags(CtlAlignment a, bool multiline);
