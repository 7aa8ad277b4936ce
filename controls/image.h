// Window-less picture control: one entry of an image list inside a bevel.
#pragma once

#include "controls/basecontrols.h"

// Picture controls: the bitmap style and the fit to the picture.
// Placement flags of the bitmap drawing for a picture style (1 for sbNone and sbAutosize).
unsigned CtlBitmapStyleFlags(CtlBitmapStyle style);

class CtlBaseImage : public CtlGraphicControl {
  Q_OBJECT
 public:
  explicit CtlBaseImage(QWidget* parent = nullptr) : CtlGraphicControl(parent) {}

  bool QuickDraw() const { return quick_draw_; }  // kept; palettes do nothing here
  void SetQuickDraw(bool on);
  CtlBitmapStyle Style() const { return style_; }
  void SetStyle(CtlBitmapStyle s);
  // With sbAutosize: applies the wanted size and says whether it changed.
  virtual bool CheckAutoSize() { return false; }

 private:
  bool quick_draw_ = true;
  CtlBitmapStyle style_ = sbNone;
};

class CtlLImage : public CtlBaseImage {
  Q_OBJECT
 public:
  explicit CtlLImage(QWidget* parent = nullptr);

  bool ForceTransparent() const { return force_transparent_; }
  void SetForceTransparent(bool on);
  bool SilentMove() const { return silent_move_; }
  void SetSilentMove(bool on);
  bool NoBorder() const override { return !HasEntry(); }
  // The graphic rule, or with SilentMove a showing library parent that supplies a background.
  bool IsTransparent() const override;
  // The item size (20 x 20 without an entry) plus the bevel on both sides.
  bool CheckAutoSize() override;
  // Drawing flags of the picture for the current style, force-transparency and bevel.
  unsigned DrawFlags() const;

 protected:
  void GetChange(CtlObject* sender) override;
  void paintEvent(QPaintEvent*) override;

 private:
  bool force_transparent_ = false, silent_move_ = false;
};
