// The slider of the option dialogs, drawn entirely by itself: a framed track,
// tick marks and a thumb picture built from its colours (or a given one). Every
// change of Position fires `changed`, whatever made it: code, a drag, paging
// presses and their repeats, keys, the wheel, or a new range. The shadow fill
// darkens what lies under it with a checker of its colour.
#pragma once

#include <QImage>
#include <QRect>
#include <functional>

#include "controls/panels.h"
#include "controls/controltimer.h"

enum CtlOrientation : std::uint8_t { toHorizontal, toVertical };
enum CtlTrackBarFocusStyle : std::uint8_t { tbFocus, tbInvisibleFocus, tbNoFocus };
enum CtlThumbStyle : std::uint8_t { tsStandard, tsCustom };
enum CtlTickMarks : std::uint8_t { tmBoth, tmBottomRight, tmTopLeft };
enum CtlTickStyle : std::uint8_t { tsAuto, tsOwnerDraw, tsNone };

// What the geometry depends on, and what it gives. All divisions truncate.
struct CtlTrackLayout {
  QRect client;
  int margin = 1, track_width = 10;
  int thumb_length = 11, thumb_thickness = 20;  // L and T
  CtlOrientation orientation = toHorizontal;
  CtlTickMarks tick_marks = tmBottomRight;
  CtlTickStyle tick_style = tsAuto;
  int min = 0, max = 10;
  // Read right to left: a horizontal bar runs from MaxValue at the left to
  // MinValue at the right (a vertical bar is the same either way).
  bool mirrored = false;
};

struct CtlTrackGeometry {
  QRect area;   // client inset by the margin
  QRect track;  // the framed track
  int half = 0; // h: half the thumb length
};

CtlTrackGeometry CtlTrackBarGeometry(const CtlTrackLayout& l);
// The thumb's rectangle for value v (MaxValue at the top of a vertical bar,
// at the left of a mirrored horizontal one).
QRect CtlTrackThumbRect(const CtlTrackLayout& l, const CtlTrackGeometry& g, int v);
// The coordinate along the bar (x, or y when vertical) of the tick of v: the
// centre of the thumb of v.
int CtlTrackTickPos(const CtlTrackLayout& l, const CtlTrackGeometry& g, int v);
// The value a drag to `pointer` asks for (not yet clamped), or nothing when
// the working length leaves no room for the formula.
bool CtlTrackDragValue(const CtlTrackLayout& l, const CtlTrackGeometry& g, QPoint pointer, int& value);

// The built thumb: two frames side by side (frame 0 normal, frame 1 the
// disabled or dragged look); pointer thumbs are filled with olive, their
// transparent colour.
QImage CtlBuildTrackThumb(CtlOrientation o, CtlTickMarks marks, int track_width, CtlColor thumb_color);

class CtlTrackBar : public CtlCustomPanel {
  Q_OBJECT
 public:
  // Draws one tick of value v at `at` (tsOwnerDraw).
  using DrawTickEvent = std::function<void(CtlTrackBar*, QPainter&, int v, QPoint at)>;

  explicit CtlTrackBar(QWidget* parent = nullptr);
  ~CtlTrackBar() override;

  int Position() const { return position_; }
  void SetPosition(int v);
  int MaxValue() const { return max_; }
  void SetMaxValue(int v);
  int MinValue() const { return min_; }
  void SetMinValue(int v);
  int LineSize() const { return line_size_; }
  void SetLineSize(int v) { line_size_ = v; }
  int PageSize() const { return page_size_; }
  void SetPageSize(int v) { page_size_ = v; }
  int Margin() const { return margin_; }
  void SetMargin(int v);
  CtlOrientation Orientation() const { return orientation_; }
  void SetOrientation(CtlOrientation o);

  CtlColor FocusColor() const { return focus_color_; }
  void SetFocusColor(CtlColor c) { Store(focus_color_, c); }
  CtlTrackBarFocusStyle FocusStyle() const { return focus_style_; }
  void SetFocusStyle(CtlTrackBarFocusStyle s);
  bool UseFocusColor() const { return use_focus_color_; }
  void SetUseFocusColor(bool on) { Store(use_focus_color_, on); }

  // The thumb picture: the built one with tsStandard, else the given one.
  const QImage& Thumb() const { return thumb_; }
  // An empty picture goes back to the built thumb; any other is used as given.
  void SetThumb(const QImage& picture);
  CtlColor ThumbColor() const { return thumb_color_; }
  void SetThumbColor(CtlColor c);
  CtlThumbStyle ThumbStyle() const { return thumb_style_; }
  void SetThumbStyle(CtlThumbStyle s);
  int ThumbLength() const { return thumb_length_; }
  int ThumbThickness() const { return thumb_thickness_; }

