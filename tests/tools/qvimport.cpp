// qvimport: imports an elevation source the way the import window does, without a window.
//   qvimport SOURCE [--degree K] [--smooth] [--photo] [--scale F] [--turn R] [--centre X,Y]
//            [--mini M] [--maxi M] --out OUT.mat   the imported terrain as a mountain document
//   qvimport SOURCE --grid OUT.asc                 the decoded grid as an ESRI ASCII grid
//   qvimport SOURCE --heights OUT.txt              "W H", then H lines of W decoded heights
// Exit code 0 when the source is accepted, 2 when it is refused (the reason on
// standard error), 1 for a wrong command line.
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/document.h"
#include "import/importation.h"
#include "model/defauts.h"
#include "model/texte.h"
#include "platform/fichiers.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: qvimport SOURCE [--degree K] [--smooth] [--photo] [--scale F] [--turn R] [--centre X,Y]\n"
               "                [--mini M] [--maxi M] --out OUT.mat\n"
               "       qvimport SOURCE --grid OUT.asc\n"
               "       qvimport SOURCE --heights OUT.txt\n");
  return 1;
}

struct Options {
  std::string source, sortie, grille, hauteurs;
  std::optional<std::int32_t> degre, mini, maxi, cx, cy;
  std::optional<double> echelle, rotation;
  bool lissage = false, photo = false;
};

// Reads the command line; false for anything it does not know.
bool lire_options(int argc, char** argv, Options& o) {
  if (argc < 2) return false;
  o.source = argv[1];
  for (int k = 2; k < argc; ++k) {
    const std::string a = argv[k];
    const char* suivant = k + 1 < argc ? argv[k + 1] : nullptr;
    auto entier = [&](std::optional<std::int32_t>& v) {
      if (!suivant || !(v = model::convertir_entier(suivant))) return false;
      ++k;
      return true;
    };
    auto reel = [&](std::optional<double>& v) {
      if (!suivant || !(v = model::convertir_reel(suivant))) return false;
      ++k;
      return true;
    };
    auto texte = [&](std::string& v) {
      if (!suivant) return false;
      v = suivant;
      ++k;
      return true;
    };
    bool bon = true;
    if (a == "--degree") bon = entier(o.degre) && *o.degre >= 5 && *o.degre <= 11;
    else if (a == "--mini") bon = entier(o.mini);
    else if (a == "--maxi") bon = entier(o.maxi);
    else if (a == "--scale") bon = reel(o.echelle) && *o.echelle >= 0.2 && *o.echelle <= 1.5;
    else if (a == "--turn") bon = reel(o.rotation) && *o.rotation >= 0 && *o.rotation <= 2 * 3.14159265358979323846;
    else if (a == "--smooth") o.lissage = true;
    else if (a == "--photo") o.photo = true;
    else if (a == "--out") bon = texte(o.sortie);
    else if (a == "--grid") bon = texte(o.grille);
    else if (a == "--heights") bon = texte(o.hauteurs);
    else if (a == "--centre" && suivant) {
      const std::string v = suivant;
      const std::size_t virgule = v.find(',');
      if (virgule == std::string::npos) return false;
      o.cx = model::convertir_entier(v.substr(0, virgule));
      o.cy = model::convertir_entier(v.substr(virgule + 1));
      bon = o.cx && o.cy;
      ++k;
    } else {
      bon = false;
    }
    if (!bon) return false;
  }
  return !o.sortie.empty() + !o.grille.empty() + !o.hauteurs.empty() == 1;
}

// The decoded heights, row 0 first, one line per row.
std::string lignes_hauteurs(const Importation& imp) {
  std::string s;
  for (std::int32_t y = 0; y < imp.hauteur; ++y) {
    for (std::int32_t x = 0; x < imp.largeur; ++x) {
      if (x) s += ' ';
      s += std::to_string(imp.hauteur_pixel(x, y));
    }
    s += '\n';
  }
  return s;
}

std::string texte_grille(const Importation& imp) {
  return "ncols " + std::to_string(imp.largeur) + "\nnrows " + std::to_string(imp.hauteur) +
         "\nxllcorner 0\nyllcorner 0\ncellsize 1\n" + lignes_hauteurs(imp);
}

std::string texte_hauteurs(const Importation& imp) {
  return std::to_string(imp.largeur) + " " + std::to_string(imp.hauteur) + "\n" + lignes_hauteurs(imp);
}

// The mountain document the main window's adoption would make: its creation
// parameters with the imported degree, no distortion, the photo flag and the
// comment line; the terrain copied node by node.
std::string document_importe(Importation& imp, const param_mat& base) {
  document_lu d;
  d.parametres = base;
  d.parametres.maillage = imp.degre;
  d.parametres.deformation = imp.parametres.deformation;
  d.parametres.photo_aerienne = imp.parametres.photo_aerienne;
  d.parametres.texte[0] = imp.commentaire;
  auto t = std::make_unique<Tmatrice>(d.parametres);
  const Tmatrice& src = *imp.terrain;
  for (std::int32_t i = 0; i <= imp.taille; ++i)
    for (std::int32_t j = 0; j <= imp.taille; ++j) {
      t->hauteurs->ecrire(i, j, src.hauteurs->lire(i, j));
      if (t->photo && src.photo) {
        const Rgb c = src.photo->lire(i, j);
        t->photo->ecrire(i, j, std::uint32_t(c.r) | std::uint32_t(c.g) << 8 | std::uint32_t(c.b) << 16);
      }
    }
  t->initialiser_apres_import();
  d.terrain = std::move(t);
  return texte_document(d, GenreDocument::montagne);
}

int ecrire(const std::string& chemin, const std::string& octets) {
  const Echec e = ecrire_fichier(chemin, octets);
  if (e.empty()) return 0;
  std::fprintf(stderr, "%s: %s\n", chemin.c_str(), e.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!lire_options(argc, argv, o)) return usage();
  try {
    param_mat base;
    valeurs_defaut_matrice(base);
    base.cible = {0.333, 0.333};
    base.observateur = {0.1, 0.1};
    Importation imp;
    const Echec raison = imp.importer(o.source, base, nullptr, 0);
    if (!raison.empty()) {
      std::fprintf(stderr, "%s: %s\n", o.source.c_str(), raison.c_str());
      return 2;
    }
    if (!o.grille.empty()) return ecrire(o.grille, texte_grille(imp));
    if (!o.hauteurs.empty()) return ecrire(o.hauteurs, texte_hauteurs(imp));
    if (o.degre) imp.degre = static_cast<std::uint16_t>(*o.degre);
    if (o.mini) imp.minimum = *o.mini;
    if (o.maxi) imp.maximum = *o.maxi;
    if (o.echelle) imp.cadre.f = *o.echelle;
    if (o.rotation) imp.cadre.rotation = *o.rotation;
    if (o.cx) imp.cadre.cx = *o.cx;
    if (o.cy) imp.cadre.cy = *o.cy;
    imp.lissage = o.lissage;
    if (o.photo && imp.extension != ".BMP" && !imp.charger_photo_aerienne(o.source))
      std::fprintf(stderr, "%s: no aerial picture of %d x %d beside it; imported without colours\n", o.source.c_str(),
                   imp.largeur, imp.hauteur);
    imp.faire_importation(nullptr, 0);
    return ecrire(o.sortie, document_importe(imp, base));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", o.source.c_str(), e.what());
    return 2;
  }
}
