#include "dialogs/arbres_apercu.h"

#include <atomic>

#include "model/aleatoire.h"

namespace dialogs {

namespace {

std::atomic<ObservateurApercuArbres*> g_observateur{nullptr};

// Shows the call that `remplir` describes to the observer, when there is one.
template <class F>
void montrer(AppelArbre::Genre genre, F&& remplir) {
  ObservateurApercuArbres* o = g_observateur.load();
  if (!o) return;
  AppelArbre a;
  a.genre = genre;
  remplir(a);
  o->appel(a);
}

}  // namespace

ObservateurApercuArbres* observer_apercu_arbres(ObservateurApercuArbres* observateur) {
  return g_observateur.exchange(observateur);
}

std::unique_ptr<Tarbre> creer_arbre(const param_vue& vue, bool detail, std::int32_t variantes,
                                    const espece_arbres& couche) {
  montrer(AppelArbre::creation, [&](AppelArbre& a) {
    a.vue = vue;
    a.couche = couche;
    a.detail = detail;
    a.variantes = variantes;
  });
  return Tarbre::creer(vue, detail, variantes, couche);
}

void generer_arbre(Tarbre& t, const param_vue& vue, const espece_arbres& couche, double cos_a, double sin_a,
                   double cos_ea, double cos_z, double cos_t, double sin_t, std::int32_t graine) {
  montrer(AppelArbre::generation, [&](AppelArbre& a) {
    a.vue = vue;
    a.couche = couche;
    a.cos_a = cos_a, a.sin_a = sin_a, a.cos_ea = cos_ea, a.cos_z = cos_z, a.cos_t = cos_t, a.sin_t = sin_t;
    a.graine = graine;
    a.graine_processus = seed();
  });
  bool annule = false;
  t.generer_arbre(vue, couche, cos_a, sin_a, cos_ea, cos_z, cos_t, sin_t, 7, graine, 0, nullptr, annule, sin_a,
                  sin_a);
}

void dessiner_arbre(Tarbre& t, render::Point pied, double taille, render::CanevasArbre& canevas,
                    const TMyPalette& palette, bool rapide, double sin_a) {
  montrer(AppelArbre::dessin, [&](AppelArbre& a) {
    a.pied = pied;
    a.taille = taille;
    a.rapide = rapide;
    a.sin_a = sin_a;
    a.graine_processus = seed();
  });
  bool annule = false;
  t.dessiner_arbre(pied, 40, taille, 0, false, 0, 4, 0, canevas, palette, rapide, 1, sin_a, nullptr, 0, annule,
                   false);
}

}  // namespace dialogs