  CtlColor TickColor() const { return tick_color_; }
  void SetTickColor(CtlColor c) { Store(tick_color_, c); }
  int TickGap() const { return tick_gap_; }
  void SetTickGap(int v);
  int TickLength() const { return tick_length_; }
  void SetTickLength(int v) { Store(tick_length_, v); }
  CtlTickMarks TickMarks() const { return tick_marks_; }
  void SetTickMarks(CtlTickMarks m);
  CtlTickStyle TickStyle() const { return tick_style_; }
  void SetTickStyle(CtlTickStyle s) { Store(tick_style_, s); }
  DrawTickEvent OnDrawTick;

  CtlBorderStyle TrackBorderStyle() const { return track_border_style_; }
  void SetTrackBorderStyle(CtlBorderStyle s) { Store(track_border_style_, s); }
  int TrackBorder() const { return track_border_; }
  void SetTrackBorder(int v) { Store(track_border_, v); }
  CtlColor TrackColor() const { return track_color_; }
  void SetTrackColor(CtlColor c) { Store(track_color_, c); }
  int TrackWidth() const { return track_width_; }
  void SetTrackWidth(int v);
  CtlFillObject& TrackFillObject() { return fill_; }
  void SetTrackFillObject(const CtlFillObject& f) { fill_.Assign(f); }
  bool TrackTransparent() const { return track_transparent_; }
  void SetTrackTransparent(bool on);

  bool Dragging() const { return dragging_; }
  // The layout of the current state, and its geometry.
  CtlTrackLayout Layout() const;
  CtlTrackGeometry Geometry() const { return CtlTrackBarGeometry(Layout()); }
  QRect ThumbRect(int v) const;

  // See-through with Transparent or TrackTransparent over a parent that gives a background.
  bool IsTransparent() const override;

 signals:
  void changed();

 protected:
  void ImageListChanged() override;
  void PaintBackground(QPainter& p) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  template <typename T>
  void Store(T& field, T value) {
    if (CtlStore(field, value)) update();
  }
  void RebuildThumb();
  void MeasureThumb();
  void DrawTicks(QPainter& p, const CtlTrackLayout& l, const CtlTrackGeometry& g);
  void DrawThumb(QPainter& p, const QRect& r);
  void DrawFocus(QPainter& p);
  // Pages once toward the remembered side: +PageSize after the thumb, − before.
  void Page();
  // −1 before the thumb, +1 after it, 0 on it or outside the track.
  int SideOf(QPoint pt) const;
  void RepeatTick();

  int position_ = 0, min_ = 0, max_ = 10;
  int margin_ = 1, line_size_ = 1, page_size_ = 2;
  CtlOrientation orientation_ = toHorizontal;
  CtlColor focus_color_ = 0x808080, thumb_color_ = clBtnFace, tick_color_ = clBlack, track_color_ = clWhite;
  CtlTrackBarFocusStyle focus_style_ = tbFocus;
  bool use_focus_color_ = false, track_transparent_ = false;
  CtlThumbStyle thumb_style_ = tsStandard;
  int tick_gap_ = -1, tick_length_ = 6, track_border_ = 0, track_width_ = 10;
  CtlTickMarks tick_marks_ = tmBottomRight;
  CtlTickStyle tick_style_ = tsAuto;
  CtlBorderStyle track_border_style_ = lsLoweredExt;
  CtlFillObject fill_;
  QImage thumb_;
  int thumb_length_ = 0, thumb_thickness_ = 0;
  bool dragging_ = false, left_down_ = false;
  int page_side_ = 0;
  QPoint last_pointer_;
  CtlPoolTimer repeat_;
};

enum class CtlShadowFillStyle : std::uint8_t { sfNone, sfShadow, sfFullShadow };

class CtlShadowFill : public CtlGraphicControl {
  Q_OBJECT
 public:
  explicit CtlShadowFill(QWidget* parent = nullptr);

  CtlColor ShadowColor() const { return shadow_color_; }
  // White is taken as black.
  void SetShadowColor(CtlColor c);
  CtlShadowFillStyle Style() const { return style_; }
  void SetStyle(CtlShadowFillStyle s);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  CtlColor shadow_color_ = clBlack;
  CtlShadowFillStyle style_ = CtlShadowFillStyle::sfShadow;
  QImage pattern_;
};
