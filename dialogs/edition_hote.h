// The map editor window as a tool run sees it: HoteFenetre draws on the map
// picture what the session asks for, runs the tool dialog, the terrain's
// dispatcher under a progress window and the raise, and keeps the window's
// two timers (edition_hote.cpp).
#pragma once

#include <QTimer>
#include <functional>

#include "dialogs/edition_session.h"

class QPainter;
class Tfenetre_edition;

namespace dialogs {

class HoteFenetre : public HoteOutil, public MinuteriesOutil {
 public:
  explicit HoteFenetre(Tfenetre_edition& e) : e_(e) {}

  MarquesCarte& marques() override;
  void trait(PixelCarte a, PixelCarte b) override;
  void disque(PixelCarte c, int rayon, int sol) override;
  void marque_arbre(PixelCarte c, int rayon, int espece) override;
  void garder_marques() override;
  void effacer_marques() override;
  void montrer_rivieres() override;
  PixelCarte taille_image() const override;
  void afficher_position(PixelCarte p, std::int32_t altitude) override;
  void effacer_jauge() override;
  void curseur(Curseur c) override;
  void defiler(PixelCarte p) override;
  void deplacer_cible(PixelCarte p) override;
  void deplacer_observateur(PixelCarte p) override;
  void replacer_cible() override;
  void activer(Activable c) override;
  bool modifier(const arguments_outil& a) override;
  void elever(std::int32_t difference, bool etirement) override;
  void terrain_modifie() override;
  void refaire_carte() override;
  int dialogue(const DemandeOutil& q, ReponseOutil& r) override;
  bool confirmer(const std::string& question) override;

  void armer(Minuterie m) override;
  void arreter(Minuterie m) override;
  bool armee(Minuterie m) const override;

 private:
  QTimer& minuterie(Minuterie m) const;
  // A rubber mark drawn over the map, shown at once.
  void peindre(const std::function<void(QPainter&)>& dessin);
  Tfenetre_edition& e_;
};

}  // namespace dialogs
