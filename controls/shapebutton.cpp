#include "controls/shapebutton.h"

#include <QPainterPath>

void CtlShapeButtonColor::SetColor(int index, CtlColor c) {
  if (index < 0 || index > kUp || colours_[index] == c) return;
  colours_[index] = c;
  Change();
}

void CtlShapeButtonColor::Assign(const CtlObject& source) {
  auto* s = dynamic_cast<const CtlShapeButtonColor*>(&source);
  if (!s) return CtlObject::Assign(source);
  BeginUpdate();
  std::copy(std::begin(s->colours_), std::end(s->colours_), std::begin(colours_));
  EndUpdate(true);
}

CtlShapeButton::CtlShapeButton(QWidget* parent) : CtlBaseGraphicButton(parent) {
  SetAllowMouseOver(true);
  shape_.OnChange = [this](CtlObject*) { Recalc(); };
  colors_.OnChange = shape_.OnChange;
  Recalc();
}

CtlShapeButton::~CtlShapeButton() {
  shape_.OnChange = nullptr;
  colors_.OnChange = nullptr;
}

void CtlShapeButton::SetStyle(CtlShapeButtonStyle s) {
  if (s == style_) return;
  style_ = s;
  Recalc();
}

void CtlShapeButton::Recalc() {
  const CtlShadow* ombre = style_ == sbsShadow ? &shape_.Shadow : nullptr;
  CalcShapeOutline(QRect(0, 0, width(), height()), shape_.Shape(), points_, ombre, &shape_.Bevel, shape_.RoundPercent(),
                   shape_.Square());
  RequestRepaint();
}

void CtlShapeButton::resizeEvent(QResizeEvent* e) {
  CtlBaseGraphicButton::resizeEvent(e);
  Recalc();
}

bool CtlShapeButton::IsInside(int x, int y) const {
  if (points_.size() < 2) return true;
  const int d = style_ == sbsShadow ? ShapeShadowDepth(&shape_.Shadow) : 0;
  const QRect r = QRect(points_[0], points_[1]).adjusted(0, 0, -1, -1).translated(-d, -d);
  QPainterPath chemin;
  switch (shape_.Shape()) {
    case stEllipse:
      chemin.addEllipse(QRectF(r));
      break;
    case stRectangle:
      chemin.addRect(QRectF(r));
      break;
    case stRoundRect: {
      const double c = std::min(width() - d, height() - d) * shape_.RoundPercent() / 100 / 2.0;
      chemin.addRoundedRect(QRectF(r), c, c);
      break;
    }
    default: {
      QPolygon poly;
      for (std::size_t k = 0; k < points_.size() / 2; ++k) poly << points_[k] - QPoint(d, d);
      chemin.addPolygon(poly);
      chemin.setFillRule(Qt::WindingFill);
    }
  }
  return chemin.contains(QPointF(x + 0.5, y + 0.5));
}

void CtlShapeButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  const int etat = ButtonState();
  const bool bas = etat == bsPressed || etat == bsHeld || etat == bsDropDown || etat == bsDisabledPressed;
  CtlShadow ombre = shape_.Shadow;
  CtlSimpleBevel biseau = shape_.Bevel;
  const int d = ShapeShadowDepth(&shape_.Shadow);
  if (style_ == sbsShadow) {
    if (bas) ombre.SetDepth(0);
  } else {
    ombre.SetStyle(hssNone);
    biseau.SetStyle(bas ? sbInset : sbOffset);
  }
  CtlColor couleur = colors_.Up();
  if (!isEnabled()) couleur = colors_.Disabled();
  else if (etat == bsHot) couleur = colors_.MouseOver();
  else if (etat == bsPressed || etat == bsDropDown) couleur = colors_.OptionSet();
  else if (etat == bsHeld) couleur = colors_.Down();
  // The cached outline sits d pixels right and down: a down button in the shadow
  // style (shadow depth 0 for this paint) is drawn there, over its shadow.
  DrawShape(p, rect(), shape_.Shape(), style_ == sbsShadow ? &ombre : nullptr, biseau, ColorToRgb(couleur), points_);
  const int bw = biseau.Width();
  const int dd = style_ == sbsShadow ? d : 0;
  QRect texte(bw, bw, width() - 2 * bw - dd, height() - 2 * bw - dd);
  if (etat == bsPressed || etat == bsHeld || etat == bsDropDown) texte.translate(style_ == sbsShadow ? d : 2,
                                                                                style_ == sbsShadow ? d : 2);
  DrawGlyphAndCaption(p, texte);
}
