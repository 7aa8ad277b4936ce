#include "dialogs/edition_session.h"

#include <algorithm>

#include "model/aleatoire.h"
#include "model/matrice.h"
#include "model/presse_papier.h"

namespace dialogs {

const char* nom_etat(EtatOutil e) {
  switch (e) {
    case EtatOutil::repos: return "repos";
    case EtatOutil::enfonce: return "enfonce";
    case EtatOutil::trace: return "trace";
    case EtatOutil::dialogue: return "dialogue";
    case EtatOutil::execution: return "execution";
    case EtatOutil::en_attente: return "en_attente";
    case EtatOutil::en_attente_enfonce: return "en_attente_enfonce";
  }
  return "?";
}

void SessionOutil::ouvrir(Tmatrice* m) {
  matrice_ = m;
  if (!m) return;
  pinceaux.espece_arbre = m->arbre_courant == 6 ? 6 : 5;
  pinceaux.taille_arbre = static_cast<std::uint16_t>(std::clamp<int>(m->taille_arbre, 1, 63));
  pinceaux.sol = static_cast<std::uint16_t>(std::clamp<int>(m->sol_courant, 1, 5));
  const auto l = m->largeur_sol;
  pinceaux.largeur_sol = l == 2 || l == 4 || l == 8 ? l : std::uint16_t(1);
}

void SessionOutil::choisir_position(int position) {
  position_ = static_cast<std::uint16_t>(std::clamp(position, 0, kNombreOutils - 1));
  outil_ = outil_de_position(position_);
}

bool SessionOutil::bouton_enfonce() const {
  return etat_ == EtatOutil::enfonce || etat_ == EtatOutil::trace || etat_ == EtatOutil::en_attente_enfonce;
}

std::int32_t SessionOutil::valeur_outil() const {
  const std::uint16_t o = etat_ == EtatOutil::repos ? outil_ : course_.outil;
  if (o == OUTIL_ROUTE && chemin) return -50;
  return o < coefficients.size() ? coefficients[o] : 0;
}

arguments_outil SessionOutil::arguments() const {
  const std::uint16_t o = etat_ == EtatOutil::repos ? outil_ : course_.outil;
  return arguments_de(jeu_fin, jeu_debut, valeur_outil(), o);
}

// ---------------------------------------------------------------- mouse

void SessionOutil::enfoncer(bool gauche, PixelCarte p) {
  souris_ = p;
  if (!gauche) {
    hote_.effacer_jauge();
    relire_noeud();
    deplacer(souris_);
    return;
  }
  // No second stroke before the waiting run: the press waits for it.
  if (etat_ == EtatOutil::en_attente) etat_ = EtatOutil::en_attente_enfonce;
  if (etat_ != EtatOutil::repos) return;
  etat_ = EtatOutil::enfonce;
  if (outil_ == 0 || !sur_terrain_ || !matrice_) return;
  // A click reads its node afresh: heights may have changed under a pointer
  // that did not move (Undo, a tool, a raise from the card).
  relire_noeud();
  deplacer(souris_);
  const PixelCarte zoom1{Round(p.x / double(zoom_)), Round(p.y / double(zoom_))};
  switch (ligne_outil(outil_).au_clic) {
    case AuClic::arbre: marque_arbre(p); break;
    case AuClic::gomme_arbre: hote_.disque(p, 4, 1); break;
    case AuClic::pinceau: hote_.activer(Activable::effacer_sol); break;
    case AuClic::cible: hote_.deplacer_cible(zoom1); break;
    case AuClic::observateur: hote_.deplacer_observateur(zoom1); break;
    case AuClic::rien: break;
  }
}

void SessionOutil::marque_arbre(PixelCarte p) {
  hote_.marque_arbre(p, Round(pinceaux.taille_arbre * 0.1), pinceaux.espece_arbre);
  hote_.activer(Activable::gomme_arbre);  // a tree to delete, soon
  hote_.activer(Activable::effacer_arbres);
}

// The rubber mark of a stroke from the previous pixel to p.
void SessionOutil::marque_caoutchouc(PixelCarte p) {
  switch (ligne_outil(outil_).marque) {
    case Marque::trait: hote_.trait(pixel_precedent_, p); break;
    case Marque::gomme_arbre: hote_.disque(p, 2 * zoom_ + 2, 1); break;
    case Marque::pinceau:
      hote_.disque(p, 2 * pinceaux.largeur_sol * zoom_ + 2, outil_ == OUTIL_COULEUR ? pinceaux.sol : 0);
      hote_.activer(Activable::gomme_sol);
      hote_.activer(Activable::effacer_sol);
      break;
    case Marque::arbre: marque_arbre(p); break;
    case Marque::aucune: break;
  }
}

// While a stroke is recorded, the nodes between the previous move's node and
// the one under p are read in order, so that a fast drag records every node
// it passes over, as a slow one does.
void SessionOutil::lire_passage(PixelCarte p) {
  if (etat_ != EtatOutil::trace || !matrice_ || !matrice_->trace_active || dernier_noeud_ == NoeudCarte{-1, -1})
    return;
  const NoeudCarte cible = pixel_vers_noeud(matrice_->n, p.x, p.y, zoom_);
  const auto passage = noeuds_segment(dernier_noeud_, cible, matrice_->capacite_trace);
  for (std::size_t k = 0; k + 1 < passage.size(); ++k) matrice_->lire_trace(passage[k].i, passage[k].j);
}

void SessionOutil::deplacer(PixelCarte p) {
  souris_ = p;
  lire_passage(p);
  std::int32_t h = -4001;
  NoeudCarte n;
  if (matrice_) {
    n = pixel_vers_noeud(matrice_->n, p.x, p.y, zoom_);
    h = matrice_->lire_trace(n.i, n.j);  // appends to a recorded stroke
  }
  const bool meme = n == dernier_noeud_;
  dernier_noeud_ = n;
  if (!meme && (h < -4000 || en_attente())) {
    if (sur_terrain_) hote_.effacer_jauge();
    sur_terrain_ = false;
  } else if (!meme) {
    noeud_ = n;
    jeu_fin.apres = h;
    sur_terrain_ = true;
    if (bouton_enfonce()) hote_.defiler(p);
    if (etat_ == EtatOutil::trace) marque_caoutchouc(p);
    hote_.afficher_position(p, h);
    pixel_precedent_ = p;
  }
  if (sur_terrain_ && !bouton_enfonce()) survol();
  if (sur_terrain_ && outil_ligne(outil_) && etat_ == EtatOutil::enfonce && matrice_) commencer_trace(p);
}

// The eraser tools show the hand over something they can erase.
void SessionOutil::survol() {
  const auto cherche = ligne_outil(outil_).proche;
  if (!matrice_ || !cherche) return;
  const bool proche = (matrice_->*cherche)(noeud_.i, noeud_.j);
  hote_.curseur(proche ? Curseur::arbre : Curseur::pointeur);
}

void SessionOutil::commencer_trace(PixelCarte p) {
  etat_ = EtatOutil::trace;
  hote_.curseur(Curseur::crayon);
  matrice_->debut_trace(noeud_.i, noeud_.j);
  pixel_debut_ = p;
  jeu_debut.apres = jeu_fin.apres;
}

void SessionOutil::relacher(bool gauche, PixelCarte p) {
  if (!gauche) return;
  if (etat_ == EtatOutil::en_attente_enfonce) etat_ = EtatOutil::en_attente;
  if (etat_ != EtatOutil::enfonce && etat_ != EtatOutil::trace) return;
  // A click has a one-node stroke.
  if (etat_ == EtatOutil::enfonce && sur_terrain_ && outil_ > 0 && matrice_) {
    matrice_->debut_trace(noeud_.i, noeud_.j);
    etat_ = EtatOutil::trace;
    pixel_debut_ = p;
  }
  if (etat_ != EtatOutil::trace) {
    etat_ = EtatOutil::repos;
    return;
  }
  finir_relache(p);
}

void SessionOutil::finir_relache(PixelCarte) {
  matrice_->arreter_trace();  // moves from here on leave the stroke as it is
  hote_.curseur(Curseur::pointeur);
  course_ = Course{};
  course_.outil = outil_;
  course_.pixel_debut = pixel_debut_;
  course_.pixel_fin = pixel_precedent_;
  const std::int32_t noeuds = matrice_->dernier_point + 1;
  const LigneOutil& ligne = ligne_outil(outil_);
  bool un_point = course_.pixel_fin == course_.pixel_debut || noeuds <= 1;
  if (ligne.court_ponctuel && noeuds <= 8) un_point = true;
  if (!ligne.deux_jeux) un_point = true;
  course_.un_point = un_point;
  if (ligne.execution == Execution::immediate)
    course_.confirmee = true;
  else
    demander_parametres();
  if (ligne.execution == Execution::immediate || ligne.execution == Execution::apres_dialogue) {
    executer_maintenant();
  } else {
    etat_ = EtatOutil::en_attente;
    minuteries_.armer(Minuterie::execution_differee);
    hote_.garder_marques();
  }
}

// ---------------------------------------------------------------- the dialog

PixelCarte SessionOutil::centre_relache() const {
  const PixelCarte a = course_.pixel_debut, b = course_.pixel_fin;
  if (course_.outil == OUTIL_COL) return {Round((a.x + b.x) / 2.0), Round((a.y + b.y) / 2.0)};
  return b;
}

// The circles of both sets (and with `lignes` the section lines) around the stroke.
void SessionOutil::cercles(const JeuOutil& depart, const JeuOutil& relache, bool lignes) {
  if (course_.outil == OUTIL_ROUTE) return;
  if (!course_.un_point)
    marquer_coupe(hote_.marques(), course_.pixel_debut, depart.base, depart.sommet, lignes, true, 1, zoom_);
  marquer_coupe(hote_.marques(), centre_relache(), relache.base, relache.sommet, lignes, true, 1, zoom_);
}

DemandeOutil SessionOutil::demande() const {
  const std::uint16_t o = course_.outil;
  DemandeOutil q;
  q.outil = o;
  q.un_point = course_.un_point;
  q.debut = jeu_debut;
  q.fin = jeu_fin;
  q.coefficient = coefficients[o];
  q.riviere_seule = riviere_seule;
  q.chemin = chemin;
  q.pixel_debut = course_.pixel_debut;
  q.pixel_fin = course_.pixel_fin;
  q.deformation = matrice_->dx && matrice_->dy;
  const bool decalages = q.deformation && o != OUTIL_COLLER;
  const auto& tr = matrice_->trace;
  const std::size_t l = std::size_t(std::max(matrice_->dernier_point, 0));
  if (tr.empty()) return q;
  const point_trace premier = o == OUTIL_COL ? tr[std::size_t(Round(l / 2.0))] : tr[0];
  const NoeudCarte c0{premier.i, premier.j};
  q.profil_debut = echantillonner(*matrice_, c0, decalages);
  if (o == OUTIL_COLLER)
    q.profil_fin = echantillonner_presse_papier(*matrice_, c0, jeu_fin.base);
  else if (!course_.un_point && l < tr.size())
    q.profil_fin = echantillonner(*matrice_, {tr[l].i, tr[l].j}, decalages);
  return q;
}

void SessionOutil::lire_reponse(const ReponseOutil& r) {
  const std::uint16_t o = course_.outil;
  jeu_fin = r.fin;
  jeu_fin.forme = o == OUTIL_FORME ? (r.pondere ? -1 : 1) : r.forme;
  jeu_debut = r.debut;
  const bool signe = o == OUTIL_PLATEAU || o == OUTIL_RELIEF;
  coefficients[o] = signe && r.option2 ? -r.coefficient : r.coefficient;
  riviere_seule = r.riviere_seule;
  chemin = r.chemin;
  course_.confirmee = true;
  course_.voir_resultat = r.voir_resultat;
}

// The values the dialog opens on, its marks, and its answer.
void SessionOutil::demander_parametres() {
  const std::uint16_t o = course_.outil;
  if (o == OUTIL_COL) {
    const auto& tr = matrice_->trace;
    const std::size_t milieu = std::size_t(Round(std::max(matrice_->dernier_point, 0) / 2.0));
    if (milieu < tr.size()) {
      noeud_ = {tr[milieu].i, tr[milieu].j};
      jeu_fin.apres = matrice_->lire_trace(noeud_.i, noeud_.j);
    }
  } else if (o == OUTIL_COPIER) {
    jeu_fin.apres = matrice_->hauteur_max();
  }
  jeu_debut.avant = jeu_debut.apres;
  jeu_fin.avant = jeu_fin.apres;
  if (o == OUTIL_ROUTE) jeu_fin.base = 4000;
  if (o == OUTIL_VALLEE) {
    if (!riviere_seule) jeu_fin.sommet = 20;
    jeu_fin.base = 200;
  }
  hote_.marques().croix(course_.pixel_fin, 12, 2);
  if (o != OUTIL_FORME && o != OUTIL_CONE && o != OUTIL_ROUTE && o != OUTIL_VALLEE) jeu_fin.sommet = 0;
  jeu_debut.base = jeu_fin.base;
  jeu_debut.forme = jeu_fin.forme;
  jeu_debut.sommet = jeu_fin.sommet;
  if (o == OUTIL_COLLER) jeu_fin.base = jeu_debut.base = matrice_->niveau_presse_papier;
  cercles(jeu_debut, jeu_fin, true);

  etat_ = EtatOutil::dialogue;
  ReponseOutil r;
  const int resultat = hote_.dialogue(demande(), r);
  cercles(r.debut, r.fin, false);  // with the widths they were last drawn with
  if (resultat == 1)
    lire_reponse(r);
  else
    hote_.marques().croix(r.point_affiche, 12, 2);  // nothing will run: no mark stays
}

// ---------------------------------------------------------------- runs

bool SessionOutil::appeler_modifier() {
  const bool succes = hote_.modifier(arguments());
  relire_noeud();  // even a cancelled run may have changed some heights
  return succes;
}

void SessionOutil::executer_maintenant() {
  etat_ = EtatOutil::execution;
  const std::uint16_t o = course_.outil;
  if (o < OUTIL_COPIER) course_.confirmee = true;  // Copy and Paste keep the dialog's answer
  if (o == OUTIL_ARBRE) matrice_->fixer_arbre_courant(pinceaux.espece_arbre, pinceaux.taille_arbre);
  if (o == OUTIL_COULEUR) matrice_->fixer_sol_courant(pinceaux.sol, pinceaux.largeur_sol);
  const bool succes = course_.confirmee && appeler_modifier();
  if (succes) hote_.terrain_modifie();
  matrice_->fin_trace();
  if (o == OUTIL_COPIER && succes && matrice_->presse_papier && matrice_->presse_papier->n() == matrice_->n)
    hote_.activer(Activable::coller);
  if (o == OUTIL_CIBLE) hote_.replacer_cible();
  if (!succes) hote_.effacer_marques();
  if (course_.voir_resultat && succes) minuteries_.armer(Minuterie::carte_resultat);
  etat_ = EtatOutil::repos;
}

void SessionOutil::executer_differe() {
  const bool enfonce = etat_ == EtatOutil::en_attente_enfonce;
  etat_ = EtatOutil::execution;
  const std::uint16_t o = course_.outil;
  bool succes = false;
  if (course_.confirmee && matrice_) {
    if (o == OUTIL_VALLEE) {
      hote_.activer(Activable::gomme_riviere);
      hote_.activer(Activable::effacer_rivieres);
    }
    succes = appeler_modifier();
    if (succes) hote_.terrain_modifie();
    // The rivers the tool drew into the map pictures show at once.
    if (o == OUTIL_VALLEE || o == OUTIL_RUISSELLEMENT) hote_.montrer_rivieres();
  }
  if (course_.voir_resultat && succes) minuteries_.armer(Minuterie::carte_resultat);
  if (matrice_) matrice_->fin_trace();
  hote_.effacer_marques();  // the marks go now, whatever happened
  etat_ = enfonce ? EtatOutil::enfonce : EtatOutil::repos;
}

void SessionOutil::minuterie_ecoulee(Minuterie m) {
  minuteries_.arreter(m);
  if (m == Minuterie::carte_resultat)
    hote_.refaire_carte();
  else if (en_attente())
    executer_differe();
}

void SessionOutil::annuler() {
  minuteries_.arreter(Minuterie::execution_differee);
  minuteries_.arreter(Minuterie::carte_resultat);
  const bool trace = etat_ == EtatOutil::trace || en_attente();
  if (trace && matrice_) matrice_->fin_trace();
  course_ = Course{};
  etat_ = EtatOutil::repos;
}

// ---------------------------------------------------------------- Raise, Cross-section, Undo

void SessionOutil::elevation_coupe(bool coupe) {
  if (!matrice_ || etat_ == EtatOutil::dialogue || etat_ == EtatOutil::execution) return;
  // A waiting run goes first: the raise starts from the terrain it leaves.
  if (en_attente()) minuterie_ecoulee(Minuterie::execution_differee);
  const std::int32_t h = matrice_->hauteur_max();
  jeu_fin.apres = h;
  jeu_fin.avant = h;
  const PixelCarte taille = hote_.taille_image();
  const PixelCarte centre{Round(taille.x * 0.5), Round(taille.y * 0.63)};
  DemandeOutil q;
  q.outil = coupe ? OUTIL_COUPE : OUTIL_ELEVATION;
  q.un_point = true;
  q.fin.apres = q.fin.avant = h;
  q.mode_elevation = mode_elevation;
  const std::int32_t c = centre_elevation(matrice_->n);
  q.profil_debut = echantillonner(*matrice_, {c, c}, false);
  q.pixel_debut = q.pixel_fin = centre;
  marquer_coupe(hote_.marques(), centre, 8000, 0, true, true, 1, zoom_);
  const EtatOutil avant = etat_;
  etat_ = EtatOutil::dialogue;
  ReponseOutil r;
  const int resultat = hote_.dialogue(q, r);
  etat_ = avant;
  marquer_coupe(hote_.marques(), centre, 8000, 0, false, true, 1, zoom_);
  if (resultat != 1 || coupe) return;
  jeu_fin.apres = r.apres;
  mode_elevation = r.mode_elevation;
  hote_.elever(r.apres - h, mode_elevation);
  hote_.terrain_modifie();
  relire_noeud();
  if (r.voir_resultat) hote_.refaire_carte();
}

void SessionOutil::defaire() {
  if (!matrice_) return;
  if (!hote_.confirmer("Undo: Do you really want to cancel the last operation done with your graphic editor ?"))
    return;
  matrice_->annuler();
  hote_.terrain_modifie();
  hote_.refaire_carte();
}

}  // namespace dialogs
