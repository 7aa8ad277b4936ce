// How the main window gets the keyboard back after a modal window of the
// program (a progress window, a question) has closed, when the toolkit is
// left knowing no active window: it looks at the server and the window
// manager every kPasMs for a while, and takes or asks for the activation only
// once the window manager has dealt with the closed window. Plain C++: the
// caller reads the X11 state and carries out the answer.
#pragma once

#include <cstdint>

// What the server and the window manager say, as window ids (0: none).
struct EtatClavier {
  std::uint32_t principale = 0;  // the main window
  std::uint32_t focus = 0;       // holds the keyboard on the server
  std::uint32_t active = 0;      // the window manager's active window
  bool active_du_programme = false;  // `active` was made by the program (it may be gone)
};

enum class Reprise {
  rien,      // nothing to do this time
  prendre,   // the server gives this window the keyboard: the toolkit is to know it as active
  demander,  // the window manager has settled without giving it: ask it for the activation
};

class RepriseClavier {
 public:
  static constexpr int kPasMs = 100;
  static constexpr int kPasMax = 100;     // gives up after ten seconds
  static constexpr int kPasStables = 10;  // done once activation held for a second

  // A modal window has just closed: the watch starts (again) from the beginning.
  void commencer();
  void arreter() { en_cours_ = false; }
  bool en_cours() const { return en_cours_; }
  // One look: `actif` says whether the toolkit knows an active window of the program.
  Reprise pas(bool actif, const EtatClavier& e);

 private:
  bool en_cours_ = false;
  bool demandee_ = false;  // the activation was asked for once since the start
  int pas_ = 0;
  int stables_ = 0;
};
