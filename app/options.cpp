#include "app/options.h"

#include "app/sections.h"
#include "app/texte_document.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"

Echec Lire_options(etat_documents& e, const std::string& chemin, bool sections_seules) {
  std::string raison;
  auto octets = lire_fichier(chemin, &raison, kLectureDocument);
  if (!octets) return raison;
  Entree f(std::move(*octets));
  f.ligne();  // the marker, not checked

  if (!sections_seules) {
    e.fichier_courant.clear();
    e.demarrer_sur_fichier = false;
    if (e.demarrage) e.recents.clear();
  }
  // Starting file and recent lines lie between the marker and the mountain head.
  bool depart_vu = false;
  while (auto l = f.ligne()) {
    if (*l == TETE_PARAMETRES_MATRICE) break;
    if (sections_seules || !e.demarrage || l->empty()) continue;
    if ((*l)[0] == '>') {
      const std::string chemin_recent(l->substr(1));
      // Kept when something is there: opening it says what, if it is not a
      // document file.
      if (e.recents.size() < NOMBRE_MAX_RECENTS && genre_fichier(chemin_recent) != GenreFichier::absent)
        e.recents.push_back(chemin_recent);
    } else if (!depart_vu && (*l)[0] != ' ') {
      depart_vu = true;
      const std::string depart(*l);
      if (genre_fichier(depart) != GenreFichier::absent) {
        e.fichier_courant = depart;
        e.demarrer_sur_fichier = true;
      }
    }
  }

  const table_section montagne = charger_section(f, GenreSection::matrice);
  lire_param_matrice(montagne, e.parametres);
  e.parametres.texte = {};
  e.parametres.cible = {0.333, 0.333};
  e.parametres.observateur = {0.1, 0.1};
  Randomize();
  e.parametres.cle = static_cast<std::int32_t>(seed());
  e.parametres.alea = 0;

  // The mountain loader normally stops on the view head; otherwise look for it.
  if (montagne.lignes.empty() || montagne.lignes.back() != TETE_PARAMETRES_VUE) f.chercher(TETE_PARAMETRES_VUE);
  lire_param_vue(f, e.vue);
  lire_param_video(f, e.video);
  return {};
}

std::string texte_options(const etat_documents& e) {
  Sortie f;
  f.ligne(MARQUE_OPTIONS);
  if (e.demarrer_sur_fichier && !e.fichier_courant.empty()) f.ligne(e.fichier_courant);
  for (const std::string& r : e.recents) f.ligne(">" + r);
  ecrire_param_matrice(f, e.parametres, false);
  ecrire_param_vue(f, e.vue);
  ecrire_param_video(f, e.video);
  return std::move(f.octets());
}

Echec Sauve_options(const etat_documents& e, const std::string& chemin) {
  return ecrire_fichier(chemin, texte_options(e));
}

bool Sauve_options_ou_avertir(const etat_documents& e, const std::string& chemin) {
  const Echec ec = Sauve_options(e, chemin);
  if (ec.empty()) return true;
  warn("The options file " + chemin + " could not be written: " + ec, "Quorvel");
  return false;
}
