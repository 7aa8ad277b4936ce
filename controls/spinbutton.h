// The two held-to-repeat arrow buttons of the library. `CtlSpinButton` is the
// square up/down button at the right end of the spin edit, split by its
// diagonal; `CtlArrowSpinButton` shows any set of up, down, left and right
// arrows and serves as the scroll bar's end buttons. Both fire their click
// signal at the press and again at each repeat of the application's timer
// pool: the first repeat after Interval + 200 ms, then every Interval ms.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <initializer_list>

#include "controls/basecontrols.h"
#include "controls/controltimer.h"

// The repeat of a held button. The item starts at 300 ms; the pool keeps the
// interval it has when asked for one that is not a multiple of its step.
class CtlSpinRepeat {
 public:
  explicit CtlSpinRepeat(std::function<void()> fire);
  int Interval() const { return interval_; }
  void SetInterval(int ms) { interval_ = ms; }
  // Arms the item for the first repeat (Interval + 200).
  void Start();
  void Stop() { timer_.Stop(); }
  bool Active() const { return timer_.Active(); }

 private:
  void Tick();
  std::function<void()> fire_;
  int interval_ = 100;
  CtlPoolTimer timer_;
};

// The square button: faces 0 normal, 1 upper half pressed, 2 lower half
// pressed, 3 disabled. Window-less: it never takes the focus.
class CtlSpinButton : public QWidget {
  Q_OBJECT
 public:
  explicit CtlSpinButton(QWidget* parent = nullptr);

  int Interval() const { return repeat_.Interval(); }
  void SetInterval(int ms) { repeat_.SetInterval(ms); }
  int Face() const { return face_; }
  // The strip of the four faces side by side, rebuilt on resize (and here
  // when a resize of the hidden button is still pending).
  const QImage& Faces();
  // Whether a point lies in the upper half: above the diagonal from the
  // bottom-left to the top-right corner.
  static bool InUpperHalf(QSize size, QPoint pt);

 signals:
  void topClicked();
  void bottomClicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void BuildFaces();
  void SetFace(int face);
  void Fire();

  int face_ = 0;
  int pressed_half_ = 0;  // 1 upper, 2 lower, 0 none
  QImage faces_;
  CtlSpinRepeat repeat_;
};

enum CtlSingleSpinButton : std::uint8_t { sbLeft, sbRight, sbUp, sbDown };

// A set of CtlSingleSpinButton.
class CtlSpinButtons {
 public:
  constexpr CtlSpinButtons() = default;
  constexpr CtlSpinButtons(std::initializer_list<CtlSingleSpinButton> buttons) {
    for (CtlSingleSpinButton b : buttons) bits_ |= std::uint8_t(1u << b);
  }
  constexpr bool Has(CtlSingleSpinButton b) const { return bits_ & (1u << b); }
  constexpr std::uint8_t Bits() const { return bits_; }
  constexpr bool operator==(const CtlSpinButtons&) const = default;

 private:
  std::uint8_t bits_ = 0;
};

// The layout code of a set: [sbUp] 1, [sbUp, sbDown] 2, … [sbRight] 15; 0 for the empty set.
int CtlSpinButtonsCode(CtlSpinButtons set);

// Faces 0 normal, 1 up, 2 down, 3 left, 4 right pressed, 5 disabled.
class CtlArrowSpinButton : public CtlGraphicControl {
  Q_OBJECT
 public:
  explicit CtlArrowSpinButton(QWidget* parent = nullptr);

  CtlSpinButtons SpinButtons() const { return buttons_; }
  void SetSpinButtons(CtlSpinButtons set);
  int LayoutCode() const { return code_; }
  int Interval() const { return repeat_.Interval(); }
  void SetInterval(int ms) { repeat_.SetInterval(ms); }
  int Face() const { return face_; }
  // The face a press at `pt` gives for the layout code (0: no press).
  static int PressedFace(int code, QSize size, QPoint pt);
  // The strip of the six faces side by side.
  QImage BuildFaces() const;

 signals:
  void topClicked();
  void bottomClicked();
  void leftClicked();
  void rightClicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void SetFace(int face);
  void Fire();
  void DrawFace(QPainter& p, const QRect& r, int face) const;

  CtlSpinButtons buttons_{sbUp};
  int code_ = 1;
  int face_ = 0;
  int held_ = 0;  // the face of the press while the button is held
  CtlSpinRepeat repeat_;
};
