// The main window's watch for the keyboard after a modal window closed.
#include "app/reprise_clavier.h"

void RepriseClavier::commencer() {
  en_cours_ = true;
  demandee_ = false;
  pas_ = 0;
  stables_ = 0;
}

Reprise RepriseClavier::pas(bool actif, const EtatClavier& e) {
  if (!en_cours_) return Reprise::rien;
  // The toolkit's activation may still be undone by a focus change that was
  // under way: it must hold a while before the watch ends.
  if (actif) {
    if (++stables_ >= kPasStables) en_cours_ = false;
    return Reprise::rien;
  }
  stables_ = 0;
  if (++pas_ > kPasMax) {
    en_cours_ = false;
    return Reprise::rien;
  }
  if (e.focus && e.focus == e.principale) return Reprise::prendre;
  if (e.active == e.principale || e.active == 0) {
    // The window manager is done with the closed window and did not give
    // this one the keyboard (or gave it nobody): ask, once.
    if (demandee_) return Reprise::rien;
    demandee_ = true;
    return Reprise::demander;
  }
  // The window manager still names a window of the program that has gone:
  // it has not dealt with its closing yet. Another program's window: the
  // user went there, and it keeps the keyboard.
  if (!e.active_du_programme) en_cours_ = false;
  return Reprise::rien;
}
