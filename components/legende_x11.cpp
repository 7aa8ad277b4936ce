// The drawn title bar's dealings with the X11 server and window manager: the
// events it reads, the requests it sends, and the toolkit's fallbacks elsewhere.
#include "components/legende_x11.h"

#include <QCursor>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>

#ifdef QUORVEL_XCB
#include <xcb/xcb.h>
#endif

namespace components::x11 {

namespace {

// Event codes of the core protocol and of XInput 2.
constexpr std::uint8_t kButtonPress = 4, kButtonRelease = 5, kFocusIn = 9, kFocusOut = 10, kGenericEvent = 35;
constexpr std::uint8_t kClientMessage = 33;
constexpr std::uint16_t kXiButtonPress = 4, kXiButtonRelease = 5;
constexpr std::uint32_t kXiButtonWords = 4;  // up to the event coordinates: 36 + 4 x 4 bytes
// Focus details and modes.
constexpr std::uint8_t kNotifyInferior = 2, kNotifyPointer = 5, kNotifyGrab = 1;

template <class T>
T at(const std::uint8_t* b, int offset) {
  T v;
  std::memcpy(&v, b + offset, sizeof v);
  return v;
}

// A fixed-point 16.16 coordinate of XInput 2, whole pixels.
int whole(std::int32_t fixed) { return fixed >> 16; }

#ifdef QUORVEL_XCB
xcb_connection_t* connection() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}

std::uint8_t xinput_opcode(xcb_connection_t* c) {
  static const char name[] = "XInputExtension";
  xcb_query_extension_reply_t* r =
      xcb_query_extension_reply(c, xcb_query_extension(c, sizeof name - 1, name), nullptr);
  const std::uint8_t op = r && r->present ? r->major_opcode : 0;
  std::free(r);
  return op;
}

// The atom of the window manager's move and size request, asked of the server
// once: a move starts on a button press, without a round trip first.
std::uint32_t move_resize_atom() {
  static const std::uint32_t atom = Atom("_NET_WM_MOVERESIZE");
  return atom;
}

// Sends a client message to the root window, where the window manager reads requests.
void to_window_manager(xcb_connection_t* c, const std::array<std::uint8_t, 32>& m) {
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(m.data()));
  xcb_flush(c);
}

// The keyboard move or size request; false off X11.
bool keyboard_request(QWindow* w, std::uint32_t direction) {
  xcb_connection_t* c = connection();
  const std::uint32_t type = move_resize_atom();
  if (!c || !type || !w) return false;
  const QPoint at = QCursor::pos() * w->devicePixelRatio();
  to_window_manager(c, MoveResizeMessage(static_cast<std::uint32_t>(w->winId()), type, at, direction, 0));
  return true;
}
#else
bool keyboard_request(QWindow*, std::uint32_t) { return false; }
#endif

}  // namespace

Event Read(const void* event, std::uint32_t window, std::uint8_t xinput) {
  Event out;
  if (!event || !window) return out;
  const auto* b = static_cast<const std::uint8_t*>(event);
  const std::uint8_t type = b[0] & 0x7f;  // the top bit marks events sent by clients
  if (type == kButtonPress || type == kButtonRelease) {
    if (at<std::uint32_t>(b, 12) != window) return out;
    out.kind = type == kButtonPress ? Event::press : Event::release;
    out.button = b[1];
    out.position = QPoint(at<std::int16_t>(b, 24), at<std::int16_t>(b, 26));
  } else if (type == kFocusIn || type == kFocusOut) {
    const std::uint8_t detail = b[1];
    if (at<std::uint32_t>(b, 4) != window || detail == kNotifyPointer) return out;
    if (type == kFocusIn) out.kind = Event::focus_in;
    else if (detail != kNotifyInferior) out.kind = b[8] == kNotifyGrab ? Event::focus_out_grab : Event::focus_out;
  } else if (type == kGenericEvent && xinput && b[1] == xinput) {
    // The device event as the library reads it: its 32-bit sequence number
    // sits at byte 32, before the root and event coordinates. Its length (in
    // 4-byte words past the first 32 bytes) must reach the event coordinates.
    const auto kind = at<std::uint16_t>(b, 8);
    if ((kind != kXiButtonPress && kind != kXiButtonRelease) || at<std::uint32_t>(b, 24) != window ||
        at<std::uint32_t>(b, 4) < kXiButtonWords)
      return out;
    out.kind = kind == kXiButtonPress ? Event::press : Event::release;
    out.button = static_cast<int>(at<std::uint32_t>(b, 16));
    out.position = QPoint(whole(at<std::int32_t>(b, 44)), whole(at<std::int32_t>(b, 48)));
  }
  return out;
}

