// The scroll bar: an arrow button at each end, a bevelled thumb panel between
// them and a checkered track painted by the bar. Values set from code fire
// nothing; the user's actions fire `scrolled`, mostly as a pair (first code 8,
// end of scroll, then the real code). After each handler the bar clamps the
// position into its range and lays the thumb out again.
//
// The caret shown on the thumb of a focused bar is not built yet.
#pragma once

#include <QImage>
#include <memory>

#include "controls/caret.h"
#include "controls/panels.h"
#include "controls/controltimer.h"

class CtlArrowSpinButton;

enum CtlScrollBarKind : std::uint8_t { skVertical = 0, skHorizontal = 1 };
enum CtlThumbMode : std::uint8_t { tmFixed, tmAuto };
enum CtlBackStyle : std::uint8_t { bsDefault, bsUser };

// Scroll codes: the direction of the value (line up is a larger value).
enum CtlScrollCode : int {
  scLineUp = 0,
  scLineDown = 1,
  scPageUp = 2,
  scPageDown = 3,
  scPosition = 4,
  scTrack = 5,
  scTop = 6,
  scBottom = 7,
  scEndScroll = 8
};

class CtlScrollBarThumb : public CtlCustomBevelPanel {
  Q_OBJECT
 public:
  explicit CtlScrollBarThumb(QWidget* parent = nullptr);

 signals:
  void pressed(QPoint at, Qt::MouseButton button);
  void moved(QPoint at, Qt::MouseButtons held);
  void released(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
};

class CtlScrollBar : public CtlCustomBevelPanel {
  Q_OBJECT
 public:
  explicit CtlScrollBar(QWidget* parent = nullptr);
  ~CtlScrollBar() override;

  CtlScrollBarKind Kind() const { return kind_; }
  void SetKind(CtlScrollBarKind k);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  int Position() const { return position_; }
  // Clamped into the range; fires nothing.
  void SetPosition(int v);
  int SmallChange() const { return small_change_; }
  void SetSmallChange(int v) { small_change_ = v; }
  int LargeChange() const { return large_change_; }
  void SetLargeChange(int v) { large_change_ = v; }
  int ThumbLength() const { return thumb_length_; }
  void SetThumbLength(int v);
  CtlThumbMode ThumbMode() const { return thumb_mode_; }
  void SetThumbMode(CtlThumbMode m);
  int ButtonWidth() const { return button_width_; }
  void SetButtonWidth(int v);
  bool AllowMousePos() const { return allow_mouse_pos_; }
  void SetAllowMousePos(bool on) { allow_mouse_pos_ = on; }
  // The track's fill: bsDefault paints the checker whenever Back is not sfNone.
  CtlFillObject& Back() { return back_; }
  void SetBack(const CtlFillObject& f) { back_.Assign(f); }
  CtlBackStyle BackStyle() const { return back_style_; }
  void SetBackStyle(CtlBackStyle s);

  // The parts, for tests and the layout.
  CtlScrollBarThumb* Thumb() const { return thumb_; }
  CtlArrowSpinButton* DecreaseButton() const { return decrease_; }
  CtlArrowSpinButton* IncreaseButton() const { return increase_; }
  QRect InnerRect() const { return ClientRect(); }
  int TrackLength() const;
  bool RepeatActive() const { return repeat_.Active(); }
  // White where x and y have the same parity, Color elsewhere; follows Color.
  const QImage& Pattern() const { return pattern_; }
  // Exists on the thumb only while the bar has the focus.
  const CtlCaret& Caret() const { return *caret_; }

  // Arrow handlers (also the arrow keys).
  void Increase();
  void Decrease();

 signals:
  // A handler may change `pos`; the bar clamps and lays out after it.
  void scrolled(int code, int& pos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void changeEvent(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void ColorChanged() override;

 private:
  void Layout();
  void Notify(int code);      // the pair: end of scroll, then the code
  void NotifyOnce(int code);  // one call
  void EndChecks();           // top / bottom
  void Clamp();
  void TrackPress(QPoint at);
  void Drag(QPoint at);
  void BuildPattern();
  void PlaceCaret();

  CtlScrollBarKind kind_ = skHorizontal;
  int min_ = 0, max_ = 100, position_ = 0;
  int small_change_ = 1, large_change_ = 10;
  int thumb_length_ = 16;
  CtlThumbMode thumb_mode_ = tmFixed;
  int button_width_ = 16;
  bool allow_mouse_pos_ = true;
  CtlFillObject back_;
  CtlBackStyle back_style_ = bsDefault;
  bool dragging_ = false;
  QPoint last_drag_, last_pointer_;
  QImage pattern_;
  CtlScrollBarThumb* thumb_ = nullptr;
  CtlArrowSpinButton* decrease_ = nullptr;
  CtlArrowSpinButton* increase_ = nullptr;
  CtlPoolTimer repeat_;
  std::unique_ptr<CtlCaret> caret_;
  bool in_layout_ = false;
};
