#include "app/sections.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "model/aleatoire.h"

namespace {

// One key line of a section: its key, its kind, how to get and set its field,
// and its default (fixed, or computed from the fields read before it).
template <class R>
struct Cle {
  std::string cle;
  GenreCle genre;
  std::int32_t defaut;
  std::function<std::int32_t(const R&)> valeur;
  std::function<void(R&, std::int32_t)> ranger;
  std::function<std::int32_t(const R&)> defaut_calcule;  // empty: `defaut`
};

template <class R>
void ecrire_cles(Sortie& f, const std::vector<Cle<R>>& cles, const R& r) {
  for (const Cle<R>& c : cles) {
    const std::int32_t v = c.valeur(r);
    ecrire_cle(f, c.cle, v, v != 0, c.genre);
  }
}

template <class R>
void lire_cles(const table_section& t, const std::vector<Cle<R>>& cles, R& r) {
  for (const Cle<R>& c : cles) {
    const std::int32_t defaut = c.defaut_calcule ? c.defaut_calcule(r) : c.defaut;
    bool drapeau = false;
    std::int32_t v = c.valeur(r);
    lire_cle(t, c.cle, drapeau, v, defaut);
    c.ranger(r, c.genre == GenreCle::drapeau ? (drapeau ? 1 : 0) : v);
  }
}

// A key of one or two digits: "Profil 2 eme iter  =" with `format` holding
// "%" where the number goes.
std::string cle_numero(std::string_view format, int n) {
  std::string s;
  for (char ch : format) {
    if (ch == '%')
      s += std::to_string(n);
    else
      s += ch;
  }
  return s;
}

#define ENTIER(texte, champ, def)                                                    \
  Cle<R>{texte, GenreCle::entier, def, [](const R& r) -> std::int32_t { return r.champ; }, \
         [](R& r, std::int32_t v) { r.champ = v; }, {}}
#define DRAPEAU(texte, champ, def)                                                            \
  Cle<R>{texte, GenreCle::drapeau, def, [](const R& r) -> std::int32_t { return r.champ ? 1 : 0; }, \
         [](R& r, std::int32_t v) { r.champ = static_cast<std::uint8_t>(v != 0); }, {}}

const std::vector<Cle<param_mat>>& cles_matrice() {
  using R = param_mat;
  static const std::vector<Cle<R>> cles = [] {
    std::vector<Cle<R>> c = {
        ENTIER("Maillage           =", maillage, 7),
        ENTIER("Relief             =", relief, 50),
        ENTIER("Erosion            =", erosion, 20),
        ENTIER("Profil             =", profil, 7),
    };
    for (int k = 0; k < 8; ++k) {
      c.push_back(Cle<R>{cle_numero("Profil % eme iter  =", k + 2), GenreCle::entier, 2,
                         [k](const R& r) { return r.profils_iter[static_cast<std::size_t>(k)]; },
                         [k](R& r, std::int32_t v) { r.profils_iter[static_cast<std::size_t>(k)] = v; }, {}});
    }
    const std::vector<Cle<R>> suite = {
        ENTIER("Altitude erosion   =", altitude_erosion, 7),
        ENTIER("Taux de lissage    =", taux_lissage, 7),
        DRAPEAU("Iles        (O, N) =", iles, 0),
        DRAPEAU("Cuvette     (O, N) =", cuvette, 0),
        ENTIER("Etalement          =", etalement, 1),
        ENTIER("Rivage             =", rivage, 10),
        DRAPEAU("Rivage      (O, N) =", rivage_actif, 0),
        ENTIER("Hauteur rivage     =", hauteur_rivage, 30),
        DRAPEAU("Gradins     (O, N) =", gradins, 0),
        ENTIER("Nombre gradins     =", nombre_gradins, 4),
        ENTIER("Pente gradins      =", pente_gradins, 4),
        DRAPEAU("Terrasse    (O, N) =", terrasse, 0),
        DRAPEAU("Orient\xE9     (O, N) =", oriente, 0),
        ENTIER("Hauteur plis       =", hauteur_plis, 10),
        DRAPEAU("Deformation (O, N) =", deformation, 0),
        ENTIER("Degre deformation  =", degre_deformation, 30),
        DRAPEAU("Photo aer.  (O, N) =", photo_aerienne, 0),
    };
    c.insert(c.end(), suite.begin(), suite.end());
    for (std::size_t n = 0; n < 4; ++n) {
      const int N = static_cast<int>(n) + 1;
      auto champ = [n](auto membre) {
        return std::pair{[n, membre](const R& r) -> std::int32_t { return r.couches[n].*membre; },
                         [n, membre](R& r, std::int32_t v) { r.couches[n].*membre = v; }};
      };
      auto drapeau = [n](auto membre) {
        return std::pair{[n, membre](const R& r) -> std::int32_t { return r.couches[n].*membre ? 1 : 0; },
                         [n, membre](R& r, std::int32_t v) { r.couches[n].*membre = static_cast<std::uint8_t>(v != 0); }};
      };
      auto ajouter = [&c](std::string cle, GenreCle g, std::int32_t def, auto acces) {
        c.push_back(Cle<R>{std::move(cle), g, def, acces.first, acces.second, {}});
      };
      ajouter(cle_numero("Couche % annul\xE9" "e   =", N), GenreCle::drapeau, 0, drapeau(&couche_arbres::annulee));
      ajouter(cle_numero("C%: nombre         =", N), GenreCle::entier, 5, champ(&couche_arbres::nombre));
      ajouter(cle_numero("C%: pente mini     =", N), GenreCle::entier, 0, champ(&couche_arbres::pente_mini));
      ajouter(cle_numero("C%: pente maxi     =", N), GenreCle::entier, 80, champ(&couche_arbres::pente_maxi));
      ajouter(cle_numero("C%: niveau mini    =", N), GenreCle::entier, 100, champ(&couche_arbres::niveau_mini));
      ajouter(cle_numero("C%: niveau maxi    =", N), GenreCle::entier, 3000, champ(&couche_arbres::niveau_maxi));
      ajouter(cle_numero("C%: transition     =", N), GenreCle::entier, 0, champ(&couche_arbres::transition));
      c.back().defaut_calcule = [n](const R& r) {
        const couche_arbres& l = r.couches[n];
        return Round(std::abs(static_cast<double>(l.niveau_maxi) - static_cast<double>(l.niveau_mini)) * 0.25);
      };
      ajouter(cle_numero("C%: group\xE9s        =", N), GenreCle::drapeau, 0, drapeau(&couche_arbres::groupes));
    }
    return c;
  }();
  return cles;
}

// View keys 1..18, the six tree layers, then 103..117 up to "Type ciel" (which
// is written apart), then 118..145.
const std::vector<Cle<param_vue>>& cles_vue_debut() {
  using R = param_vue;
  static const std::vector<Cle<R>> cles = [] {
    std::vector<Cle<R>> c = {
        ENTIER("Angle vertical     =", angle_vertical, 12),
        ENTIER("Angle horizontal   =", angle_horizontal, 10),
        ENTIER("Niveau mer         =", niveau_mer, 0),
        ENTIER("Niveau mini herbe  =", niveau_herbe, 300),
        ENTIER("Niveau mini rocher =", niveau_rocher, 1200),
        ENTIER("Niveau mini neige  =", niveau_neige, 2000),
        ENTIER("Delta  mini neige  =", delta_neige, 400),
        ENTIER("zone recouvrement  =", zone_recouvrement, 500),
        ENTIER("Hauteur sable      =", hauteur_sable, 0),
        ENTIER("Diversite couleurs =", diversite_couleurs, 0),
        DRAPEAU("Strates     (O/N)  =", strates, 0),
        DRAPEAU("Neige /soleil(O/N) =", neige_soleil, 0),
        ENTIER("Contraste          =", contraste, 44),
        ENTIER("Profondeur Ombre   =", profondeur_ombre, 20),
        DRAPEAU("Couleurs/defaut ?  =", couleurs_defaut, 1),
        DRAPEAU("Foret?      (O/N)  =", foret, 0),
        DRAPEAU("Detail arbres(O/N) =", detail_arbres, 0),
        DRAPEAU("Detail plus  (O/N) =", detail_plus, 0),
    };
    for (std::size_t n = 0; n < 6; ++n) {
      const int N = static_cast<int>(n) + 1;
      auto ajouter = [&c, n](std::string cle, GenreCle g, std::int32_t def, std::int32_t espece_arbres::*membre) {
        c.push_back(Cle<R>{std::move(cle), g, def,
                           [n, membre](const R& r) -> std::int32_t { return r.arbres[n].*membre; },
                           [n, membre](R& r, std::int32_t v) { r.arbres[n].*membre = v; }, {}});
      };
      auto ajouter_drapeau = [&c, n](std::string cle, std::int32_t def, std::uint8_t espece_arbres::*membre) {
        c.push_back(Cle<R>{std::move(cle), GenreCle::drapeau, def,
                           [n, membre](const R& r) -> std::int32_t { return r.arbres[n].*membre ? 1 : 0; },
                           [n, membre](R& r, std::int32_t v) { r.arbres[n].*membre = static_cast<std::uint8_t>(v != 0); },
                           {}});
      };
      using E = espece_arbres;
      ajouter(cle_numero("Arbres % Type      =", N), GenreCle::entier, 0, &E::espece);
      ajouter(cle_numero("A%: diversite      =", N), GenreCle::entier, 2, &E::diversite);
      ajouter(cle_numero("A%: couleur        =", N), GenreCle::entier, 1, &E::couleur);
      ajouter(cle_numero("A%: hauteur        =", N), GenreCle::entier, 25, &E::hauteur);
      ajouter(cle_numero("A%: largeur        =", N), GenreCle::entier, 5, &E::largeur);
      ajouter(cle_numero("A%: taille feuilles=", N), GenreCle::entier, 7, &E::taille_feuilles);
      ajouter(cle_numero("A%: larg.  feuilles=", N), GenreCle::entier, 5, &E::largeur_feuilles);
      ajouter(cle_numero("A%: hauteur tronc  =", N), GenreCle::entier, 5, &E::hauteur_tronc);
      ajouter(cle_numero("A%: largeur tronc  =", N), GenreCle::entier, 5, &E::largeur_tronc);
      ajouter(cle_numero("A%: Poids branches =", N), GenreCle::entier, 20, &E::poids_branches);
      ajouter(cle_numero("A%: Taux Croissance=", N), GenreCle::entier, 5, &E::taux_croissance);
      ajouter_drapeau(cle_numero("A%: interdit Herbe =", N), 0, &E::interdit_herbe);
      ajouter_drapeau(cle_numero("A%: interdit Terre =", N), 0, &E::interdit_terre);
      ajouter_drapeau(cle_numero("A%: interdit Rocher=", N), 0, &E::interdit_rocher);
    }
    const std::vector<Cle<R>> suite = {
        ENTIER("Elevation soleil   =", elevation_soleil, 50),
        ENTIER("Azimut soleil      =", azimut_soleil, 90),
    };
    c.insert(c.end(), suite.begin(), suite.end());
    return c;
  }();
  return cles;
}

const std::string CLE_DISTANCE = "Distance observat. =";

const std::vector<Cle<param_vue>>& cles_vue_milieu() {
  using R = param_vue;
  static const std::vector<Cle<R>> cles = {
      DRAPEAU("Maillage filaire   =", maillage_filaire, 0),
      DRAPEAU("Deformation autor. =", deformation, 1),
      DRAPEAU("Premier plan(O,N)  =", premier_plan, 0),
      ENTIER("Profondeur 1er plan=", profondeur_details, 1),
      ENTIER("Rugosite   1er plan=", rugosite, 5),
      DRAPEAU("Taille image fixe  =", echelle_fixe, 1),
      DRAPEAU("Ombre port\xE9" "e       =", ombre_portee, 0),
      DRAPEAU("Observateur place  =", observateur_place, 0),
      ENTIER("Hauteur observateur=", hauteur_observateur, 100),
      DRAPEAU("Brume              =", brume, 0),
      ENTIER("Hauteur brume      =", hauteur_brume, 4000),
  };
  return cles;
}

const std::string CLE_TYPE_CIEL = "Type ciel (1,2,3)  =";
const std::string PREFIXE_CIEL(PREFIXE_LIGNE_CIEL);

const std::vector<Cle<param_vue>>& cles_vue_fin() {
  using R = param_vue;
  static const std::vector<Cle<R>> cles = [] {
    std::vector<Cle<R>> c = {
        DRAPEAU("Horizon            =", horizon, 0),
        ENTIER("Hauteur Horizon    =", hauteur_horizon, 0),
        ENTIER("Nombre nuages      =", nombre_nuages, 2),
        ENTIER("Taille nuages      =", taille_nuages, 5),
        ENTIER("Hauteur nuages     =", hauteur_nuages, 10),
        ENTIER("Seed nuages        =", seed_nuages, 1),
        DRAPEAU("Alea nuages        =", alea_nuages, 0),
        DRAPEAU("Orageux            =", orageux, 0),
        DRAPEAU("Reflet             =", reflet, 0),
        ENTIER("Agitation mer      =", agitation_mer, 0),
        ENTIER("Taux de reflet     =", taux_reflet, 10),
        ENTIER("Profondeur         =", brume_densite, 25),
        DRAPEAU("Dim. image predef. =", dim_predef, 0),
        DRAPEAU("Neige sur arbres   =", neige_arbres, 1),
        DRAPEAU("Photo aerienne     =", photo_aerienne, 0),
        DRAPEAU("Masque             =", masque, 0),
        ENTIER("Transparence       =", transparence, 0),
        ENTIER("Couleur Masque R   =", masque_rvb[0], 255),
        ENTIER("Couleur Masque V   =", masque_rvb[1], 255),
        ENTIER("Couleur Masque B   =", masque_rvb[2], 255),
        ENTIER("Tolerance Masque   =", tolerance_masque, 10),
        ENTIER("Largeur image      =", largeur_image, 640),
        ENTIER("Hauteur image      =", hauteur_image, 480),
        ENTIER("Zoom               =", zoom, 10),
        ENTIER("Centre X           =", centre_x, 0),
        ENTIER("Centre Y           =", centre_y, 0),
        ENTIER("Taille             =", taille, 10),
        ENTIER("Type (1:BMP,2:JPEG)=", type_image, 1),
    };
    return c;
  }();
  return cles;
}

struct CleCouleur {
  const char* cle;
  Rgb defaut;
};

const CleCouleur CLES_COULEURS[10] = {
    {"Couleur Terre      =", {211, 176, 60}},  {"Couleur Herbe      =", {157, 206, 80}},
    {"Couleur Rocher     =", {192, 173, 173}}, {"Couleur Arbre 1    =", {157, 176, 86}},
    {"Couleur Arbre 2    =", {197, 206, 96}},  {"Couleur Neige      =", {255, 255, 255}},
    {"Couleur Sable      =", {255, 225, 0}},   {"Couleur Mer Riv.   =", {90, 90, 225}},
    {"Couleur Ciel       =", {168, 206, 235}}, {"Couleur Tronc      =", {128, 100, 40}},
};

const std::vector<Cle<Param_video>>& cles_video() {
  using R = Param_video;
  static const std::vector<Cle<R>> cles = [] {
    std::vector<Cle<R>> c = {
        ENTIER("Nombre images      =", nombre_images, 360),
        ENTIER("Type video         =", type_video, 2),
        ENTIER("Type trajectoire   =", type_trajectoire, 1),
        ENTIER("Largeur image      =", largeur_image, 400),
        ENTIER("Hauteur image      =", hauteur_image, 300),
        DRAPEAU("Detail       (O/N) =", detail, 0),
        ENTIER("Centre cercle X    =", centre_cercle_x, 0),
        ENTIER("Centre cercle Y    =", centre_cercle_y, 0),
        ENTIER("Rayon  cercle      =", rayon_cercle, 0),
        ENTIER("Angle vision vert. =", angle_vision, 0),
        ENTIER("Point vise X       =", point_vise_x, 0),
        ENTIER("Point vise Y       =", point_vise_y, 0),
        DRAPEAU("Pt vise fixe (O/N) =", point_vise_fixe, 1),
        ENTIER("Distance Pt vise   =", distance_point_vise, 25),
        ENTIER("Zoom video         =", zoom_video, 15),
        ENTIER("Premiere image     =", premiere_image, 1),
        ENTIER("Derniere image     =", derniere_image, 200),
    };
    for (std::size_t k = 0; k < 7; ++k) {
      c.push_back(Cle<R>{cle_numero("bezier altitude %  =", static_cast<int>(k) + 1), GenreCle::entier, 0,
                         [k](const R& r) { return r.bezier_altitude[k]; },
                         [k](R& r, std::int32_t v) { r.bezier_altitude[k] = v; }, {}});
    }
    // Points 1..7 of each axis, then the later points 8..13 of both axes.
    auto points = [&c](char axe, std::size_t de, std::size_t a, std::int32_t def) {
      for (std::size_t k = de; k < a; ++k) {
        const int N = static_cast<int>(k) + 1;
        std::string cle = std::string("bezier traj  ") + axe + (N < 10 ? "  " : " ") + std::to_string(N) + "  =";
        if (axe == 'X') {
          c.push_back(Cle<R>{cle, GenreCle::entier, def, [k](const R& r) { return r.bezier_x[k]; },
                             [k](R& r, std::int32_t v) { r.bezier_x[k] = v; }, {}});
        } else {
          c.push_back(Cle<R>{cle, GenreCle::entier, def, [k](const R& r) { return r.bezier_y[k]; },
                             [k](R& r, std::int32_t v) { r.bezier_y[k] = v; }, {}});
        }
      }
    };
    points('X', 0, 7, 0);
    points('Y', 0, 7, 0);
    points('X', 7, 13, -1);
    points('Y', 7, 13, -1);
    return c;
  }();
  return cles;
}

#undef ENTIER
#undef DRAPEAU

// Comment lines must stay one line each.
std::string une_ligne(std::string_view s) {
  std::string r(s);
  for (char& ch : r) {
    if (ch == '\r' || ch == '\n') ch = ' ';
  }
  return r;
}

template <class R>
R depuis_defauts(const std::vector<Cle<R>>& cles, R r) {
  for (const Cle<R>& c : cles) c.ranger(r, c.defaut_calcule ? c.defaut_calcule(r) : c.defaut);
  return r;
}

}  // namespace