std::array<std::uint8_t, 32> MoveResizeMessage(std::uint32_t window, std::uint32_t type, QPoint root,
                                               std::uint32_t direction, std::uint32_t button) {
  std::array<std::uint8_t, 32> m{};
  m[0] = kClientMessage;
  m[1] = 32;  // format: 32-bit data
  const std::uint32_t words[7] = {window,
                                  type,
                                  static_cast<std::uint32_t>(root.x()),
                                  static_cast<std::uint32_t>(root.y()),
                                  direction,
                                  button,
                                  1 /* asked by an ordinary application */};
  std::memcpy(m.data() + 4, words, sizeof words);
  return m;
}

bool Available() {
#ifdef QUORVEL_XCB
  return connection() != nullptr;
#else
  return false;
#endif
}

std::uint32_t Atom(const char* name) {
#ifdef QUORVEL_XCB
  xcb_connection_t* c = connection();
  if (!c || !name) return 0;
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const std::uint32_t a = r ? r->atom : 0;
  std::free(r);
  return a;
#else
  (void)name;
  return 0;
#endif
}

std::uint32_t InputFocus() {
#ifdef QUORVEL_XCB
  xcb_connection_t* c = connection();
  if (!c) return 0;
  xcb_get_input_focus_reply_t* r = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
  const std::uint32_t focus = r && r->focus != XCB_NONE && r->focus != XCB_INPUT_FOCUS_POINTER_ROOT ? r->focus : 0;
  std::free(r);
  return focus;
#else
  return 0;
#endif
}

std::uint32_t ActiveWindow() {
#ifdef QUORVEL_XCB
  xcb_connection_t* c = connection();
  if (!c) return 0;
  static const std::uint32_t atom = Atom("_NET_ACTIVE_WINDOW");
  if (!atom) return 0;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c, xcb_get_property(c, 0, root, atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
  std::uint32_t active = 0;
  if (r && r->format == 32 && xcb_get_property_value_length(r) >= 4)
    std::memcpy(&active, xcb_get_property_value(r), sizeof active);
  std::free(r);
  return active;
#else
  return 0;
#endif
}

bool OwnWindow(std::uint32_t window) {
#ifdef QUORVEL_XCB
  xcb_connection_t* c = connection();
  if (!c || !window) return false;
  const xcb_setup_t* s = xcb_get_setup(c);
  return (window & ~s->resource_id_mask) == (s->resource_id_base & ~s->resource_id_mask);
#else
  (void)window;
  return false;
#endif
}

bool StartMoveFrom(QWindow* w, QPoint from) {
  if (!w) return false;
#ifdef QUORVEL_XCB
  xcb_connection_t* c = connection();
  const std::uint32_t type = move_resize_atom();
  if (c && type) {
    // The window manager takes this request, from the press point. The
    // toolkit's own, which follows at once from the pointer's present place,
    // comes while the move is under way and is refused; it still leaves the
    // toolkit waiting for the button's release at the end of the move, which
    // ends the strip's press.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    const QPoint root = from * w->devicePixelRatio();
    to_window_manager(c, MoveResizeMessage(static_cast<std::uint32_t>(w->winId()), type, root, kMove, 1));
  }
#else
  (void)from;
#endif
  return w->startSystemMove();
}

bool StartKeyboardMove(QWindow* w) {
  if (keyboard_request(w, kMoveKeyboard)) return true;
  return w && w->startSystemMove();
}

bool StartKeyboardSize(QWindow* w) {
  if (keyboard_request(w, kSizeKeyboard)) return true;
  return w && w->startSystemResize(Qt::RightEdge | Qt::BottomEdge);
}

Watcher::Watcher(QWidget* form, std::function<void(const Event&)> seen) : form_(form), seen_(std::move(seen)) {
#ifdef QUORVEL_XCB
  if (xcb_connection_t* c = connection()) {
    xinput_ = xinput_opcode(c);
    qGuiApp->installNativeEventFilter(this);
  }
#endif
}

Watcher::~Watcher() {
  if (qGuiApp) qGuiApp->removeNativeEventFilter(this);
}

bool Watcher::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t" || !form_ || !form_->testAttribute(Qt::WA_WState_Created)) return false;
  const Event e = Read(message, static_cast<std::uint32_t>(form_->winId()), xinput_);
  if (e.kind != Event::none && seen_) seen_(e);
  return false;  // the toolkit goes on with the event as usual
}

}  // namespace components::x11
