#include "app/informations.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "fenetres/aide_enfants.h"
#include "fenetres/dialogue_fixe.h"

const char* nom_espece(int code) {
  static const char* const noms[] = {"", "Oak", "Fir", "Poplar", "Pine", "Palm", "Corn", "Cactus", "Bush"};
  return code >= 0 && code <= 8 ? noms[code] : nullptr;
}

Tinformations::Tinformations(QWidget* parent) : QDialog(parent) {
  setWindowTitle("information");
  auto* g = new QGridLayout(this);
  int ligne = 0;
  auto titre = [&](const char* t) {
    auto* l = new QLabel(t);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    g->addWidget(l, ligne++, 0, 1, 3);
  };
  auto valeur = [&](const char* legende) {
    g->addWidget(new QLabel(legende), ligne, 0);
    auto* v = new QLabel;
    v->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    g->addWidget(v, ligne++, 1);
    return v;
  };
  titre("Altitude:");
  moy = valeur("Mean");
  min = valeur("Minimum");
  max = valeur("Maximum");
  mer = valeur("Sea");
  titre("Slope:");
  pfaible = valeur("% low");
  pmoy = valeur("% medium");
  pforte = valeur("% high");
  titre("Tree");
  g->addWidget(new QLabel("Species"), ligne, 0);
  g->addWidget(new QLabel("Total"), ligne, 1);
  g->addWidget(new QLabel("Visible"), ligne++, 2);
  for (int k = 0; k < 6; ++k) {
    esp[k] = new QLabel;
    tot[k] = new QLabel;
    vis[k] = new QLabel;
    tot[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    vis[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    g->addWidget(esp[k], ligne, 0);
    g->addWidget(tot[k], ligne, 1);
    g->addWidget(vis[k], ligne++, 2);
  }
  titre("Rivers");
  nbr = valeur("Number of springs");
  lgr = valeur("Total length");
  auto* ok = new QPushButton("OK");
  auto* aide = new QPushButton("&Help");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(aide, &QPushButton::clicked, this, [] { afficher_sujet_aide(5010); });
  g->addWidget(ok, ligne, 0);
  g->addWidget(aide, ligne, 2);
  lier_touche_aide(*this, [] { return 5010; });
  bordure_dialogue_fixe(*this, true);
}

void Tinformations::afficher_statistiques(const resultats_vue& r) {
  resultats_ = r;
  for (int k = 0; k < 6; ++k)
    if (const char* n = nom_espece(r.arbres[k][0])) noms[k] = n;
  moy->setText(QString::number(r.altitude_moyenne));
  max->setText(QString::number(r.altitude_maxi));
  min->setText(QString::number(r.altitude_mini));
  mer->setText(QString::number(r.niveau_mer));
  pfaible->setText(QString::number(r.pente_faible));
  pmoy->setText(QString::number(r.pente_moyenne));
  pforte->setText(QString::number(r.pente_forte));
  nbr->setText(QString::number(r.sources));
  lgr->setText(QString::number(r.longueur_rivieres));
  for (int k = 0; k < 6; ++k) {
    esp[k]->setText(QString::fromStdString(noms[k]));
    if (!esp[k]->text().isEmpty()) {
      tot[k]->setText(QString::number(r.arbres[k][1]));
      vis[k]->setText(QString::number(r.arbres[k][2]));
    }
  }
}
