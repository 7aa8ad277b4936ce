// The edit dispatcher: every reshaping of a terrain passes through here.
#include <cassert>
#include <cmath>
#include <new>
#include <stdexcept>

#include "model/erreur.h"
#include "model/matrice.h"
#include "model/outils_elements.h"
#include "model/outils_trace.h"
#include "model/outils_vallee.h"
#include "model/presse_papier.h"
#include "model/outils.h"

bool outil_listes_seules(std::int32_t outil) {
  // Plateau and Paste change heights, so they take the full snapshot.
  return outil == OUTIL_COPIER || outil_d_elements(outil);
}

bool outil_d_elements(std::int32_t outil) {
  switch (outil) {
    case OUTIL_COULEUR:
    case OUTIL_ARBRE:
    case OUTIL_CIBLE:
    case OUTIL_OBSERVATEUR:
    case OUTIL_GOMME_ARBRE:
    case OUTIL_GOMME_RIVIERE:
    case OUTIL_GOMME_SOL: return true;
    default: return false;
  }
}

double distance_noeuds(std::int32_t i1, std::int32_t j1, std::int32_t i2, std::int32_t j2) {
  const position_plan a = plan(i1, j1), b = plan(i2, j2);
  const double dx = a.x - b.x, dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

bool annulation_attente(controle_outil& c, std::optional<std::string_view> caption, std::uint16_t increment) {
  if (!c.attente) return c.continuer;
  c.attente->tester_annulation();
  // The cancel message is posted by the call above and taken right away,
  // before anything lets the event loop run again.
  if (c.continuer && cancel_requested(c.fenetre)) c.continuer = false;
  if (c.continuer) c.attente->avancer(caption, increment);
  return c.continuer;
}

namespace {

// Runs the routine of the tool code with the arguments of its row.
void lancer_outil(Tmatrice& m, arguments_outil& a, controle_outil& c) {
  // Valley, Color and Tree add entries: they run only while the list has room.
  const bool ajoute_elements = a.outil == OUTIL_VALLEE || a.outil == OUTIL_COULEUR || a.outil == OUTIL_ARBRE;
  if (ajoute_elements && m.nombre_elements >= m.capacite_liste - 2) return;
  switch (a.outil) {
    case OUTIL_PLATEAU: outil_plateau(m, a, c); break;
    case OUTIL_VALLEE: outil_vallee(m, a, c); break;
    case OUTIL_RUISSELLEMENT: outil_ruissellement(m, a, c); break;
    case OUTIL_LISSAGE: outil_lisser(m, a, c); break;
    case OUTIL_STRATE: outil_strate(m, a, c); break;
    case OUTIL_RELIEF: outil_relief(m, a, c); break;
    case OUTIL_FORME:
    case OUTIL_CONE:
    case OUTIL_COL:
    case OUTIL_ROUTE: outil_trace(m, parametres_outil_trace(a), c); break;
    case OUTIL_COULEUR: peindre_sol(m, c); break;
    case OUTIL_ARBRE: planter_arbres(m, c); break;
    case OUTIL_CIBLE: placer_cible_grille(m, c); break;
    case OUTIL_OBSERVATEUR: placer_observateur_grille(m, c); break;
    case OUTIL_GOMME_ARBRE: gommer_arbres(m, c); break;
    case OUTIL_GOMME_RIVIERE: gommer_rivieres(m, c); break;
    case OUTIL_GOMME_SOL: gommer_sol(m, c); break;
    case OUTIL_COPIER: outil_copier_relief(m, a, c); break;
    case OUTIL_COLLER: outil_coller_relief(m, a, c); break;
    default: break;  // the cursor, codes above 19, and the tools not built yet
  }
}

}  // namespace

void Tmatrice::modifier(arguments_outil a, controle_outil& c) {
  assert(!trace.empty() && "modifier needs a stroke trace");
  if (trace.empty()) return;

  // 1. An empty changed area becomes an inverted one that the merge can grow.
  if (zone_modifiee[0] == 0) zone_modifiee[0] = n;
  if (zone_modifiee[1] == n + 1) zone_modifiee[1] = 1;
  if (zone_modifiee[2] == 0) zone_modifiee[2] = n;
  if (zone_modifiee[3] == n + 1) zone_modifiee[3] = 1;

  // 2. Undo snapshot and progress window.
  if (!c.attente || outil_listes_seules(a.outil)) {
    sauver_listes();
  } else {
    c.attente->take_focus();
    c.attente->demarrer(c.fenetre);
    if (a.largeur_base_debut > 2) sauver_annulation();
  }

  // 3. A stroke of two nodes counts as a single point.
  c.continuer = true;
  if (dernier_point == 1) dernier_point = 0;
  if (dernier_point == 0) {
    a.altitude_finale_fin = a.altitude_finale_debut;
    a.altitude_initiale_fin = a.altitude_initiale_debut;
    a.largeur_base_fin = a.largeur_base_debut;
  }

  // 4. Start node.
  c.i0 = trace[0].i;
  c.j0 = trace[0].j;

  // 5. The tool, inside an error trap; what it changed before an error stays.
  bool erreur = false;
  try {
    lancer_outil(*this, a, c);
  } catch (const ModelError&) {
    erreur = true;
  } catch (const std::bad_alloc&) {
    erreur = true;
  } catch (const std::exception&) {
    erreur = true;
  }
  if (erreur) warn("Error during the modification of the mountain !", "Quorvel");

  // 6. Sea rim.
  if (c.continuer && !outil_d_elements(a.outil)) {
    if (a.outil != OUTIL_PLATEAU && c.attente) c.attente->avancer(std::nullopt, 100);
    if (degre > 6) poser_rivage();
  }

  // 7. Point heights and changed area. The area grows after a cancel too, so
  // that the nodes changed before it are redrawn.
  if (c.continuer) rafraichir_points();
  zone_modifiee[0] = std::min(zone_modifiee[0], zone_outil[0]);
  zone_modifiee[1] = std::max(zone_modifiee[1], zone_outil[1]);
  zone_modifiee[2] = std::min(zone_modifiee[2], zone_outil[2]);
  zone_modifiee[3] = std::max(zone_modifiee[3], zone_outil[3]);
  if (c.continuer) redessiner_tout = 0;
}
