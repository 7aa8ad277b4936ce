// The gradient caption: a title strip painted by the program, a gradient from
// a start colour to the caption colour with the form's icon, a row of caption
// texts in their own fonts and colours, and the form caption, each shortened
// with "..." when the strip is too narrow.
//
// On Linux the window manager draws the title bar of ordinary top-level
// windows, so the component is effective only on a frameless top-level owner:
// it then is that window's title bar, drawn by the program. The strip sits
// across the owner's top with the window's icon and its minimise,
// maximise/restore and close buttons as the border and icons ask (mirrored on
// a right-to-left owner: icon at the right, buttons at the left); a sizeable
// owner gets a frame around it whose edges and corners resize the window.
// Moving and resizing go through the window manager (from the point where the
// button went down), so that it still snaps and constrains the window; where
// it cannot, the strip moves the window itself. The strip hands its mouse
// presses to the owner's window as non-client events, which the component
// and any other window hook on that window (the form shadow) see through the
// window hook. The strip looks active while its window is the active one, a
// pop-up menu or the window manager's move taking the keyboard meanwhile; and
// while a modal window blocks its window, its buttons and its drag still work
// on X11, as the window manager's own title bar does. On any other owner it
// stays inactive and paints nothing; its FormCaption still names the window.
#pragma once

#include "components/graphiques.h"

#include <QAbstractButton>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class TRxWindowHook;

namespace components {

namespace x11 {
struct Event;
class Watcher;
}  // namespace x11

enum THideDirection { hdLeftToRight, hdRightToLeft };

// The owner's border, as the caption counts its buttons and decides its look.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };

// A font with its colour.
struct TCaptionFont {
  QFont Font;
  CtlColor Color = clCaptionText;
};

class TRxGradientCaption;

// One caption text of the strip.
class TRxCaption {
 public:
  explicit TRxCaption(TRxGradientCaption* owner);

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& s);
  const TCaptionFont& Font() const { return font_; }
  // Sets the caption's own font and clears ParentFont.
  void SetFont(const TCaptionFont& f);
  bool ParentFont() const { return parent_font_; }
  // True copies the owner's font again.
  void SetParentFont(bool on);
  CtlColor InactiveColor() const { return inactive_; }
  void SetInactiveColor(CtlColor c);
  bool GlueNext() const { return glue_; }
  void SetGlueNext(bool on);
  bool Visible() const { return visible_; }
  void SetVisible(bool on);

 private:
  friend class TRxGradientCaption;
  void changed();

  TRxGradientCaption* owner_;
  QString caption_;
  TCaptionFont font_;
  bool parent_font_ = true;
  CtlColor inactive_ = clInactiveCaptionText;
  bool glue_ = false;
  bool visible_ = true;
};

// One text of the strip for the layout: its text, its width function, and
// whether it is glued to the next one. The form caption is the last piece.
struct CaptionPiece {
  QString text;
  TextWidth width;
  bool glue_next = false;
};
// A piece as drawn: its index in the input, its (perhaps shortened) text, its left edge.
struct PlacedPiece {
  int index;
  QString text;
  int x;
  bool shortened;
};
// Lays out `captions` and then `form` in `room` pixels (the 2-pixel lead
// included). Left to right: captions are dropped from the left (a glued one
// with the one after it) while the whole does not fit. Right to left:
// captions are taken from the left, and the form caption follows only while
// room is left. A piece too wide is shortened and ends the row.
std::vector<PlacedPiece> LayoutCaptionPieces(const std::vector<CaptionPiece>& captions, const CaptionPiece& form,
                                             int room, THideDirection direction);

// Number of caption buttons of a window with this border and these icons.
int CaptionButtonCount(TFormBorderStyle style, unsigned icons);

// What a point of a window with a drawn title bar falls on.
enum TCaptionHit {
  htClient, htCaption, htSysMenu, htMinButton, htMaxButton, htClose,
  htLeft, htRight, htTop, htBottom, htTopLeft, htTopRight, htBottomLeft, htBottomRight
};
// The layout of such a window: its size, the sizing frame's width (0 for
// none), the strip's rectangle, the border and icons, and whether it reads
// right to left (the strip mirrored).
struct CaptionFrame {
  QSize window;
  int frame = 0;
  QRect strip;
  TFormBorderStyle border = bsSizeable;
  unsigned icons = biSystemMenu | biMinimize | biMaximize;
  bool rtl = false;
};
// The rectangle of a caption button within the strip's coordinates, from the
// strip's far end (the right, the left when mirrored): close, maximise,
// minimise (help after the close box on dialogs); empty when not shown.
QRect CaptionButtonRect(const CaptionFrame& f, TCaptionHit button);
// The area under `p` (window coordinates). Corners reach kCornerLength along each edge.
TCaptionHit CaptionHitTest(const CaptionFrame& f, QPoint p);
// The edges a frame area resizes; none for the other areas.
Qt::Edges CaptionHitEdges(TCaptionHit hit);
constexpr int kCornerLength = 16;