param_mat param_mat_defaut() { return depuis_defauts(cles_matrice(), param_mat{}); }

param_vue param_vue_defaut() {
  param_vue p = depuis_defauts(cles_vue_debut(), param_vue{});
  p.distance = 50.0;
  p = depuis_defauts(cles_vue_milieu(), p);
  p.type_ciel = 0;
  p = depuis_defauts(cles_vue_fin(), p);
  for (std::size_t k = 0; k < 10; ++k) p.couleurs[k] = CLES_COULEURS[k].defaut;
  return p;
}

Param_video param_video_defaut() {
  Param_video p = depuis_defauts(cles_video(), Param_video{});
  p.vue = param_vue_defaut();
  return p;
}

void ecrire_param_matrice(Sortie& f, const param_mat& p, bool avec_texte) {
  if (avec_texte && !p.texte[0].empty()) {
    std::size_t k = 0;
    while (k < p.texte.size() && !p.texte[k].empty()) ++k;
    f.ligne(TETE_TEXTE);
    f.ligne(texte_entier(static_cast<std::int64_t>(k)));
    for (std::size_t i = 0; i < k; ++i) f.ligne(une_ligne(p.texte[i]));
  }
  f.ligne(TETE_PARAMETRES_MATRICE);
  ecrire_cles(f, cles_matrice(), p);
}

