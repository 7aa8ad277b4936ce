// The map editor's tool runs: the exchange with the tool dialog, the call of
// the terrain's edit dispatcher at once or 750 ms later, Raise and
// Cross-section, and Undo.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <algorithm>

#include "fenetres/attente.h"
#include "fenetres/operation_longue.h"
#include "controls/speedbutton.h"
#include "dialogs/dlg_edit.h"
#include "dialogs/edition.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "model/presse_papier.h"
#include "render/raster.h"

using namespace dialogs;

// ---------------------------------------------------------------- argument block

std::int32_t Tfenetre_edition::valeur_outil() const {
  if (outil == OUTIL_ROUTE && chemin) return -50;
  return outil < coefficients.size() ? coefficients[outil] : 0;
}

arguments_outil Tfenetre_edition::arguments() const { return arguments_de(jeu_fin, jeu_debut, valeur_outil(), outil); }

// One dispatcher call with a new progress window; true when it reported success.
bool Tfenetre_edition::appeler_modifier() {
  OperationLongue operation;
  TAttente attente(window());
  render::BitmapMapCanvas c1(carte[1]), c2(carte[2]);
  controle_outil c;
  c.attente = &attente;
  c.fenetre = handle_;
  c.carte_1 = &c1;
  c.carte_2 = &c2;
  if (appel_modifier)
    appel_modifier(*matrice, arguments(), c);
  else
    matrice->modifier(arguments(), c);
  relire_noeud();  // even a cancelled run may have changed some heights
  return c.continuer;
}

// ---------------------------------------------------------------- the dialog

PixelCarte Tfenetre_edition::centre_relache() const {
  if (outil == OUTIL_COL)
    return {Round((pixel_debut.x + pixel_fin.x) / 2.0), Round((pixel_debut.y + pixel_fin.y) / 2.0)};
  return pixel_fin;
}

// The circles of both sets (and with `lignes` the section lines) as the
// editor draws them around a stroke.
void Tfenetre_edition::cercles_outil(const JeuOutil& depart, const JeuOutil& relache, bool lignes) {
  if (!un_point && outil != OUTIL_ROUTE)
    marquer_coupe(marques(), pixel_debut, depart.base, depart.sommet, lignes, true, 1, echelle_carte);
  if (outil != OUTIL_ROUTE)
    marquer_coupe(marques(), centre_relache(), relache.base, relache.sommet, lignes, true, 1, echelle_carte);
}

namespace {

// Puts the dialog beside the point where the tool acts (left of it, else
// right), so that the marks around it stay in sight.
void placer_a_cote(QWidget& d, QPoint point, const QWidget& e) {
  const QRect ecran = e.screen() ? e.screen()->availableGeometry() : QRect(0, 0, 4000, 4000);
  const int marge = 60;
  int x = point.x() - d.width() - marge;
  if (x < ecran.left()) x = point.x() + marge;
  x = std::clamp(x, ecran.left(), std::max(ecran.left(), ecran.right() - d.width()));
  const int y = std::clamp(point.y() - d.height() / 2, ecran.top(), std::max(ecran.top(), ecran.bottom() - d.height()));
  d.move(x, y);
}

}  // namespace

int Tfenetre_edition::lancer_dialogue(Tdlg_edit& d) {
  placer_a_cote(d, zone_carte()->mapToGlobal(QPoint(d.point_fin.x, d.point_fin.y)), *this);
  if (executer_dialogue) return executer_dialogue(d);
  return d.exec();
}

void Tfenetre_edition::remplir_dialogue(Tdlg_edit& d) {
  d.outil = outil;
  d.un_point = un_point;
  d.debut = jeu_debut;
  d.fin = jeu_fin;
  d.coefficient = coefficients[outil];
  d.riviere_seule = riviere_seule;
  d.chemin = chemin;
  d.mer_coupe = vue.niveau_mer;
  const std::size_t l = std::size_t(std::max(matrice->dernier_point, 0));
  const auto& tr = matrice->trace;
  const bool deformation = matrice->dx && matrice->dy;
  const bool decalages = deformation && outil != OUTIL_COLLER;
  if (!tr.empty()) {
    const point_trace premier = outil == OUTIL_COL ? tr[std::size_t(Round(l / 2.0))] : tr[0];
    const NoeudCarte c0{premier.i, premier.j};
    d.profil_debut = echantillonner(*matrice, c0, decalages);
    if (outil == OUTIL_COLLER)
      d.profil_fin = echantillonner_presse_papier(*matrice, c0, jeu_fin.base);
    else if (!un_point && l < tr.size())
      d.profil_fin = echantillonner(*matrice, {tr[l].i, tr[l].j}, decalages);
  }
}

void Tfenetre_edition::lire_dialogue(const Tdlg_edit& d) {
  jeu_fin = d.fin;
  jeu_fin.forme = outil == OUTIL_FORME ? (d.pondere ? -1 : 1) : d.forme;
  jeu_debut.apres = d.debut.apres;
  jeu_debut.base = d.debut.base;
  jeu_debut.sommet = d.debut.sommet;
  jeu_debut.forme = d.debut.forme;
  jeu_debut.avant = d.debut.avant;
  const bool signe = outil == OUTIL_PLATEAU || outil == OUTIL_RELIEF;
  coefficients[outil] = signe && d.option2 ? -d.coefficient : d.coefficient;
  riviere_seule = d.riviere_seule;
  chemin = d.chemin;
  a_executer = 1;
  voir_resultat = d.voir_resultat;
}

