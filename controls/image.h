// Window-less picture control: one entry of a picture list inside a bevel.
#pragma once

#include <QWidget>

#include "controls/imagelist.h"
#include "controls/properties.h"

class CtlLImage : public QWidget {
  Q_OBJECT
 public:
  explicit CtlLImage(QWidget* parent = nullptr);

  CtlBevel& Bevel() { return bevel_; }
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index = 0);
  int ListIndex() const { return list_index_; }
  void SetListIndex(int i);  // negative values are ignored
  CtlBitmapStyle Style() const { return style_; }
  void SetStyle(CtlBitmapStyle s);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool t);
  bool ForceTransparent() const { return force_transparent_; }
  void SetForceTransparent(bool t);
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c) { color_ = c; update(); }
  bool NoBorder() const { return !HasEntry(); }
  bool HasEntry() const { return list_ && list_->IsValidImage(list_index_, image_index_); }
  // With sbAutosize: applies the wanted size and says whether it changed.
  bool CheckAutoSize();
  // Drawing flags of the picture for the current style, force-transparency and bevel.
  unsigned DrawFlags() const;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
  const CtlCustomImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  CtlBitmapStyle style_ = sbNone;
  bool transparent_ = true, force_transparent_ = false;
  CtlColor color_ = clBtnFace;
};