void ecrire_param_vue(Sortie& f, const param_vue& p) {
  f.ligne(TETE_PARAMETRES_VUE);
  ecrire_cles(f, cles_vue_debut(), p);
  ecrire_cle_entier(f, CLE_DISTANCE, Round(p.distance * 0.5 * 1000));
  ecrire_cles(f, cles_vue_milieu(), p);
  ecrire_cle_entier(f, CLE_TYPE_CIEL, p.type_ciel <= 2 ? p.type_ciel + 1 : 1);
  if (p.type_ciel == 2) f.ligne(PREFIXE_CIEL + une_ligne(p.fichier_ciel));
  ecrire_cles(f, cles_vue_fin(), p);
  for (std::size_t k = 0; k < 10; ++k) {
    const Rgb& c = p.couleurs[k];
    ecrire_cle_couleur(f, CLES_COULEURS[k].cle, c.r, c.g, c.b);
  }
  f.ligne(LIGNE_FIN);
  f.ligne(LIGNE_TIRETS);
}

void ecrire_param_video(Sortie& f, const Param_video& p) {
  f.ligne(TETE_PARAMETRES_VIDEO);
  ecrire_cles(f, cles_video(), p);
  f.ligne(LIGNE_FIN);
  f.ligne(LIGNE_TIRETS);
}

