#include "dialogs/creation_calculs.h"

#include <atomic>
#include <cmath>
#include <numbers>

#include "model/aleatoire.h"
#include "model/erreur.h"
#include "model/matrice.h"

namespace dialogs {

const std::array<const char*, 8> kTextesMaillage = {
    "4:       256 mesh", "5:     1 024 mesh", "6:     4 096 mesh", "7:    16 384 mesh",
    "8:    65 536 mesh", "9:   262 144 mesh", "10:1 048 576 mesh", "11:4 194 304 mesh"};
const std::array<const char*, 5> kNomsCouches = {"", "Lev 1 > Plain ", "Lev 2 > Medium low", "Lev 3 > Medium high",
                                                 "Lev 4 > High ground"};
const std::array<const char*, 4> kListeCouches = {"Lev 4 > High ground", "Lev 3 > Medium high",
                                                  "Lev 2 > Medium low", "Lev 1 > Plain "};

param_vue vue_apercu() {
  param_vue v{};
  v.angle_vertical = 25;
  v.angle_horizontal = 60;
  v.niveau_herbe = 60;
  v.niveau_rocher = 60;
  v.niveau_neige = 4000;
  v.hauteur_sable = 20;
  v.elevation_soleil = 45;
  v.azimut_soleil = 90;
  v.distance = 60.0;
  v.echelle_fixe = 1;
  v.taille = 10;
  v.centre_y = -5;
  v.contraste = 50;
  v.profondeur_ombre = 20;
  v.couleurs_defaut = 1;
  v.zoom = 14;
  return v;
}

param_mat parametres_apercu(param_mat p, bool rotation, int degre) {
  p.alea = 0;
  if (rotation) {
    p.maillage = 5;
    p.taux_lissage = 0;
    p.gradins = 0;
    p.rivage_actif = 0;
  } else {
    p.maillage = degre;
    if (degre < 7) {
      p.taux_lissage = 0;
      p.gradins = 0;
    } else {
      p.taux_lissage = Round(p.taux_lissage * 0.5);
    }
  }
  return p;
}

namespace {
std::atomic<ObservateurApercus*> g_observateur{nullptr};
}  // namespace

ObservateurApercus* observer_apercus(ObservateurApercus* observateur) { return g_observateur.exchange(observateur); }

std::unique_ptr<Tmatrice> construire_apercu(const param_mat& p) {
  if (ObservateurApercus* o = g_observateur.load()) o->appel(p);
  try {
    auto t = std::make_unique<Tmatrice>(p);
    bool continuer = true;
    t->generer_montagne(nullptr, 0, continuer, false);
    const std::int32_t i = Round(t->n * 0.333), j = Round(t->n * 0.333);
    t->placer_cible(0.333, 0.333, t->hauteurs->lire(i, j));
    return t;
  } catch (const ModelError&) {
    return nullptr;
  }
}

int position_niveau(int niveau) { return 300 - Round(niveau / 10.0); }

bool coupler(std::int32_t& mini, std::int32_t& maxi, bool mini_a_bouge) {
  if (maxi >= mini) return false;
  if (mini_a_bouge) maxi = mini;
  else mini = maxi;
  return true;
}

std::array<PointFigure, 9> points_pente(int w, int h) {
  std::array<PointFigure, 9> p{};
  int d = Round(w / 4.0);
  p[0] = {15, h - 5};
  for (int k = 1; k <= 8; ++k) {
    const double angle = (10.0 * (k - 1) + 5.0) * std::numbers::pi / 180.0;
    p[k] = {p[k - 1].x + d, p[k - 1].y - Round(std::tan(angle) * d)};
    d = Round(d * 0.7);
  }
  return p;
}

std::pair<int, int> colonne_niveaux(int k, int w) {
  return {Round((k - 1) * w / 4.0) + 4, Round(k * w / 4.0) - 4};
}

int ligne_niveau(int v, int h) { return Round((4000 - v) * 0.00019 * h) + 4; }

int couche_sous(int x, int w) { return w > 0 ? Trunc(x / (w / 4.0)) + 1 : 1; }

}  // namespace dialogs
