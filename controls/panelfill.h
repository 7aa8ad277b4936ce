// A panel that paints its bevel and fill behind its children; children that
// paint no background of their own show the fill.
#pragma once

#include <QWidget>

#include "controls/properties.h"
#include "controls/imagelist.h"
#include "controls/paintkit.h"

class CtlPanelFill : public QWidget {
  Q_OBJECT
 public:
  explicit CtlPanelFill(QWidget* parent = nullptr);

  CtlBevel& Bevel() { return bevel_; }
  CtlFillObject& FillObject() { return fill_; }
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);
  // The fill's bitmap from an image list entry; cleared when the entry is missing.
  void SetImageList(const CtlCustomImageList* list, int list_index, int image_index);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
  CtlFillObject fill_;
  CtlColor color_ = clBtnFace;
};
