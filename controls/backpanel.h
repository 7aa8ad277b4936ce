// Bevelled panel whose background is a picture of a list, tiled; transparent
// children (tool bar buttons) show it through.
#pragma once

#include <QImage>
#include <QWidget>

#include "controls/imagelist.h"
#include "controls/properties.h"

class CtlBackPanel : public QWidget {
  Q_OBJECT
 public:
  explicit CtlBackPanel(QWidget* parent = nullptr);

  CtlBevel& Bevel() { return bevel_; }
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index = 0);
  bool HasEntry() const { return list_ && list_->IsValidImage(list_index_, image_index_); }
  bool HasBuffer() const { return !buffer_.isNull(); }
  int BuildCount() const { return builds_; }
  // True when nothing frames the panel: no bevel and no picture.
  bool NoBorder() const { return bevel_.BevelExtend() == 0 && bevel_.Mode() != bmWindows && !HasEntry(); }
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c) { color_ = c; update(); }
  QRect ClientArea() const { return bevel_.GetClientRect(rect()); }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void BuildBackground(bool force);
  CtlBevel bevel_;
  const CtlCustomImageList* list_ = nullptr;
  int list_index_ = 0, image_index_ = 0;
  QImage buffer_;
  CtlColor color_ = clBtnFace;
  int builds_ = 0;
};
