// Stand-in mountain card: an MDI child with the card's fields and close rule
// that shows the slot, the name and the document path.
#pragma once

#include "fenetres/fenetres.h"

class CarteProvisoire : public CarteMontagne {
 public:
  explicit CarteProvisoire(QWidget* parent = nullptr);
  void initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date) override;
  std::string fichier;

 protected:
  void paintEvent(QPaintEvent*) override;
};