void Tfenetre_edition::executer_dialogue_outil() {
  if (outil == OUTIL_COL) {
    const auto& tr = matrice->trace;
    const std::size_t milieu = std::size_t(Round(std::max(matrice->dernier_point, 0) / 2.0));
    if (milieu < tr.size()) {
      noeud = {tr[milieu].i, tr[milieu].j};
      jeu_fin.apres = matrice->lire_trace(noeud.i, noeud.j);
    }
  } else if (outil == OUTIL_COPIER) {
    jeu_fin.apres = matrice->hauteur_max();
  }
  jeu_debut.avant = jeu_debut.apres;
  jeu_fin.avant = jeu_fin.apres;
  if (outil == OUTIL_ROUTE) jeu_fin.base = 4000;
  if (outil == OUTIL_VALLEE) {
    if (!riviere_seule) jeu_fin.sommet = 20;
    jeu_fin.base = 200;
  }
  marques().croix(pixel_fin, 12, 2);
  if (outil != OUTIL_FORME && outil != OUTIL_CONE && outil != OUTIL_ROUTE && outil != OUTIL_VALLEE)
    jeu_fin.sommet = 0;
  jeu_debut.base = jeu_fin.base;
  jeu_debut.forme = jeu_fin.forme;
  jeu_debut.sommet = jeu_fin.sommet;
  if (outil == OUTIL_COLLER) jeu_fin.base = jeu_debut.base = matrice->niveau_presse_papier;
  cercles_outil(jeu_debut, jeu_fin, true);

  Tdlg_edit d(window());
  remplir_dialogue(d);
  d.prepare_outil(&marques(), pixel_debut, matrice->dx && matrice->dy, zoom2, pixel_fin);
  const int r = lancer_dialogue(d);
  d.FormClose();
  cercles_outil(d.debut, d.fin, false);  // with the widths they were last drawn with
  if (r == 1) {
    lire_dialogue(d);
  } else {
    marques().croix(d.point_affiche(), 12, 2);  // nothing will run: no mark stays
  }
}

// ---------------------------------------------------------------- runs

void Tfenetre_edition::executer_maintenant() {
  if (outil < OUTIL_COPIER) a_executer = 1;
  if (outil == OUTIL_ARBRE) matrice->fixer_arbre_courant(espece_arbre, taille_arbre);
  if (outil == OUTIL_COULEUR) matrice->fixer_sol_courant(sol, largeur_sol);
  bool succes = false;
  const bool execute = a_executer;
  if (a_executer) succes = appeler_modifier();
  if (succes && execute) modifiee = 1;
  a_executer = 0;
  matrice->fin_trace();
  if (outil == OUTIL_COPIER && execute && succes && matrice->presse_papier &&
      matrice->presse_papier->n() == matrice->n)
    activer_coller(true);
  if (outil == OUTIL_CIBLE) dessine_point_vise(points_vo(matrice->cible_i, matrice->cible_j, true), true);
  if (!succes) redessiner = 1;
  if (voir_resultat && succes) TimerThread.start();
}

void Tfenetre_edition::TimerT1Timer() {
  TimerT1.stop();
  bool succes = true;
  if (a_executer && matrice) {
    if (outil == OUTIL_VALLEE) {
      outils[15]->setEnabled(true);
      Supprimerrivieres1->setEnabled(true);
    }
    succes = appeler_modifier();
    if (succes) modifiee = 1;
    if (outil == OUTIL_VALLEE || outil == OUTIL_RUISSELLEMENT) {
      copier_carte_dans_image();
      montrer_marques();
    }
    if (!succes) redessiner = 1;
  }
  if (voir_resultat && succes && a_executer) TimerThread.start();
  a_executer = 0;
  if (matrice) matrice->fin_trace();
  // The marks go now, whatever happened.
  redessiner = 1;
  marques_seules_ = false;
  zone_carte()->update();
}

// ---------------------------------------------------------------- Raise, Cross-section, Undo

void Tfenetre_edition::elevation_coupe(bool coupe) {
  if (!matrice) return;
  const std::int32_t h = matrice->hauteur_max();
  jeu_fin.apres = h;
  jeu_fin.avant = h;
  Tdlg_edit d(window());
  const std::int32_t c = centre_elevation(matrice->n);
  d.profil_debut = echantillonner(*matrice, {c, c}, false);
  pixel_fin = {Round(Image1.width() * 0.5), Round(Image1.height() * 0.63)};
  pixel_debut = pixel_fin;
  marquer_coupe(marques(), pixel_fin, 8000, 0, true, true, 1, echelle_carte);
  d.fin.apres = h;
  d.fin.avant = h;
  d.outil = coupe ? OUTIL_COUPE : OUTIL_ELEVATION;
  d.un_point = 1;
  d.mode_elevation = mode_elevation;
  d.mer_coupe = vue.niveau_mer;
  d.prepare_outil(&marques(), pixel_debut, false, zoom2, pixel_fin);
  const int r = lancer_dialogue(d);
  d.FormClose();
  marquer_coupe(marques(), pixel_fin, 8000, 0, false, true, 1, echelle_carte);
  if (r == 1 && !coupe) {
    jeu_fin.apres = d.apres;
    a_executer = 1;
    voir_resultat = d.voir_resultat;
    mode_elevation = d.mode_elevation;
  }
  if (a_executer) {
    OperationLongue operation;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    matrice->sauver_annulation();  // Undo takes back this raise and only it
    matrice->elever(jeu_fin.apres - h, mode_elevation != 0);
    modifiee = 1;
    relire_noeud();
    QApplication::restoreOverrideCursor();
  }
  a_executer = 0;
  if (voir_resultat) {
    voir_resultat = 0;
    carte_a_refaire();
  }
}

void Tfenetre_edition::SpeedButton_undo1Click() {
  if (!matrice) return;
  if (!ask_yes_no("Undo: Do you really want to cancel the last operation done with your graphic editor ?", "Confirm"))
    return;
  matrice->annuler();
  modifiee = 1;
  carte_a_refaire();
}
