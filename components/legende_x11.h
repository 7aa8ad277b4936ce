// What a title bar drawn by the program reads of, and asks of, the X11 window
// manager where the toolkit stops short:
//  - the window manager's move from the point where the button went down
//    (the toolkit's own move starts where the pointer is when it is asked,
//    one drag threshold further on), and its keyboard move and size;
//  - the mouse buttons on the window while a modal window blocks it (the
//    toolkit drops them, so that the strip's buttons would do nothing);
//  - focus taken by a grab (a pop-up menu's, the window manager's during a
//    move): the window keeps its activation then, though the toolkit reports
//    it inactive;
//  - which window holds the keyboard on the server, and which one the window
//    manager calls active, for a main window that takes back the activation
//    the toolkit lost track of.
// Off X11 (Wayland, offscreen) nothing is read and the requests fall back to
// the toolkit's system move and resize.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <array>
#include <cstdint>
#include <functional>

namespace components::x11 {

// One X event as the caption reads it.
struct Event {
  enum Kind { none, press, release, focus_in, focus_out, focus_out_grab };
  Kind kind = none;
  int button = 0;
  QPoint position;  // in the window, device pixels (button events)
};

// Reads an X event (an xcb_generic_event_t as the toolkit hands it to native
// event filters: XInput 2 events still in the library's layout) addressed to
// `window`. `xinput` is the XInput extension's major opcode (0 when absent).
// Focus events that only follow the pointer are none.
Event Read(const void* event, std::uint32_t window, std::uint8_t xinput);

// Directions of the window manager's move and size request.
constexpr std::uint32_t kSizeBottomRight = 4, kMove = 8, kSizeKeyboard = 9, kMoveKeyboard = 10;
// The 32 bytes of a _NET_WM_MOVERESIZE request (`type` is its atom) for
// `window`, from root point `root`, held by `button` (0: the keyboard).
std::array<std::uint8_t, 32> MoveResizeMessage(std::uint32_t window, std::uint32_t type, QPoint root,
                                               std::uint32_t direction, std::uint32_t button);

// The program runs on X11 and can speak to the server.
bool Available();
// The atom of `name`; 0 off X11.
std::uint32_t Atom(const char* name);

// The window that holds the keyboard focus on the server; 0 off X11 and
// while the focus is on no window (None or PointerRoot).
std::uint32_t InputFocus();

// The window the window manager calls active (_NET_ACTIVE_WINDOW); 0 off
// X11, without such a window manager, and while it names none.
std::uint32_t ActiveWindow();
// Whether the window id was made by this program (it may have gone since).
bool OwnWindow(std::uint32_t window);

// Hands the window manager a move of `w` held by the left button from the
// global point `from`. False where no window manager moves windows.
bool StartMoveFrom(QWindow* w, QPoint from);
// The window manager's move or size driven by the keyboard (the arrow keys,
// or the mouse until a click); the toolkit's system move and resize from the
// bottom-right corner off X11. False where nothing moves windows.
bool StartKeyboardMove(QWindow* w);
bool StartKeyboardSize(QWindow* w);

// Watches the X events of one widget's native window, on X11 only, and hands
// `seen` every event Read recognises.
class Watcher : public QAbstractNativeEventFilter {
 public:
  Watcher(QWidget* form, std::function<void(const Event&)> seen);
  ~Watcher() override;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> form_;
  std::function<void(const Event&)> seen_;
  std::uint8_t xinput_ = 0;
};

}  // namespace components::x11
