// The small widgets of the view options dialog: the Scale page's box shows
// the displayed view's thumbnail (or grey) with the picture's share outlined
// in red, set before the paint (the paint only draws); the stepping buttons.
#pragma once

#include <QAbstractButton>
#include <QImage>
#include <QWidget>

#include "dialogs/options_vue_calculs.h"

namespace dialogs {

class BoiteEchelle : public QWidget {
 public:
  using QWidget::QWidget;
  // The thumbnail (null: grey), the rectangle and whether it is drawn over a thumbnail.
  void montrer(const QImage& vignette, Rectangle r, bool rectangle_sur_vignette);
  const Rectangle& rectangle() const { return rectangle_; }
  bool rectangle_visible() const { return vignette_.isNull() || sur_vignette_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage vignette_;
  Rectangle rectangle_;
  bool sur_vignette_ = false;
};

// A small stepping button of the Framing page: painted white to aqua while
// held, aqua to blue otherwise; pressed() and released() come from QAbstractButton.
class BoutonPas : public QAbstractButton {
  Q_OBJECT
 public:
  explicit BoutonPas(const QString& texte, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace dialogs
