// Balloon hints: every tool tip of the program shows as a shaped balloon with
// a nose pointing at the mouse and a drop shadow.
#pragma once

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "controls/properties.h"

enum CtlHintStyle : std::uint8_t { hsRect, hsRoundRect, hsEllipse, hsNoseRect, hsNoseRoundRect, hsNoseEllipse };
enum CtlHintPosition : std::uint8_t { hpAboveLeft, hpAboveRight, hpBelowLeft, hpBelowRight };

// Window size for a measured text size.
QSize CtlHintWindowSize(CtlHintStyle style, QSize text, int depth);

struct CtlHintPlace {
  QPoint pos;
  CtlHintPosition place;  // decides the nose direction
  bool fitted;
};
// Tries up to four places from `preferred` on, cyclically; the first that lies
// wholly on the screen is taken, else the fourth tried with the preferred nose.
CtlHintPlace CtlPlaceHint(QPoint anchor, QSize size, CtlHintPosition preferred, QRect screen);
QPoint CtlHintOrigin(CtlHintPosition place, QPoint anchor, QSize size);
// The point of the ellipse in `r` at `degrees` clockwise from the top:
// (cx + Trunc(rx sin a), cy − Trunc(ry cos a)), rx and ry the integer half sizes.
QPoint CtlEllipsePoint(const QRect& r, double degrees);

class CtlShapeHint;

class CtlShapeHintWindow : public QWidget {
  Q_OBJECT
 public:
  explicit CtlShapeHintWindow(const CtlShapeHint* owner);
  void ActivateHint(QPoint anchor, const QString& text);
  const QImage& Picture() const { return picture_; }
  CtlHintPosition Place() const { return place_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  const CtlShapeHint* owner_;
  QString text_;
  QImage picture_;
  CtlHintPosition place_ = hpAboveRight;
};

class CtlShapeHint : public QObject {
  Q_OBJECT
 public:
  explicit CtlShapeHint(QObject* parent = nullptr);
  ~CtlShapeHint() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  static CtlShapeHint* Active();

  CtlHintStyle Style = hsNoseRoundRect;
  CtlHintPosition Position = hpAboveRight;
  CtlColor Color = clInfoBk;
  CtlColor BorderColor = clBlack;
  CtlColor FontColor = clInfoText;
  QFont Font;
  Ctl3DCaption Font3D;
  int MaxWidth = -4;
  CtlShadow Shadow;

  // Shows the balloon for `text` at `anchor` (global coordinates).
  void ShowHint(QPoint anchor, const QString& text);
  void HideHint();
  CtlShapeHintWindow* Window() const { return window_; }
  // The text rectangle at (0, 0): word-wrapped within `limit`, with the
  // effect's depths and the library's two pixels of measuring margin.
  QRect MeasureText(const QString& text, int limit) const;
  // Paints the balloon for a window of size `size` taking `place`, text inside `text_rect`.
  QImage PaintShape(QSize size, QRect text_rect, CtlHintPosition place, const QString& text) const;
  // Where an hsNoseEllipse balloon moves its text.
  QPoint NoseEllipseTextOffset(CtlHintPosition place, const QRect& text_rect, QSize size) const;

 signals:
  // The long part of the hint of the control under the pointer (empty when
  // none), for a status line; the balloon shows the short part.
  void hintChanged(const QString& hint);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  // A change of Font3D or Shadow shows at once on a balloon in view.
  void Restyle();

  bool enabled_ = false;
  QPoint last_anchor_;
  QString last_text_;
  QPointer<CtlShapeHintWindow> window_;
  QPointer<QWidget> hinted_;
};