// The glyph of a caption button (htClose, htMaxButton, htMinButton; the
// maximise box shows restore when `restore`): one row of 16 bits a pixel
// row of the 16 x 14 button, bit x for column x.
using CaptionGlyph = std::array<std::uint16_t, 14>;
CaptionGlyph CaptionButtonGlyph(TCaptionHit kind, bool restore);
// Draws a caption button in `r`: the raised button face (sunken while down)
// with its glyph in the button text colour, one pixel lower and further right
// while down, embossed in the shadow and highlight colours while disabled.
void PaintCaptionButton(QPainter& p, const QRect& r, TCaptionHit kind, bool restore, bool down, bool enabled);

// One button of the strip, drawn by PaintCaptionButton.
class TCaptionButton : public QAbstractButton {
 public:
  TCaptionButton(TCaptionHit kind, QWidget* parent);
  TCaptionHit Kind() const { return kind_; }
  // The maximise box stands for restore.
  bool Restore() const { return restore_; }
  void SetRestore(bool on);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TCaptionHit kind_;
  bool restore_ = false;
};

class TRxGradientCaption : public QWidget {
  Q_OBJECT
 public:
  // Shows itself across the top of `owner`'s window when that window is a frameless top-level one.
  explicit TRxGradientCaption(QWidget* owner);
  ~TRxGradientCaption() override;

  static constexpr int kCaptionHeight = 18;
  static constexpr int kToolCaptionHeight = 15;
  static constexpr int kButtonWidth = 18;
  static constexpr int kFrameWidth = 4;  // the sizing frame of a sizeable owner

  // The platform lets the window manager move and size a frameless window
  // (X11, Wayland): a drawn title bar can stand in for its own.
  static bool SystemMoveAvailable();
  static void SetSystemMoveForTest(int available);  // -1: ask the platform

  bool Active() const { return active_; }
  void SetActive(bool on);
  // Active and painting: the owner is a frameless top-level window.
  bool Effective() const;
  const QString& FormCaption() const { return form_caption_; }
  void SetFormCaption(const QString& s);
  const TCaptionFont& CaptionFont() const;
  // Sets the font (DefaultFont becomes false) and gives it to the captions that follow it.
  void SetFont(const TCaptionFont& f);
  bool DefaultFont() const { return default_font_; }
  void SetDefaultFont(bool on);
  CtlColor FontInactiveColor() const { return font_inactive_; }
  void SetFontInactiveColor(CtlColor c);
  bool GradientActive() const { return gradient_active_; }
  void SetGradientActive(bool on);
  bool GradientInactive() const { return gradient_inactive_; }
  void SetGradientInactive(bool on);
  int GradientSteps() const { return steps_; }
  void SetGradientSteps(int n);
  THideDirection HideDirection() const { return hide_; }
  void SetHideDirection(THideDirection d);
  CtlColor StartColor() const { return start_; }
  void SetStartColor(CtlColor c);
  QMenu* PopupMenu() const { return popup_; }
  void SetPopupMenu(QMenu* m) { popup_ = m; }
  TFormBorderStyle FormBorderStyle() const { return border_; }
  void SetFormBorderStyle(TFormBorderStyle s);
  unsigned BorderIcons() const { return icons_; }
  void SetBorderIcons(unsigned icons);

  // The caption list.
  TRxCaption* AddCaption();
  int CaptionCount() const { return static_cast<int>(captions_.size()); }
  TRxCaption* Caption(int i) const { return captions_.at(static_cast<std::size_t>(i)).get(); }
  void ClearCaptions();