void lire_param_matrice(const table_section& t, param_mat& p) {
  param_mat r = param_mat_defaut();
  lire_cles(t, cles_matrice(), r);
  r.texte = p.texte;
  r.cle = p.cle;
  r.alea = p.alea;
  r.cible = p.cible;
  r.observateur = p.observateur;
  p = r;
}

void lire_param_vue(const table_section& t, param_vue& p) {
  param_vue r = param_vue_defaut();
  lire_cles(t, cles_vue_debut(), r);
  std::int32_t d = lire_entier(t, CLE_DISTANCE, 25000);
  if (d > 25000) d = 25000;
  r.distance = static_cast<double>(d) * 2 * 0.001;
  lire_cles(t, cles_vue_milieu(), r);
  const std::int32_t ciel = lire_entier(t, CLE_TYPE_CIEL, 1);
  r.type_ciel = ciel >= 1 && ciel <= 3 ? static_cast<std::uint8_t>(ciel - 1) : 0;
  r.fichier_ciel.clear();
  if (r.type_ciel == 2) {
    for (const std::string& l : t.lignes) {
      if (l.starts_with(PREFIXE_CIEL)) {
        r.fichier_ciel = l.substr(PREFIXE_CIEL.size());
        break;
      }
    }
  }
  lire_cles(t, cles_vue_fin(), r);
  for (std::size_t k = 0; k < 10; ++k) {
    const Rgb& d0 = CLES_COULEURS[k].defaut;
    Rgb& c = r.couleurs[k];
    lire_cle_couleur(t, CLES_COULEURS[k].cle, c.r, c.g, c.b, d0.r, d0.g, d0.b);
  }
  p = r;
}

void lire_param_video(const table_section& t, Param_video& p) {
  Param_video r = param_video_defaut();
  lire_cles(t, cles_video(), r);
  r.vue = p.vue;
  p = r;
}

void lire_param_matrice(Entree& f, param_mat& p) {
  lire_param_matrice(charger_section(f, GenreSection::matrice), p);
}

void lire_param_vue(Entree& f, param_vue& p) { lire_param_vue(charger_section(f, GenreSection::vue), p); }

void lire_param_video(Entree& f, Param_video& p) {
  lire_param_video(charger_section(f, GenreSection::video), p);
}
