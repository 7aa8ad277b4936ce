// Fakes shared by the test programs.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "model/interfaces.h"

// Records every call in order; can post the cancel message to a window at its
// k-th tester_annulation.
class FakeProgress : public ProgressSink {
 public:
  struct Call {
    std::string op;          // "take_focus", "demarrer", "avancer", "tester_annulation"
    bool has_caption = false;
    std::string caption;
    std::uint16_t increment = 0;
    WindowHandle window = 0;
  };
  std::vector<Call> calls;

  void cancel_at(int k, WindowHandle window) { cancel_at_ = k; cancel_window_ = window; }
  int tests() const { return tests_; }
  int total_increment() const;
  std::vector<std::string> captions() const;

  void take_focus() override;
  void demarrer(WindowHandle notified) override;
  void avancer(std::optional<std::string_view> caption, std::uint16_t increment) override;
  void tester_annulation() override;

 private:
  int cancel_at_ = 0;
  WindowHandle cancel_window_ = 0;
  int tests_ = 0;
};

// Records questions and warnings; answers questions from a script (No when it runs out).
class FakeUserInterface : public UserInterface {
 public:
  struct Entry {
    bool question;
    std::string text, caption;
    bool information = false;  // an information box, not a warning
    bool sauvegarde = false;   // a save question, whose No throws work away
  };
  std::vector<Entry> entries;
  std::deque<bool> answers;
  // Runs while a question is up, as the box's own event loop would.
  std::function<void()> pendant_question;

  bool ask_yes_no(const std::string& text, const std::string& caption) override;
  bool ask_save(const std::string& text, const std::string& caption) override;
  void warn(const std::string& text, const std::string& caption) override;
  void inform(const std::string& text, const std::string& caption) override;
};

// Installs a FakeUserInterface for the lifetime of the object.
class ScopedFakeUserInterface : public FakeUserInterface {
 public:
  ScopedFakeUserInterface() : previous_(user_interface()) { set_user_interface(this); }
  ~ScopedFakeUserInterface() override { set_user_interface(previous_); }

 private:
  UserInterface* previous_;
};

// Records pens and segments.
class RecordingMapCanvas : public MapCanvas {
 public:
  struct Op {
    char kind = 'p';  // 'p' pen, 'm' move, 'l' line
    int x = 0, y = 0;  // for 'l', the end point
    int x0 = 0, y0 = 0;  // for 'l', the start point
    Rgb colour;
    int width = 0;
  };
  std::vector<Op> ops;
  int x = 0, y = 0;

  void set_pen(Rgb colour, int width) override;
  void move_to(int nx, int ny) override;
  void line_to(int nx, int ny) override;
};
