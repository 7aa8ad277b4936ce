// The percent gauge: a bar that grows from the left and the percentage drawn
// in contrast on both parts. A change of Position repaints at once, so the
// gauge follows long work that keeps the event loop waiting.
#pragma once

#include <QWidget>

#include "controls/properties.h"

enum CtlMeterTextOptions : std::uint8_t { toNoText, toCaption, toPercent };
enum CtlProgressStyle : std::uint8_t { pgBar, pgSmallBar, pgSmallBarColor, pgOwnerDraw };


class CtlProgress : public QWidget {
  Q_OBJECT
 public:
  explicit CtlProgress(QWidget* parent = nullptr);

  CtlBevel& Bevel() { return bevel_; }
  CtlSmallBar& SmallBar() { return small_bar_; }

  int Position() const { return position_; }
  // Values outside 0..100 are held to the nearest end.
  void SetPosition(int value);
  int UserValue() const { return user_value_; }
  void SetUserValue(int value);
  int MinValue() const { return min_value_; }
  int MaxValue() const { return max_value_; }
  void SetMinValue(int value);
  void SetMaxValue(int value);

  CtlColor Color() const { return color_; }
  void SetColor(CtlColor c);
  CtlColor BarColor() const { return bar_color_; }
  void SetBarColor(CtlColor c);
  CtlBorderStyle Bar3D() const { return bar3d_; }
  void SetBar3D(CtlBorderStyle s);
  CtlProgressStyle Style() const { return style_; }
  void SetStyle(CtlProgressStyle s);
  CtlMeterTextOptions OptionsText() const { return options_text_; }
  void SetOptionsText(CtlMeterTextOptions o);
  CtlMeterDirection Direction() const { return direction_; }
  void SetDirection(CtlMeterDirection d);
  int Step() const { return step_; }
  void SetStep(int s) { step_ = s; }

  // The text the gauge shows.
  QString Text() const;
  // The client inside the bevel.
  QRect InnerRect() const;
  // Full paints so far.
  int paint_count() const { return paint_count_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void UpdateBar();
  void PaintBar(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole);
  void PaintText(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole, CtlColor bar);
  void PositionFromUserValue();

  CtlBevel bevel_;
  CtlSmallBar small_bar_;
  int position_ = 0;
  int user_value_ = 0;
  int min_value_ = 0, max_value_ = 100;
  int step_ = 10;
  CtlColor color_ = clBtnFace;
  CtlColor bar_color_ = clNavy;
  CtlBorderStyle bar3d_ = lsNone;
  CtlProgressStyle style_ = pgSmallBar;
  CtlMeterTextOptions options_text_ = toNoText;
  CtlMeterDirection direction_ = mdHorizontal;
  int paint_count_ = 0;
};
