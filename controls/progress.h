// The meter and the percent gauge: a bar (solid, segmented or drawn by the
// owner) that grows from one end, with the percentage or a caption drawn in
// contrast on both parts. A change of Position repaints at once, so the gauge
// follows long work that keeps the event loop waiting; small changes that
// would not move a segment are not drawn.
#pragma once

#include <QString>
#include <algorithm>
#include <functional>

#include "controls/basecontrols.h"

enum CtlMeterTextOptions : std::uint8_t { toNoText, toCaption, toPercent };
enum CtlProgressStyle : std::uint8_t { pgBar, pgSmallBar, pgSmallBarColor, pgOwnerDraw };

class CtlBaseMeter : public CtlGraphicControl {
  Q_OBJECT
 public:
  explicit CtlBaseMeter(QWidget* parent = nullptr);
  ~CtlBaseMeter() override;

  Ctl3DCaption& Font3D() { return font3d_; }
  // Horizontal placement of the text: Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter.
  Qt::Alignment Alignment() const { return alignment_; }
  void SetAlignment(Qt::Alignment a);
  CtlMeterDirection Direction() const { return direction_; }
  void SetDirection(CtlMeterDirection d);
  CtlMeterTextOptions OptionsText() const { return options_text_; }
  void SetOptionsText(CtlMeterTextOptions o);
  bool UseFontColor() const { return use_font_color_; }
  void SetUseFontColor(bool on);
  CtlColor FontColor() const { return font_color_; }
  void SetFontColor(CtlColor c);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& c);
  int Step() const { return step_; }
  void SetStep(int s) { step_ = std::clamp(s, 0, 100); }

  int Position() const { return position_; }
  // Values outside 0..100 are held to the nearest end.
  void SetPosition(int value);
  int UserValue() const { return user_value_; }
  // Ignored outside MinValue..MaxValue.
  void SetUserValue(int value);
  int MinValue() const { return min_value_; }
  int MaxValue() const { return max_value_; }
  void SetMinValue(int value);
  void SetMaxValue(int value);

  // The text the meter shows.
  QString Text() const;
  // The client inside the bevel.
  QRect InnerRect() const { return Bevel().GetClientRect(rect()); }
  // The parts of the inner rectangle for a percentage, by Direction.
  void SplitBar(int percent, QRect& filled, QRect& empty) const;
  // The percentage drawn last.
  int last_drawn() const { return last_drawn_; }

  // Fits the size to the bar; true when it changed it.
  virtual bool CheckAutoSize() { return false; }
  virtual int GetPercent() const { return position_; }
  // The least change of percentage worth a redraw.
  virtual int RedrawThreshold() const { return 1; }

 protected:
  virtual void PaintBar(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole);
  // Redraws when the percentage moved enough since the last drawing.
  void UpdateBar();
  // The text twice, in contrast on both parts, or once in the font colour.
  void PaintText(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole, CtlColor bar);
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  void PositionFromUserValue();

  Ctl3DCaption font3d_;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  CtlMeterDirection direction_ = mdHorizontal;
  int max_value_ = 100, min_value_ = 0;
  int position_ = 0, last_drawn_ = -1, step_ = 10;
  CtlMeterTextOptions options_text_ = toNoText;
  bool use_font_color_ = false;
  CtlColor font_color_ = clWindowText;
  int user_value_ = 0;
  QString caption_;
  bool sizing_ = false;
};

class CtlProgress : public CtlBaseMeter {
  Q_OBJECT
 public:
  using PaintEvent = std::function<void(CtlProgress*, QPainter&, const QRect& filled, const QRect& empty,
                                        const QRect& whole)>;
  using ColorEvent = std::function<void(CtlProgress*, int segment, CtlColor& colour)>;

  explicit CtlProgress(QWidget* parent = nullptr);
  ~CtlProgress() override;

  CtlSmallBar& SmallBar() { return small_bar_; }
  void SetSmallBar(const CtlSmallBar& s) { small_bar_.Assign(s); }
  CtlColor BarColor() const { return bar_color_; }
  // BarColor and Bar3D repaint only in pgBar, where they are drawn.
  void SetBarColor(CtlColor c);
  CtlBorderStyle Bar3D() const { return bar3d_; }
  void SetBar3D(CtlBorderStyle s);
  CtlProgressStyle Style() const { return style_; }
  void SetStyle(CtlProgressStyle s);
  PaintEvent OnPaint;
  ColorEvent OnGetColor;

  // Small bars without the percentage redraw every half segment.
  int RedrawThreshold() const override;
  // Small bars with SmallBar.Autosize: the length along the direction fits
  // BarCount segments and their gaps inside the bevel.
  bool CheckAutoSize() override;
  // Segments lit for a percentage.
  int LitSegments(int percent) const;

 protected:
  void PaintBar(QPainter& p, const QRect& filled, const QRect& empty, const QRect& whole) override;

 private:
  void PaintSegments(QPainter& p, const QRect& filled, const QRect& whole);

  CtlColor bar_color_ = clNavy;
  CtlBorderStyle bar3d_ = lsNone;
  CtlSmallBar small_bar_;
  CtlProgressStyle style_ = pgSmallBar;
};
