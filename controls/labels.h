// Window-less text controls: the bevelled title label with effect text and
// the simple label, which can act as a jump label opening a web address.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "controls/properties.h"

class CtlSimpleLabel : public QWidget {
  Q_OBJECT
 public:
  enum JumpMode { jmInternet, jmApplication, jmNone, jmCustom };
  // Opens a target through the shell; answers false when it could not.
  using Opener = std::function<bool(const QString&)>;

  explicit CtlSimpleLabel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  Ctl3DCaption& Font3D() { return font3d_; }
  CtlAlignment Alignment() const { return alignment_; }
  void SetAlignment(CtlAlignment a) { alignment_ = a; update(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t) { transparent_ = t; update(); }
  CtlColor FontColor() const { return font_color_; }
  void SetFontColor(CtlColor c) { font_color_ = c; update(); }

  JumpMode Mode() const { return jump_mode_; }
  void SetJumpMode(JumpMode m);
  QString Jump() const { return jump_; }
  void SetJump(const QString& j) { jump_ = j; }
  CtlColor ActiveColor() const { return active_; }
  CtlColor InActiveColor() const { return inactive_; }
  void SetOpener(Opener o) { opener_ = std::move(o); }
  int Clicks() const { return clicks_; }
  // The target a click opens: Jump, else the caption (mailto: when it holds an at sign).
  QString JumpTarget() const;
  // What a click does after the platform's handling.
  void Click();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  void AdjustBounds();
  QString caption_;
  Ctl3DCaption font3d_;
  CtlAlignment alignment_ = agTopLeft;
  bool transparent_ = true;
  CtlColor font_color_ = clBlack;
  JumpMode jump_mode_ = jmNone;
  QString jump_;
  CtlColor active_ = clPurple, inactive_ = clBlue;
  bool underline_ = true;
  int clicks_ = 0;
  Opener opener_;
};

class CtlLabel : public QWidget {
  Q_OBJECT
 public:
  explicit CtlLabel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  CtlBevel& Bevel() { return bevel_; }
  CtlFxCaption& FontFx() { return fontfx_; }
  CtlAlignment Alignment() const { return alignment_; }
  void SetAlignment(CtlAlignment a) { alignment_ = a; update(); }
  bool MultiLine() const { return multiline_; }
  void SetMultiLine(bool m) { multiline_ = m; update(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t) { transparent_ = t; update(); }
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c) { color_ = c; update(); }
  CtlColor FontColor() const { return font_color_; }
  void SetFontColor(CtlColor c) { font_color_ = c; update(); }
  bool AutoSize() const { return autosize_; }
  void SetAutoSize(bool a);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void AdjustBounds();
  QString caption_;
  CtlBevel bevel_;
  CtlFxCaption fontfx_;
  CtlAlignment alignment_ = agTopLeft;
  bool multiline_ = false, transparent_ = true, autosize_ = false;
  CtlColor color_ = clBtnFace, font_color_ = clBlack;
};

// Platform text flags of a label for its alignment.
int CtlAlignmentTextFlags(CtlAlignment a, bool multiline);
