#include "controls/shapebutton.h"

#include <QPainterPath>

namespace {
// Marks the outside of the body in the fill mask; taken to be absent from fill pictures.
constexpr CtlColor kShapeKey = CtlRgb(254, 1, 253);
}  // namespace

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
  fill_.OnChange = shape_.OnChange;
  Recalc();
}

CtlShapeButton::~CtlShapeButton() {
  shape_.OnChange = nullptr;
  colors_.OnChange = nullptr;
  fill_.OnChange = nullptr;
}

void CtlShapeButton::SetMode(CtlShapeButtonMode m) { if (CtlStore(mode_, m)) Recalc(); }

void CtlShapeButton::SetStyle(CtlShapeButtonStyle s) { if (CtlStore(style_, s)) Recalc(); }

void CtlShapeButton::RecalcFill() {
  if (mode_ != sbmShapeFill || width() <= 0 || height() <= 0) {
    fill_bitmap_ = QImage();
    return;
  }
  fill_bitmap_ = QImage(size(), QImage::Format_RGB32);
  fill_bitmap_.fill(ColorToRgb(Color()));
  QPainter p(&fill_bitmap_);
  CtlPreparePainter(p);
  if (const QImage* picture = fill_.GetBitmap()) {
    static const unsigned modes[4] = {dbClip, dbCenter | dbClip, dbStretch, dbTile};
    DrawBitmapStyled(p, fill_bitmap_.rect(), *picture, QColor(), modes[fill_.TileMode()]);
  } else if (fill_.Style() == sfGradient) {
    fill_.Gradient().Paint(p, fill_bitmap_.rect(), 0);
  }
}

void CtlShapeButton::Recalc() {
  RecalcFill();
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

void CtlShapeButton::PaintLook(CtlShadow& shadow, CtlSimpleBevel& bevel, int& move) const {
  shadow.Assign(shape_.Shadow);
  bevel.Assign(shape_.Bevel);
  const bool down = IsDown();
  if (style_ == sbsShadow) {
    move = ShapeShadowDepth(&shape_.Shadow);
    if (down) shadow.SetDepth(0);
  } else {
    move = 2;
    shadow.SetStyle(hssNone);
    bevel.SetStyle(down ? sbInset : sbOffset);
  }
}

void CtlShapeButton::PaintCaption(QPainter& p, const CtlSimpleBevel& bevel) {
  const int etat = ButtonState();
  const int bw = bevel.Width();
  const int d = style_ == sbsShadow ? ShapeShadowDepth(&shape_.Shadow) : 0;
  QRect texte(bw, bw, width() - 2 * bw - d, height() - 2 * bw - d);
  if (etat == bsPressed || etat == bsHeld || etat == bsDropDown) {
    const int m = style_ == sbsShadow ? d : 2;
    texte.translate(m, m);
  }
  DrawGlyphAndCaption(p, texte);
}

void CtlShapeButton::PaintFast(QPainter& p, const CtlShadow& shadow, const CtlSimpleBevel& bevel) {
  const int etat = ButtonState();
  CtlColor couleur = colors_.Up();
  if (!isEnabled()) couleur = colors_.Disabled();
  else if (etat == bsHot) couleur = colors_.MouseOver();
  else if (etat == bsPressed || etat == bsDropDown) couleur = colors_.OptionSet();
  else if (etat == bsHeld) couleur = colors_.Down();
  QBrush brush = shape_.Brush();
  brush.setColor(ColorToRgb(couleur));
  // The cached outline sits d pixels right and down: a down button in the shadow
  // style (shadow depth 0 for this paint) is drawn there, over its shadow.
  DrawShape(p, rect(), shape_.Shape(), Color(), kShapeKey, nullptr, style_ == sbsShadow ? &shadow : nullptr, &bevel,
            shape_.RoundPercent(), brush, shape_.Square(), &points_);
  PaintCaption(p, bevel);
}

void CtlShapeButton::PaintFill(QPainter& p, const CtlShadow& shadow, const CtlSimpleBevel& bevel, int move) {
  QImage buffer(size(), QImage::Format_RGB32);
  buffer.fill(ColorToRgb(Color()));
  {
    QPainter b(&buffer);
    CtlPreparePainter(b);
    b.setFont(font());
    QBrush brush = shape_.Brush();
    const QImage* picture = nullptr;
    QImage moved;
    switch (fill_.Style()) {
      case sfNone: brush = Qt::NoBrush; break;
      case sfBrushBitmap: brush = fill_.Bitmap().isNull() ? QBrush(Qt::NoBrush) : QBrush(fill_.Bitmap()); break;
      case sfBrush: break;
      default:
        picture = &fill_bitmap_;
        if (IsDown() && move != 0 && !fill_bitmap_.isNull()) {
          moved = QImage(fill_bitmap_.size(), QImage::Format_RGB32);
          moved.fill(ColorToRgb(Color()));
          QPainter m(&moved);
          m.drawImage(move, move, fill_bitmap_);
          picture = &moved;
        }
    }
    DrawShape(b, buffer.rect(), shape_.Shape(), Color(), kShapeKey, picture, style_ == sbsShadow ? &shadow : nullptr,
              &bevel, shape_.RoundPercent(), brush, shape_.Square(), &points_);
    PaintCaption(b, bevel);
  }
  // A transparent button lets its parent show wherever the picture kept its colour.
  if (Transparent()) DrawBitmapStyled(p, rect(), buffer, buffer.rect(), nullptr, Color(), dbTransparent);
  else p.drawImage(0, 0, buffer);
}

void CtlShapeButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  CtlPreparePainter(p);
  CtlShadow shadow;
  CtlSimpleBevel bevel;
  int move = 0;
  PaintLook(shadow, bevel, move);
  if (mode_ == sbmShapeFill) PaintFill(p, shadow, bevel, move);
  else PaintFast(p, shadow, bevel);
}
