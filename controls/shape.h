// Shapes of the shape buttons: an outline point list computed from the shape
// type, the rounding, the square flag, the bevel width and the shadow depth,
// and the painting of shadow, body and bevel edges from it.
#pragma once

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

struct CtlSimpleBevel {
  int Width = 2;  // 0..50
  CtlSimpleBevelStyle Style = sbNormal;
  CtlColor Color = 0;
  CtlColor LightColor = clBtnHighlight;
  CtlColor ShadowColor = clBtnShadow;
};

struct CtlShape {
  CtlSimpleBevel Bevel;
  CtlColor BrushColor = clBtnFace;
  int RoundPercent = 33;  // 0..100
  CtlShadow Shadow;
  CtlShapeType Shape = stRectangle;
  bool Square = false;
};

using CtlPointList = std::vector<QPoint>;

// Outline points then body points, relative to the rectangle's origin. A null
// shadow counts as depth 0, a null bevel as width 1. For stRoundRect the third
// point of each half is the corner size.
void CalcShapeOutline(const QRect& r, CtlShapeType type, CtlPointList& points, const CtlShadow* shadow,
                      const CtlSimpleBevel* bevel, int round_percent, bool square);
// The shadow offset of a shadow (0 for none).
int ShapeShadowDepth(const CtlShadow* shadow);
// Paints the shape into `r` (shadow, body in `brush`, bevel edges) from a list
// made by CalcShapeOutline for a rectangle of the same size.
void DrawShape(QPainter& p, const QRect& r, CtlShapeType type, const CtlShadow* shadow, const CtlSimpleBevel& bevel,
               QColor brush, const CtlPointList& points);
