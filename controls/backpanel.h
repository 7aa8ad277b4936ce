// Bevelled panel whose background is a picture of a list, tiled; transparent
// children (tool bar buttons, labels, images) show it through.
#pragma once

#include "controls/panels.h"

class CtlBackPanel : public CtlCustomParentPanel {
  Q_OBJECT
 public:
  explicit CtlBackPanel(QWidget* parent = nullptr) : CtlCustomParentPanel(parent) {}
};
