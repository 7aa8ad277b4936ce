// A bevelled area filled with a brush or a picture.
#pragma once

#include <QWidget>

#include "controls/properties.h"
#include "controls/paintkit.h"

class CtlFill : public QWidget {
  Q_OBJECT
 public:
  explicit CtlFill(QWidget* parent = nullptr);

  CtlBevel& Bevel() { return bevel_; }
  CtlFillObject& FillObject() { return fill_; }
  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlBevel bevel_;
  CtlFillObject fill_;
  CtlColor color_ = clWindow;
};
