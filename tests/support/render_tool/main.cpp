// quorvel_render_tool: renders a generated or synthetic terrain with a view
// record to a PNG picture and writes the view statistics (test support).
//
//   --degree K --key N            terrain grown by the generator
//   --mat field=value             creation parameter override (repeatable)
//   --shape flat|cone|paraboloid|pillar|wall --height H   synthetic terrain
//   --view field=value            view parameter override (repeatable)
//   --size WxH                    picture size (default 640x480)
//   --rough  --editor  --camera x,y,z,tx,ty,tz
//   --out pic.png  --stats file   outputs (key=value lines)
//   --counters file               facet counters of the terrain pass (key=value lines)
//   --out-jpeg pic.jpg  --out-bmp pic.bmp   the picture as JPEG (quality 92) or BMP
//   --sky-dir folder              the sky picture folder of imported skies
//   --forest N                    places trees of creation layers 1..4 (density N) on a
//                                 generated terrain and gives layers 1..4 the species
//                                 Oak, Fir, Poplar, Pine (set foret=1 with --view)
//   --tree SPECIES                one tree (species 1..8) to --out, 200 x 200 by default;
//                                 with --layer field=value, --taille T, --eclairement L,
//                                 --neige N, --shadow, --sol S, --tilt SIN, --distance KM,
//                                 --variants V, --au-trait, --detail-plus, --foreground
//   --tree-sheet                  the eight species at sizes 4, 12 and 48 to --out
//   --sky-only                    only the sky of the view, as the Weather page shows
//   --movie out.avi               a movie along the video's camera path (circle, open or
//                                 closed path) instead of one picture; with --video
//                                 field=value (repeatable; bezier_altitude_1..7 too) and
//                                 --movie-frames K (the first K frames); prints the
//                                 movie's file information as key=value lines (only
//                                 when the tool is built with the video library)
//                                 it: Round(1.02 W) x H, without terrain or sea
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "exemples/arbres_dessin.h"
#include "model/aleatoire.h"
#include "model/defauts.h"
#include "model/erreur.h"
#include "render/bmp.h"
#include "render/calcul_image.h"
#include "render/ciel.h"
#include "render/facettes.h"
#include "render/jpeg.h"
#include "tests/support/compteur_facettes.h"
#include "tests/support/png.h"
#include "tests/support/terrains.h"
#ifdef QUORVEL_RENDER_TOOL_MOVIES
#include "platform/vidconv/conversion_video.h"
#include "video/codecs_video.h"
#include "video/trajectoire.h"
#endif

