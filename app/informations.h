// The statistics dialog "information": the view statistics the renderer left
// for one view (altitudes, slope shares, the six tree slots and the rivers).
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "model/matrice.h"

class QLabel;

class Tinformations : public QDialog {
  Q_OBJECT
 public:
  explicit Tinformations(QWidget* parent = nullptr);
  void afficher_statistiques(const resultats_vue& r);

  QLabel *moy, *min, *max, *mer, *pfaible, *pmoy, *pforte, *nbr, *lgr;
  std::array<QLabel*, 6> esp{}, tot{}, vis{};
  std::array<std::string, 6> noms{};  // one species name per tree slot

 private:
  resultats_vue resultats_{};
};

// Name of a tree species code 0..8 ("" for 0); nullptr for another code.
const char* nom_espece(int code);