  // The owner's window is drawn active.
  bool WindowActive() const { return window_active_; }
  void SetWindowActive(bool on);
  // The strip, as last prepared (empty while not effective or without a border).
  const QImage& Bar() const { return bar_; }
  // The owner reads right to left (its layout direction): the texts are then
  // right-aligned, laid from the right edge leftwards, each read right to left.
  bool RightToLeftReading() const;
  // The caption rectangle in the owner's coordinates, buttons excluded.
  QRect CaptionRect() const;
  TCaptionButton* CloseButton() const { return close_; }
  TCaptionButton* MaxButton() const { return max_; }
  TCaptionButton* MinButton() const { return min_; }
  // The owner's layout as the hit test reads it.
  CaptionFrame Frame() const;
  // The width of the sizing frame drawn around the owner now (0 when none or maximised).
  int FrameWidth() const;
  // The frame's four edge areas (left, top, right, bottom), while shown.
  QWidget* Grip(int side) const { return grips_[static_cast<std::size_t>(side)]; }
  // The window hook through which the caption watches its owner.
  TRxWindowHook* Hook() const { return hook_; }
  // A drag that the strip does itself (no window manager's move) is under way.
  bool MovingItself() const { return dragging_; }

  std::function<void()> OnActivate, OnDeactivate;
  // Runs in place of closing when the close button is clicked while a modal
  // window blocks the owner: the window system's close requests are dropped
  // then, and the owner says why it stays open the same way for both.
  std::function<void()> OnCloseBlocked;
  // Runs in place of closing the owner when the close button is clicked, for
  // an owner that asks its questions before its close begins.
  std::function<void()> OnClose;

  // A modal window (not the owner) blocks the owner's input.
  bool BlockedByModalWindow() const;
  // The window manager's move or size of the owner by the keyboard, as the
  // window menu's Move and Size ask; false where nothing moves windows.
  bool StartKeyboardMove();
  bool StartKeyboardSize();
  // What the window system says of the owner's window that the toolkit does
  // not pass on (read on X11): focus taken by a grab, and the mouse buttons
  // while a modal window blocks it.
  void NativeEvent(const x11::Event& e);

  // Follows the owner's state and prepares the strip again.
  void Update();

 protected:
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  friend class TRxCaption;
  friend class CaptionGrip;
  // The owner's window events, before and after the window.
  void before_message(QEvent* e, bool& handled);
  void after_message(QEvent* e);
  // Hands a mouse event of the strip to the owner's window as a non-client one.
  void non_client(QEvent::Type type, QMouseEvent* e);
  // Hands the move to the window manager from the press point, or moves the window itself.
  void start_move(QPoint global);
  void close_window();
  // The look follows the window's activation, kept while a grab holds the keyboard.
  void follow_activation();
  void blocked_pointer(const x11::Event& e);
  TCaptionButton* button_of(TCaptionHit hit) const;
  void toggle_maximized();
  void place_buttons();
  void place_frame();
  void captions_changed();
  void recalc();
  void paint_texts(QPainter& p, QRect r);
  TCaptionFont default_caption_font() const;
  int strip_height() const;
  bool tool_window() const { return border_ == bsToolWindow || border_ == bsSizeToolWin; }

  QWidget* form_;
  bool active_ = true;
  QString form_caption_;
  mutable TCaptionFont font_;       // the desktop's title font until set (CaptionFont)
  mutable bool font_known_ = false;
  bool default_font_ = true;
  CtlColor font_inactive_ = clInactiveCaptionText;
  bool gradient_active_ = true;
  bool gradient_inactive_ = false;
  int steps_ = 64;
  THideDirection hide_ = hdLeftToRight;
  CtlColor start_ = clWindowText;
  QPointer<QMenu> popup_;
  TFormBorderStyle border_ = bsSizeable;
  unsigned icons_ = biSystemMenu | biMinimize | biMaximize;
  std::vector<std::unique_ptr<TRxCaption>> captions_;
  bool window_active_ = false;
  bool grabbed_ = false;  // a grab took the keyboard while the window was active
  TCaptionHit blocked_press_ = htClient;  // where a left press went down while blocked
  bool right_pressed_ = false;
  QPoint drag_from_;
  QPoint press_at_;  // where a left press on the strip began, until a move starts
  bool dragging_ = false;
  QImage bar_;
  TCaptionButton* close_;
  TCaptionButton* max_;
  TCaptionButton* min_;
  std::array<QWidget*, 4> grips_{};
  QMargins applied_;  // the owner's contents margins the caption added
  TRxWindowHook* hook_;
  std::unique_ptr<x11::Watcher> watcher_;
};

}  // namespace components