namespace {

using Setter = std::function<void(const std::string&)>;

int entier(const std::string& s) {
  std::size_t pos = 0;
  const long v = std::stol(s, &pos);
  if (pos != s.size() || v < INT32_MIN || v > INT32_MAX) throw std::invalid_argument(s);
  return int(v);
}

template <class Record>
struct Champs {
  Record& r;
  std::map<std::string, Setter> table;
  template <class T>
  void ajouter(const std::string& nom, T& champ) {
    table[nom] = [&champ](const std::string& v) {
      if constexpr (std::is_same_v<T, double>)
        champ = std::stod(v);
      else
        champ = T(entier(v));
    };
  }
  bool fixer(const std::string& affectation) {
    const auto eq = affectation.find('=');
    if (eq == std::string::npos) return false;
    auto it = table.find(affectation.substr(0, eq));
    if (it == table.end()) return false;
    it->second(affectation.substr(eq + 1));
    return true;
  }
};

#define CHAMP(c, f) c.ajouter(#f, c.r.f)

Champs<param_vue> champs_vue(param_vue& v) {
  Champs<param_vue> c{v, {}};
  CHAMP(c, angle_vertical); CHAMP(c, angle_horizontal); CHAMP(c, niveau_mer); CHAMP(c, niveau_herbe);
  CHAMP(c, niveau_rocher); CHAMP(c, niveau_neige); CHAMP(c, delta_neige); CHAMP(c, diversite_couleurs);
  CHAMP(c, zone_recouvrement); CHAMP(c, hauteur_sable); CHAMP(c, elevation_soleil); CHAMP(c, azimut_soleil);
  CHAMP(c, distance); CHAMP(c, maillage_filaire); CHAMP(c, premier_plan); CHAMP(c, brume_densite);
  CHAMP(c, rugosite); CHAMP(c, neige_soleil); CHAMP(c, strates); CHAMP(c, deformation); CHAMP(c, echelle_fixe);
  CHAMP(c, ombre_portee); CHAMP(c, observateur_place); CHAMP(c, hauteur_observateur); CHAMP(c, brume);
  CHAMP(c, hauteur_brume); CHAMP(c, type_ciel); CHAMP(c, horizon); CHAMP(c, hauteur_horizon);
  CHAMP(c, nombre_nuages); CHAMP(c, taille_nuages); CHAMP(c, hauteur_nuages); CHAMP(c, seed_nuages);
  CHAMP(c, alea_nuages); CHAMP(c, orageux); CHAMP(c, reflet); CHAMP(c, agitation_mer); CHAMP(c, taux_reflet);
  CHAMP(c, profondeur_details); CHAMP(c, type_image); CHAMP(c, taille); CHAMP(c, centre_x); CHAMP(c, centre_y);
  CHAMP(c, contraste); CHAMP(c, profondeur_ombre); CHAMP(c, couleurs_defaut); CHAMP(c, foret);
  CHAMP(c, detail_arbres); CHAMP(c, detail_plus); CHAMP(c, zoom); CHAMP(c, dim_predef); CHAMP(c, neige_arbres);
  CHAMP(c, photo_aerienne); CHAMP(c, masque); CHAMP(c, tolerance_masque); CHAMP(c, transparence);
  CHAMP(c, largeur_image); CHAMP(c, hauteur_image);
  return c;
}

Champs<espece_arbres> champs_couche(espece_arbres& a) {
  Champs<espece_arbres> c{a, {}};
  CHAMP(c, espece); CHAMP(c, diversite); CHAMP(c, couleur); CHAMP(c, hauteur); CHAMP(c, largeur);
  CHAMP(c, taille_feuilles); CHAMP(c, largeur_feuilles); CHAMP(c, hauteur_tronc); CHAMP(c, largeur_tronc);
  CHAMP(c, poids_branches); CHAMP(c, taux_croissance); CHAMP(c, interdit_rocher); CHAMP(c, interdit_terre);
  CHAMP(c, interdit_herbe);
  return c;
}

Champs<param_mat> champs_matrice(param_mat& p) {
  Champs<param_mat> c{p, {}};
  CHAMP(c, relief); CHAMP(c, maillage); CHAMP(c, profil); CHAMP(c, altitude_erosion); CHAMP(c, taux_lissage);
  CHAMP(c, erosion); CHAMP(c, cle); CHAMP(c, alea); CHAMP(c, iles); CHAMP(c, cuvette); CHAMP(c, etalement);
  CHAMP(c, rivage_actif); CHAMP(c, rivage); CHAMP(c, hauteur_rivage); CHAMP(c, gradins); CHAMP(c, nombre_gradins);
  CHAMP(c, pente_gradins); CHAMP(c, terrasse); CHAMP(c, oriente); CHAMP(c, hauteur_plis); CHAMP(c, deformation);
  CHAMP(c, degre_deformation); CHAMP(c, photo_aerienne);
  return c;
}

[[maybe_unused]] Champs<Param_video> champs_video(Param_video& p) {
  Champs<Param_video> c{p, {}};
  CHAMP(c, nombre_images); CHAMP(c, type_video); CHAMP(c, type_trajectoire); CHAMP(c, centre_cercle_x);
  CHAMP(c, centre_cercle_y); CHAMP(c, rayon_cercle); CHAMP(c, angle_vision); CHAMP(c, point_vise_x);
  CHAMP(c, point_vise_y); CHAMP(c, point_vise_fixe); CHAMP(c, distance_point_vise); CHAMP(c, zoom_video);
  for (std::size_t k = 0; k < 7; ++k) c.ajouter("bezier_altitude_" + std::to_string(k + 1), p.bezier_altitude[k]);
  return c;
}

// The video section's defaults, as a new options file holds them.
[[maybe_unused]] Param_video video_defaut() {
  Param_video p{};
  p.nombre_images = 360;
  p.type_video = 2;
  p.type_trajectoire = 1;
  p.largeur_image = 400;
  p.hauteur_image = 300;
  p.point_vise_fixe = 1;
  p.distance_point_vise = 25;
  p.zoom_video = 15;
  p.premiere_image = 1;
  p.derniere_image = 200;
  for (std::size_t k = 0; k < 13; ++k) p.bezier_x[k] = p.bezier_y[k] = k < 7 ? 0 : -1;
  return p;
}

// Renders the first `images` frames of the video's camera path and writes the
// movie; prints its file information.
int faire_film(Tmatrice& terrain, const param_vue& vue, const std::vector<std::string>& reglages, int largeur,
               int hauteur, int images, const std::string& film);

int usage(const std::string& message) {
  std::cerr << "quorvel_render_tool: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int degre = 7, hauteur_forme = 1000, largeur = 640, hauteur = 480;
  std::string forme, sortie, stats, compteurs, sortie_jpeg, sortie_bmp, dossier_ciels;
  bool avec_cle = false, grossier = false, editeur = false, camera = false, ciel_seul = false;
  int cle = 0;
  enregistrement_camera rec;
  std::vector<std::string> mats, vues, couches, reglages_video;
  std::string film;
  int images_film = 30;
  int espece_seule = 0, foret = 0;
  bool planche = false;
  ArbreSeul seul;
  try {
    for (std::size_t k = 0; k < args.size(); ++k) {
      const std::string& a = args[k];
      auto valeur = [&]() -> std::string {
        if (k + 1 >= args.size()) throw std::invalid_argument(a + " needs a value");
        return args[++k];
      };
      if (a == "--degree") degre = entier(valeur());
      else if (a == "--key") { cle = entier(valeur()); avec_cle = true; }
      else if (a == "--shape") forme = valeur();
      else if (a == "--height") hauteur_forme = entier(valeur());
      else if (a == "--mat") mats.push_back(valeur());
      else if (a == "--view") vues.push_back(valeur());
      else if (a == "--size") {
        const std::string s = valeur();
        const auto x = s.find('x');
        if (x == std::string::npos) throw std::invalid_argument("--size WxH");
        largeur = entier(s.substr(0, x));
        hauteur = entier(s.substr(x + 1));
        if (largeur < 0 || hauteur < 0 || largeur > 16384 || hauteur > 16384) throw std::invalid_argument("--size");
      } else if (a == "--rough") grossier = true;
      else if (a == "--editor") editeur = true;
      else if (a == "--camera") {
        std::stringstream ss(valeur());
        double* f[6] = {&rec.observateur_x, &rec.observateur_y, &rec.observateur_z, &rec.cible_x, &rec.cible_y, &rec.cible_z};
        std::string part;
        for (double* p : f) {
          if (!std::getline(ss, part, ',')) throw std::invalid_argument("--camera x,y,z,tx,ty,tz");
          *p = std::stod(part);
        }
        camera = true;
      } else if (a == "--out") sortie = valeur();
      else if (a == "--stats") stats = valeur();
      else if (a == "--counters") compteurs = valeur();
      else if (a == "--out-jpeg") sortie_jpeg = valeur();
      else if (a == "--out-bmp") sortie_bmp = valeur();
      else if (a == "--sky-dir") dossier_ciels = valeur();
      else if (a == "--sky-only") ciel_seul = true;
      else if (a == "--movie") film = valeur();
      else if (a == "--video") reglages_video.push_back(valeur());
      else if (a == "--movie-frames") images_film = entier(valeur());
      else if (a == "--forest") foret = entier(valeur());
      else if (a == "--tree") espece_seule = entier(valeur());
      else if (a == "--tree-sheet") planche = true;
      else if (a == "--layer") couches.push_back(valeur());
      else if (a == "--taille") seul.taille = std::stod(valeur());
      else if (a == "--eclairement") seul.eclairement = entier(valeur());
      else if (a == "--neige") seul.neige = entier(valeur());
      else if (a == "--shadow") seul.ombre = true;
      else if (a == "--sol") seul.sol = entier(valeur());
      else if (a == "--tilt") seul.inclinaison = std::stod(valeur());
      else if (a == "--distance") seul.distance = std::stod(valeur());
      else if (a == "--variants") seul.variantes = entier(valeur());
      else if (a == "--au-trait") seul.au_trait = true;
      else if (a == "--detail-plus") seul.detail_plus = true;
      else if (a == "--foreground") seul.premier_plan = true;
      else throw std::invalid_argument("unknown option " + a);
    }
    if (degre < 4 || degre > 11) return usage("--degree must lie in 4..11");
    auto ecrire = [&](const render::Bitmap& image) {
      if (!sortie.empty() && !ecrire_png(sortie, image)) throw std::runtime_error("cannot write " + sortie);
      if (!sortie_jpeg.empty() && !render::ecrire_jpeg(sortie_jpeg, image, 92))
        throw std::runtime_error("cannot write " + sortie_jpeg);
      if (!sortie_bmp.empty() && !render::ecrire_bmp(sortie_bmp, image))
        throw std::runtime_error("cannot write " + sortie_bmp);
    };
    if (planche) {
      ecrire(planche_arbres());
      return 0;
    }
    if (espece_seule != 0) {
      if (espece_seule < 1 || espece_seule > 8) return usage("--tree takes a species 1..8");
      seul.couche = couche_defaut(espece_seule);
      auto champs = champs_couche(seul.couche);
      for (const std::string& c : couches)
        if (!champs.fixer(c)) return usage("unknown layer field " + c);
      if (seul.variantes < -7 || seul.variantes > 24) return usage("--variants must lie in -7..24");
      if (seul.eclairement < 0 || seul.eclairement > 65535 || seul.sol < 0 || seul.sol > 65535)
        return usage("--eclairement and --sol must lie in 0..65535");
      const bool taille_donnee = std::find(args.begin(), args.end(), "--size") != args.end();
      ecrire(image_arbre(seul, taille_donnee ? largeur : 200, taille_donnee ? hauteur : 200));
      return 0;
    }
    if (ciel_seul) {
      param_vue vue;
      valeurs_defaut_vue(vue);
      auto champs = champs_vue(vue);
      for (const std::string& v : vues)
        if (!champs.fixer(v)) return usage("unknown view field " + v);
      const TMyPalette palette = palette_pour_vue(vue);
      render::Bitmap image(Round(largeur * 1.02), hauteur);
      render::TCiel ciel;
      render::EntreeCiel e;
      e.ligne_horizon = hauteur;
      e.ligne_terre = hauteur + 10;
      e.hauteur_coins = -50;
      e.largeur = largeur;
      e.hauteur = 0;
      e.cos_elevation = std::cos(vue.elevation_soleil * 3.14159265358979323846 / 180);
      e.cos_azimut = std::cos(vue.azimut_soleil * 3.14159265358979323846 / 180);
      e.vue = &vue;
      e.image = &image;
      e.palette = &palette;
      e.dossier_ciels = dossier_ciels;
      ciel.dessiner_ciel(e);
      ecrire(image);
      return 0;
    }
    if (!forme.empty() == avec_cle) return usage("give either --key or --shape");
    if (!film.empty() && images_film < 1) return usage("--movie-frames must be at least 1");

    std::unique_ptr<Tmatrice> terrain;
    if (!forme.empty()) {
      terrain = terrain_synthetique(forme, degre, hauteur_forme);
      if (!terrain) return usage("unknown shape " + forme);
    } else {
      param_mat p = parametres_test(degre);
      p.cle = cle;
      auto champs = champs_matrice(p);
      for (const std::string& m : mats)
        if (!champs.fixer(m)) return usage("unknown creation field " + m);
      if (p.maillage < 4 || p.maillage > 11) return usage("maillage must lie in 4..11");
      terrain = terrain_genere(p);
      if (foret > 0) planter_foret(*terrain, foret);
    }

    param_vue vue;
    valeurs_defaut_vue(vue);
    if (foret > 0)
      for (int L = 0; L < 4; ++L) vue.arbres[std::size_t(L)].espece = L + 1;
    auto champs = champs_vue(vue);
    for (const std::string& v : vues)
      if (!champs.fixer(v)) return usage("unknown view field " + v);

    terrain->marquer_modifiee();  // the whole picture is drawn, as in the view window
    if (!film.empty()) return faire_film(*terrain, vue, reglages_video, largeur, hauteur, images_film, film);
    const TMyPalette palette = palette_pour_vue(vue);
    render::Bitmap image(largeur, hauteur);
    render::Bitmap carte2;
    if (editeur) carte2.reset(2 * largeur, 2 * hauteur);
    CompteurFacettes releve;
    render::RenderOptions options;
    options.dossier_ciels = dossier_ciels;
    if (!compteurs.empty()) options.phases.observateur = &releve;
    render::calcul_image(*terrain, 0, palette, image, {}, vue, largeur, hauteur, nullptr, editeur ? &carte2 : nullptr,
                         1, grossier, 0, 1, camera, rec, options);

    ecrire(image);
    if (!stats.empty()) {
      std::ofstream f(stats);
      const resultats_vue& r = terrain->resultats_vue;
      f << "altitude_moyenne=" << r.altitude_moyenne << "\naltitude_maxi=" << r.altitude_maxi
        << "\naltitude_mini=" << r.altitude_mini << "\nniveau_mer=" << r.niveau_mer << "\npente_faible=" << r.pente_faible
        << "\npente_moyenne=" << r.pente_moyenne << "\npente_forte=" << r.pente_forte;
      for (std::size_t L = 0; L < 6; ++L)
        f << "\narbres_" << L + 1 << "=" << r.arbres[L][0] << "," << r.arbres[L][1] << "," << r.arbres[L][2];
      f << "\nsources=" << r.sources << "\nlongueur_rivieres=" << r.longueur_rivieres
        << "\ncalcul_annule=" << int(terrain->calcul_annule) << "\nresultat_ciel=" << terrain->etat_rendu.resultat_ciel
        << "\n";
      if (!f) return usage("cannot write " + stats);
    }
    if (!compteurs.empty()) {
      std::ofstream f(compteurs);
      const TotauxFacettes& c = releve.totaux;
      f << "facettes=" << c.facettes << "\ncretes=" << c.cretes << "\neau=" << c.eau
        << "\nsauts_occupation=" << c.sauts_occupation << "\nsous_reseaux=" << c.sous_reseaux
        << "\nsous_facettes=" << c.sous_facettes << "\n";
      if (!f) return usage("cannot write " + compteurs);
    }
  } catch (const std::exception& e) {
    return usage(e.what());
  }
  return 0;
}

namespace {

#ifndef QUORVEL_RENDER_TOOL_MOVIES
// A build without the video library (the ThreadSanitizer build) makes no movies.
int faire_film(Tmatrice&, const param_vue&, const std::vector<std::string>&, int, int, int, const std::string&) {
  return usage("this build of the tool makes no movies");
}
#else
int faire_film(Tmatrice& terrain, const param_vue& vue, const std::vector<std::string>& reglages, int largeur,
               int hauteur, int images, const std::string& film) {
  namespace vcv = platform::vcv;
  Param_video p = video_defaut();
  p.vue = vue;
  auto champs = champs_video(p);
  for (const std::string& r : reglages)
    if (!champs.fixer(r)) return usage("unknown video field " + r);
  p.largeur_image = largeur;
  p.hauteur_image = hauteur;
  std::vector<enregistrement_camera> table;
  DessinTrajectoire dessin;
  EditeurAltitude altitudes{300, 100, 0, 0};
  if (!calcule_trajectoire(p, terrain, altitudes, false, table, dessin)) return usage("no camera path to follow");
  images = std::min(images, p.nombre_images);
  // The frames show the middle of a picture 1.1 times larger, as the making window renders them.
  const param_vue rendu = render::vue_image_video(p.vue, largeur, hauteur);
  const TMyPalette palette = palette_pour_vue(rendu);
  render::Bitmap image(largeur, hauteur);
  const vcv::Handle conv = vcv::alloc(), img = vcv::img_alloc();
  vcv::assign_video_source(conv, [&](vcv::Handle source, int index) {
    if (index >= images) {
      vcv::src_finished(source);
      return;
    }
    render::calcul_image(terrain, 0, palette, image, {}, rendu, largeur, hauteur, nullptr, nullptr, 0, 0, 0, 0, 1,
                         table[std::size_t(index) + 1]);
    vcv::dib_to_img(img, {image.pixels().data(), image.width(), image.height(), image.width()});
    vcv::src_set_img(source, img);
  });
  vcv::set_frame_rate(conv, 30.0);
  vcv::set_resolution(conv, largeur, hauteur);
  if (auto c = codec_video(p.type_video)) vcv::set_codec(conv, c->conteneur, c->codec);
  vcv::set_output_file(conv, film, 0);
  vcv::set_byte_rate(conv, vcv::kContainerAvi, 600);
  vcv::set_byte_rate(conv, vcv::kContainerMpeg, 600);
  vcv::set_dithering(conv, 1);
  vcv::force_compatibility(conv, -1);
  const bool fait = vcv::convert(conv);
  vcv::free(conv);
  vcv::free(img);
  if (!fait) return usage("movie not written: " + vcv::last_error_text());
  vcv::FileInfo info;
  if (!vcv::get_file_info(film, 0, info)) return usage("cannot read the movie back");
  std::cout << "file_name=" << info.file_name << "\nfile_format=" << info.file_format
            << "\nfile_size=" << std::int64_t(info.file_size) << "\nvideo_format=" << info.video_format
            << "\nframes=" << info.frames << "\nplaying_time=" << info.playing_time
            << "\nframes_per_second=" << info.frames_per_second << "\nwidth=" << info.width
            << "\nheight=" << info.height << "\nbytes_per_pixel=" << info.bytes_per_pixel
            << "\nbits_per_pixel=" << info.bits_per_pixel << "\n";
  return 0;
}
#endif

}  // namespace
