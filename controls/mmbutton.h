// Multimedia button: a graphic button whose faces are pictures of an image
// list, one (list index, image index) pair per button state. Presses count
// only where the face shown is not its transparent colour.
#pragma once

#include <array>

#include "controls/graphicbutton.h"

class CtlMMButton : public CtlBaseGraphicButton {
  Q_OBJECT
 public:
  explicit CtlMMButton(QWidget* parent = nullptr);

  const CtlCustomImageList* ButtonFaceImageList() const { return faces_.List(); }
  void SetButtonFaceImageList(const CtlCustomImageList* list) { faces_.SetList(list); }
  // The face of button state 0..7 (a disabled pressed button shows the disabled face).
  int FaceListIndex(int state) const { return pairs_[Slot(state)].list; }
  int FaceImageIndex(int state) const { return pairs_[Slot(state)].image; }
  // Negative indices are ignored.
  void SetFace(int state, int list_index, int image_index);
  CtlColor FaceTransparentColor() const { return transparent_; }
  void SetFaceTransparentColor(CtlColor c);
  CtlBitmapStyle ButtonFaceStyle() const { return style_; }
  void SetButtonFaceStyle(CtlBitmapStyle s);
  // How far the caption moves right and down while the button is down.
  int CaptionDown() const { return caption_down_; }
  void SetCaptionDown(int d);
  // Draws the face without its transparent colour.
  bool ForceTransparent() const { return force_transparent_; }
  void SetForceTransparent(bool on);
  bool QuickDraw() const { return quick_draw_; }  // kept; palettes do nothing here
  void SetQuickDraw(bool on) { quick_draw_ = on; }

  // The face of the current state exists in the list.
  bool HasFace() const;
  // Inside the face rectangle, on a pixel of the face that is not its transparent colour.
  bool IsInside(int x, int y) const override;

 protected:
  // Every state has a face of its own.
  bool HasHotLook() const override { return true; }
  void paintEvent(QPaintEvent*) override;

 private:
  struct Pair {
    int list = 0, image = 0;
  };
  static int Slot(int state) { return state == bsDisabledPressed ? bsDisabled : (state < 0 || state > 7 ? 0 : state); }
  int FaceState() const { return isEnabled() ? ButtonState() : (Pressed() ? bsDisabledPressed : bsDisabled); }
  // Draws the face of `state` into `r`; `transparent` leaves its transparent colour out.
  void DrawFace(QPainter& p, const QRect& r, int state, bool transparent) const;

  CtlImageEntry faces_{[this] { update(); }};
  std::array<Pair, 8> pairs_{};
  CtlColor transparent_ = clWhite;
  CtlBitmapStyle style_ = sbNone;
  int caption_down_ = 1;
  bool force_transparent_ = true, quick_draw_ = false;
};
