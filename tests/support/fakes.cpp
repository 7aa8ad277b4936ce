#include "tests/support/fakes.h"

#include "platform/messages.h"

int FakeProgress::total_increment() const {
  int t = 0;
  for (const Call& c : calls)
    if (c.op == "avancer") t += c.increment;
  return t;
}

std::vector<std::string> FakeProgress::captions() const {
  std::vector<std::string> out;
  for (const Call& c : calls)
    if (c.op == "avancer" && c.has_caption) out.push_back(c.caption);
  return out;
}

void FakeProgress::take_focus() {
  Call c;
  c.op = "take_focus";
  calls.push_back(c);
}

void FakeProgress::demarrer(WindowHandle notified) {
  Call c;
  c.op = "demarrer";
  c.window = notified;
  calls.push_back(c);
}

void FakeProgress::avancer(std::optional<std::string_view> caption, std::uint16_t increment) {
  Call c;
  c.op = "avancer";
  c.has_caption = caption.has_value();
  if (caption) c.caption = std::string(*caption);
  c.increment = increment;
  calls.push_back(c);
}

void FakeProgress::tester_annulation() {
  Call c;
  c.op = "tester_annulation";
  calls.push_back(c);
  ++tests_;
  if (cancel_at_ > 0 && tests_ == cancel_at_) platform::post(cancel_window_, platform::WM_CANCEL);
}

bool FakeUserInterface::ask_yes_no(const std::string& text, const std::string& caption) {
  entries.push_back({true, text, caption});
  if (pendant_question) pendant_question();
  if (answers.empty()) return false;
  bool a = answers.front();
  answers.pop_front();
  return a;
}

bool FakeUserInterface::ask_save(const std::string& text, const std::string& caption) {
  const bool oui = ask_yes_no(text, caption);
  entries.back().sauvegarde = true;
  return oui;
}

void FakeUserInterface::warn(const std::string& text, const std::string& caption) {
  entries.push_back({false, text, caption});
}

void FakeUserInterface::inform(const std::string& text, const std::string& caption) {
  entries.push_back({false, text, caption, true});
}

void RecordingMapCanvas::set_pen(Rgb colour, int width) {
  Op o;
  o.kind = 'p';
  o.colour = colour;
  o.width = width;
  ops.push_back(o);
}

void RecordingMapCanvas::move_to(int nx, int ny) {
  Op o;
  o.kind = 'm';
  o.x = nx;
  o.y = ny;
  ops.push_back(o);
  x = nx;
  y = ny;
}

void RecordingMapCanvas::line_to(int nx, int ny) {
  Op o;
  o.kind = 'l';
  o.x = nx;
  o.y = ny;
  o.x0 = x;
  o.y0 = y;
  ops.push_back(o);
  x = nx;
  y = ny;
}
