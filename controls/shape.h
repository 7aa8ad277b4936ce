// Shapes of the shape buttons: an outline point list computed from the shape
// type, the rounding, the square flag, the bevel width and the shadow depth,
// and the painting of shadow, body and bevel edges from it.
#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <vector>

#include "controls/properties.h"

enum CtlShapeType : std::uint8_t {
  stEllipse, stRectangle, stRoundRect, stDirectUp, stDirectRight, stDirectDown, stDirectLeft, stDiamond, stComb,
  stOctagon, stStar
};
enum CtlSimpleBevelStyle : std::uint8_t { sbNormal, sbInset, sbOffset };

// Pen width and edge colours of a shape's outline.
class CtlSimpleBevel : public CtlObject {
 public:
  int Width() const { return width_; }
  CtlSimpleBevelStyle Style() const { return style_; }
  CtlColor Color() const { return color_; }
  CtlColor LightColor() const { return light_; }
  CtlColor ShadowColor() const { return shadow_; }
  void SetWidth(int w);  // held to 0..50
  void SetStyle(CtlSimpleBevelStyle s);
  void SetColor(CtlColor c);
  void SetLightColor(CtlColor c);
  void SetShadowColor(CtlColor c);
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlSimpleBevel"; }

 private:
  int width_ = 2;
  CtlSimpleBevelStyle style_ = sbNormal;
  CtlColor color_ = 0;
  CtlColor light_ = clBtnHighlight;
  CtlColor shadow_ = clBtnShadow;
};

// A shape description; a change inside Bevel or Shadow is a change of the shape.
class CtlShape : public CtlObject {
 public:
  CtlShape();
  CtlShape(const CtlShape& other);
  CtlShape& operator=(const CtlShape& other);
  ~CtlShape() override;

  CtlSimpleBevel Bevel;
  CtlShadow Shadow;
  // The body brush: a colour and a Qt brush style (solid by default).
  CtlColor BrushColor() const { return brush_colour_; }
  Qt::BrushStyle BrushStyle() const { return brush_style_; }
  QBrush Brush() const { return QBrush(ColorToRgb(brush_colour_), brush_style_); }
  void SetBrushStyle(Qt::BrushStyle s);
  int RoundPercent() const { return round_percent_; }
  CtlShapeType Shape() const { return shape_; }
  bool Square() const { return square_; }
  void SetBrushColor(CtlColor c);
  void SetRoundPercent(int percent);  // held to 0..100
  void SetShape(CtlShapeType type);
  void SetSquare(bool square);
  void Assign(const CtlObject& source) override;
  std::string ClassName() const override { return "TCtlShape"; }

 private:
  void Link();
  CtlColor brush_colour_ = clBtnFace;
  Qt::BrushStyle brush_style_ = Qt::SolidPattern;
  int round_percent_ = 33;
  CtlShapeType shape_ = stRectangle;
  bool square_ = false;
};

using CtlPointList = std::vector<QPoint>;

// Outline points then body points, relative to the rectangle's origin. A null
// shadow counts as depth 0, a null bevel as width 1. For stRoundRect the third
// point of each half is the corner size.
void CalcShapeOutline(const QRect& r, CtlShapeType type, CtlPointList& points, const CtlShadow* shadow,
                      const CtlSimpleBevel* bevel, int round_percent, bool square);
// The shadow offset of a shadow (0 for none).
int ShapeShadowDepth(const CtlShadow* shadow);
// Paints the shape into `r`: the shadow, the body and the bevel edges.
// The body takes `brush` (a hatched brush over `background`), or, with a
// fill bitmap of r's size, that picture cut to the body. `key` marks the
// outside of the body in the cutting mask and must not occur in the picture.
// `points` is a list CalcShapeOutline made for a rectangle of r's size; null
// computes one. A null shadow is no shadow, a null bevel a bevel of width 1.
void DrawShape(QPainter& p, const QRect& r, CtlShapeType type, CtlColor background, CtlColor key,
               const QImage* fill_bitmap, const CtlShadow* shadow, const CtlSimpleBevel* bevel, int round_percent,
               const QBrush& brush, bool square, const CtlPointList* points);
