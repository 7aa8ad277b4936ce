// What the model needs of the user interface, through small interfaces:
// the progress window, questions and warnings, and the editor's map pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/messages.h"

using platform::WindowHandle;

// The progress window as the workers see it. Workers receive it as a pointer
// that may be null (no progress window).
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void take_focus() = 0;
  virtual void demarrer(WindowHandle notified) = 0;
  // nullopt leaves the caption as it is (a nil caption), which differs from "".
  virtual void avancer(std::optional<std::string_view> caption, std::uint16_t increment) = 0;
  virtual void tester_annulation() = 0;
};

// Removes one queued cancel message (1025) of `fenetre` and says whether there was one.
// Workers call it for every node, so the empty queue is answered inline.
bool cancel_requested_in_queue(WindowHandle fenetre);
inline bool cancel_requested(WindowHandle fenetre) {
  return !platform::queue_empty() && cancel_requested_in_queue(fenetre);
}

// Questions and warnings, owned by the focused window.
class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual bool ask_yes_no(const std::string& text, const std::string& caption) = 0;
  // A question whose No throws the user's work away (save before closing or
  // leaving): Yes is its default, and only Yes or No answers it.
  virtual bool ask_save(const std::string& text, const std::string& caption) { return ask_yes_no(text, caption); }
  virtual void warn(const std::string& text, const std::string& caption) = 0;
  // An information box with an OK button.
  virtual void inform(const std::string& text, const std::string& caption) = 0;
};

// The process-wide instance; without one, questions answer No and warnings go to stderr.
void set_user_interface(UserInterface* ui);
UserInterface* user_interface();
bool ask_yes_no(const std::string& text, const std::string& caption);
bool ask_save(const std::string& text, const std::string& caption);
void warn(const std::string& text, const std::string& caption);
void inform(const std::string& text, const std::string& caption);

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// One of the map editor's two map pictures.
class MapCanvas {
 public:
  virtual ~MapCanvas() = default;
  virtual void set_pen(Rgb colour, int width) = 0;
  virtual void move_to(int x, int y) = 0;
  // Draws from the current position; the end pixel is not drawn.
  virtual void line_to(int x, int y) = 0;
};
