#include "app/document.h"

#include <algorithm>

#include "platform/fichiers.h"
#include "app/sections.h"
#include "model/texte.h"

GenreDocument genre_par_extension(const std::string& chemin) {
  const std::string fin = fin_majuscule(chemin);
  if (fin == ".MAT") return GenreDocument::montagne;
  if (fin == ".VUE") return GenreDocument::vue;
  if (fin == ".VID") return GenreDocument::video;
  return GenreDocument::aucun;
}

std::int32_t nombre_cameras(const Param_video& w) { return std::clamp(w.nombre_images, 200, 9999); }

namespace {

// Line number (from 1) of byte `pos`.
int numero_ligne(const std::string& octets, std::size_t pos) {
  return 1 + static_cast<int>(std::count(octets.begin(), octets.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
}

[[noreturn]] void abime(const std::string& chemin, int ligne, const std::string& quoi) {
  throw ErreurDocument(chemin + " is damaged (line " + std::to_string(ligne) + "): " + quoi);
}

// Nodes per side of the body: the entries of its first height row.
std::int32_t noeuds_du_corps(std::string_view premiere) {
  std::int32_t n = 0;
  std::size_t i = 0;
  while (i < premiere.size()) {
    while (i < premiere.size() && (premiere[i] == ' ' || premiere[i] == '\t')) ++i;
    if (i >= premiere.size()) break;
    ++n;
    while (i < premiere.size() && premiere[i] != ' ' && premiere[i] != '\t') ++i;
  }
  return n;
}

void lire_montagne(Entree& f, const std::string& chemin, document_lu& d) {
  param_mat& p = d.parametres;
  p.texte = {};
  auto l = f.ligne();
  bool tete = l && *l == TETE_PARAMETRES_MATRICE;
  if (l && *l == TETE_TEXTE) {
    auto compte = f.ligne();
    std::int32_t k = compte ? convertir_entier_ligne(*compte).value_or(0) : 0;
    for (std::int32_t i = 0; i < k; ++i) {
      auto c = f.ligne();
      if (!c) break;
      if (*c == TETE_PARAMETRES_MATRICE) {
        tete = true;
        break;
      }
      if (i < NOMBRE_INFORMATIONS) p.texte[static_cast<std::size_t>(i)] = std::string(*c);
    }
  }
  if (!tete && !f.chercher(TETE_PARAMETRES_MATRICE)) throw ErreurDocument(chemin + " is not a mountain document");
  lire_param_matrice(f, p);

  // Generation key and the target and observer fractions.
  const std::string& octets = f.octets();
  auto nombre = [&](const std::string& quoi) -> std::string_view {
    const std::size_t pos = f.position();
    auto x = f.ligne();
    if (!x) abime(chemin, numero_ligne(octets, pos), quoi);
    return *x;
  };
  {
    const std::size_t pos = f.position();
    auto cle = convertir_entier_ligne(nombre("the generation key is missing"));
    if (!cle) abime(chemin, numero_ligne(octets, pos), "the generation key is not a number");
    p.cle = *cle;
  }
  double* fractions[4] = {&p.cible[0], &p.cible[1], &p.observateur[0], &p.observateur[1]};
  for (double* x : fractions) {
    const std::size_t pos = f.position();
    auto v = convertir_reel(nombre("a point fraction is missing"));
    if (!v) abime(chemin, numero_ligne(octets, pos), "a point fraction is not a number");
    *x = *v;
  }
  p.alea = 0;

  // The body: its first row gives the size.
  const std::size_t debut = f.position();
  const int ligne_debut = numero_ligne(octets, debut);
  auto premiere = f.ligne();
  if (!premiere) abime(chemin, ligne_debut, "the terrain heights are missing");
  const std::int32_t n = noeuds_du_corps(*premiere);
  std::int32_t degre = 0;
  for (std::int32_t k = 4; k <= 11; ++k)
    if (n == (1 << k) + 1) degre = k;
  if (degre == 0)
    abime(chemin, ligne_debut,
          "the terrain has " + std::to_string(n) + " nodes per side; 17, 33, 65 ... 2049 are possible");
  p.maillage = degre;
  d.terrain = std::make_unique<Tmatrice>(p);
  // The body is read where it lies in the document's bytes, not copied.
  model::TextReader corps = model::TextReader::borrowing(std::string_view(octets).substr(debut));
  try {
    d.terrain->lire_matrice(corps);
  } catch (const model::ReadError& e) {
    std::string quoi = e.what();
    if (e.line > 0) {
      const auto deux_points = quoi.find(": ");
      if (deux_points != std::string::npos) quoi = quoi.substr(deux_points + 2);
    }
    abime(chemin, ligne_debut + std::max(e.line, 1) - 1, quoi);
  }
  p.deformation = d.terrain->deformation;
  p.photo_aerienne = d.terrain->photo_presente;
}

void lire_partie_vue(Entree& f, document_lu& d) {
  f.rembobiner();
  d.vue = param_vue_defaut();
  if (f.chercher(TETE_PARAMETRES_VUE)) lire_param_vue(f, d.vue);
  d.largeur_image = 320;
  d.hauteur_image = 240;
  if (f.chercher(TETE_VUE)) {
    // Each size must be a number within 16..8192, else 0.
    auto taille = [&f]() -> std::int32_t {
      auto l = f.ligne();
      if (!l) return 0;
      const std::int32_t v = convertir_entier_ligne(*l).value_or(0);
      return v >= 16 && v <= 8192 ? v : 0;
    };
    const std::int32_t largeur = taille();
    const std::int32_t hauteur = taille();
    if (largeur != 0 && hauteur != 0) {
      d.largeur_image = static_cast<std::uint16_t>(largeur);
      d.hauteur_image = static_cast<std::uint16_t>(hauteur);
    }
  }
}

void lire_partie_video(Entree& f, const std::string& chemin, document_lu& d) {
  f.rembobiner();
  d.video = param_video_defaut();
  if (f.chercher(TETE_PARAMETRES_VIDEO)) lire_param_video(f, d.video);
  d.video.vue = d.vue;
  d.cameras.reset();
  if (f.chercher(TETE_TRAJECTOIRE)) {
    d.cameras.emplace(1);  // index 0 is not a frame
    const std::int32_t compte = nombre_cameras(d.video);
    for (std::int32_t i = 1; i <= compte; ++i) {
      const std::size_t pos = f.position();
      auto l = f.ligne();
      if (!l || *l == TETE_INFORMATION) break;
      auto c = lire_ligne_camera(*l);
      if (!c) abime(chemin, numero_ligne(f.octets(), pos), "camera record " + std::to_string(i) + " is not six numbers");
      d.cameras->push_back(*c);
    }
  }
  f.rembobiner();
  d.informations = {};
  if (f.chercher(TETE_INFORMATION)) {
    for (std::size_t k = 0; k < NOMBRE_INFORMATIONS; ++k) {
      auto l = f.ligne();
      if (!l) break;
      d.informations[k] = std::string(*l);
    }
  }
}

}  // namespace

document_lu lire_document(std::string octets, const std::string& chemin, GenreDocument genre) {
  document_lu d;
  d.parametres = param_mat_defaut();
  d.vue = param_vue_defaut();
  d.video = param_video_defaut();
  Entree f(std::move(octets));
  try {
    lire_montagne(f, chemin, d);
    if (genre == GenreDocument::vue || genre == GenreDocument::video) lire_partie_vue(f, d);
    if (genre == GenreDocument::video) lire_partie_video(f, chemin, d);
  } catch (const ErreurDocument&) {
    throw;
  } catch (const std::exception& e) {
    throw ErreurDocument(chemin + " cannot be read: " + e.what());
  }
  return d;
}

void ecrire_montagne(Sortie& f, param_mat& p, const Tmatrice& terrain) {
  p.maillage = terrain.degre;
  p.deformation = terrain.deformation;
  p.photo_aerienne = terrain.photo_presente && terrain.photo_enregistree ? 1 : 0;
  p.cible = {terrain.cible.x, terrain.cible.y};
  p.observateur = {terrain.observateur.x, terrain.observateur.y};
  ecrire_param_matrice(f, p);
  f.ligne(TETE_MATRICE);
  f.ligne(texte_entier(p.cle));
  f.ligne(texte_reel(p.cible[0]));
  f.ligne(texte_reel(p.cible[1]));
  f.ligne(texte_reel(p.observateur[0]));
  f.ligne(texte_reel(p.observateur[1]));
  model::TextWriter corps;
  terrain.ecrire_matrice(corps);
  f.texte(corps.bytes());
}

void ecrire_vue(Sortie& f, const param_vue& v, std::int32_t largeur, std::int32_t hauteur) {
  ecrire_param_vue(f, v);
  f.ligne(TETE_VUE);
  f.ligne(texte_entier(largeur));
  f.ligne(texte_entier(hauteur));
}

void ecrire_video(Sortie& f, const Param_video& w, const std::vector<enregistrement_camera>* cameras,
                  const informations_video& informations) {
  ecrire_param_video(f, w);
  f.ligne(TETE_TRAJECTOIRE);
  if (cameras) {
    const std::int32_t compte = nombre_cameras(w);
    for (std::int32_t i = 1; i <= compte; ++i) {
      const auto k = static_cast<std::size_t>(i);
      f.ligne(ligne_camera(k < cameras->size() ? (*cameras)[k] : enregistrement_camera{}));
    }
  }
  f.ligne(TETE_INFORMATION);
  if (!informations[0].empty()) {
    for (const std::string& l : informations) f.ligne(l);
  }
}

std::string texte_document(document_lu& d, GenreDocument genre) {
  Sortie f;
  ecrire_montagne(f, d.parametres, *d.terrain);
  if (genre == GenreDocument::vue || genre == GenreDocument::video)
    ecrire_vue(f, d.vue, d.largeur_image, d.hauteur_image);
  if (genre == GenreDocument::video)
    ecrire_video(f, d.video, d.cameras ? &*d.cameras : nullptr, d.informations);
  return std::move(f.octets());
}

Echec ecrire_document(const std::string& chemin, std::string_view octets) {
  if (octets.size() > TAILLE_MAX_DOCUMENT)
    return "it would be too large to be a document (" + std::to_string(octets.size()) + " bytes; at most " +
           std::to_string(TAILLE_MAX_DOCUMENT) + ")";
  return ecrire_fichier(chemin, octets);
}
