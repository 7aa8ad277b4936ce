// qvdoc: checks and rewrites documents and options files.
//   qvdoc check FILE       parse and print a summary (exit 0), or the error (exit 2)
//   qvdoc rewrite IN OUT   read a document and write it back (refused, OUT
//                          untouched, when it would be larger than a document
//                          can be)
//   qvdoc ini IN OUT       read an options file in start-up mode and write it back
//   qvdoc tour IN OUT      a video document on IN's mountain and view: the
//                          sample film's circle path of 200 frames, frames
//                          1..19 made, no information lines (tests/data/tour.vid,
//                          from tests/data/vallee.vue)
//   qvdoc valley INI KEY OUT
//                          the sample documents: a degree-7 mountain grown from
//                          KEY with INI's creation parameters, a forest and a
//                          river from its highest point; OUT.mat is the
//                          mountain, OUT.vue adds INI's view with its forest,
//                          OUT.vid adds a 200-frame circle path around it
//                          with the video zoom 10
//   qvdoc render DOC OUT.bmp [FRAME]
//                          the picture a document shows: a view's at its
//                          stored size, or frame FRAME (1..) of a video's path
//                          as the movie making renders it
#include <cstdio>
#include <cstring>
#include <string>

#include "app/document.h"
#include "platform/fichiers.h"
#include "app/options.h"
#include "model/outils_vallee.h"
#include "render/bmp.h"
#include "tests/tools/image_document.h"
#include "video/trajectoire.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: qvdoc check FILE | qvdoc rewrite IN OUT | qvdoc ini IN OUT\n");
  return 1;
}

document_lu lire(const std::string& chemin, GenreDocument& genre) {
  genre = genre_par_extension(chemin);
  if (genre == GenreDocument::aucun) throw ErreurDocument(chemin + ": the extension is not .mat, .vue or .vid");
  std::string raison;
  auto octets = lire_fichier(chemin, &raison, kLectureDocument);
  if (!octets) throw ErreurDocument(chemin + ": " + raison);
  return lire_document(std::move(*octets), chemin, genre);
}

void resume(const document_lu& d, GenreDocument genre) {
  const Tmatrice& t = *d.terrain;
  int entrees = t.nombre_elements;
  std::printf("mountain: degree %d (%d nodes per side), key %d, distortion %s, colours %s, %d features, %d comment lines\n",
              static_cast<int>(t.degre), t.n, d.parametres.cle, t.deformation ? "yes" : "no",
              t.photo_presente ? "yes" : "no", entrees,
              static_cast<int>(std::count_if(d.parametres.texte.begin(), d.parametres.texte.end(),
                                             [](const std::string& s) { return !s.empty(); })));
  if (genre != GenreDocument::montagne)
    std::printf("view: picture %d x %d, %s\n", d.largeur_image, d.hauteur_image,
                d.vue.type_image == 1 ? "BMP" : "JPEG");
  if (genre == GenreDocument::video)
    std::printf("video: %d frames, %zu camera records, information: %s\n", d.video.nombre_images,
                d.cameras ? d.cameras->size() - 1 : 0, d.informations[0].empty() ? "none" : d.informations[0].c_str());
}

// A 200-frame circle path of radius 110 around the terrain's centre, looking
// 20 degrees down at the centre, frames 1..derniere to be made; the camera
// rises by `pas` metres over the first half of the circle from `altitude`
// and comes back down.
void cercle_200_images(document_lu& d, std::int32_t derniere, std::int32_t altitude, std::int32_t pas) {
  Param_video& v = d.video;
  v.vue = d.vue;
  v.nombre_images = 200;
  v.type_video = 2;
  v.type_trajectoire = 1;
  v.largeur_image = 320;
  v.hauteur_image = 240;
  v.rayon_cercle = 110;
  v.centre_cercle_x = v.centre_cercle_y = 0;
  v.angle_vision = -20;
  v.point_vise_fixe = 1;
  v.point_vise_x = v.point_vise_y = 0;
  v.premiere_image = 1;
  v.derniere_image = derniere;
  v.bezier_altitude = {altitude, altitude + pas, altitude + 2 * pas, altitude + 3 * pas, altitude + 2 * pas,
                       altitude + pas, altitude};
  for (std::size_t k = 0; k < 13; ++k) v.bezier_x[k] = v.bezier_y[k] = k < 7 ? 0 : -1;
  std::vector<enregistrement_camera> table;
  DessinTrajectoire dessin;
  EditeurAltitude altitudes{300, 100, 0, 0};
  if (!calcule_trajectoire(v, *d.terrain, altitudes, false, table, dessin)) throw ErreurDocument("no path");
  d.cameras = table;
}

// The sample valley: the program's own generation, tree placement and Valley
// tool, so that the samples open as a user's documents would.
document_lu vallee(const std::string& ini, std::int32_t cle) {
  etat_documents e;
  const Echec r = Lire_options(e, ini);
  if (!r.empty()) throw ErreurDocument(r);
  document_lu d;
  d.parametres = e.parametres;
  d.parametres.maillage = 7;
  d.parametres.cle = cle;
  d.parametres.texte = {};
  d.parametres.texte[0] = "A valley with a river and a forest, grown from key " + std::to_string(cle) + ".";
  for (std::size_t k = 0; k < d.parametres.couches.size(); ++k)
    d.parametres.couches[k] = {.annulee = 0, .nombre = k == 0 ? 40 : 12, .pente_mini = 0, .pente_maxi = 45,
                               .niveau_mini = 50, .niveau_maxi = 1800, .transition = 300, .groupes = k == 0};
  d.terrain = std::make_unique<Tmatrice>(d.parametres);
  Tmatrice& t = *d.terrain;
  bool continuer = true;
  t.generer_montagne(nullptr, 0, continuer, false);
  t.creer_arbres(d.parametres.couches, nullptr, 0);
  // The river springs from the highest inner node.
  std::int32_t si = 2, sj = 2, haut = -100000;
  for (std::int32_t i = 2; i < t.n - 1; ++i)
    for (std::int32_t j = 2; j < t.n - i; ++j)
      if (t.lire_trace(i, j) > haut) haut = t.lire_trace(i, j), si = i, sj = j;
  parametres_vallee v;
  v.largeur_vallee = 300;
  v.largeur_riviere = 30;
  v.altitude_initiale = 0;
  v.altitude_finale = -150;
  v.i0 = si;
  v.j0 = sj;
  controle_outil c;
  if (outil_vallee(t, v, c) != fin_vallee::reussie) throw ErreurDocument("the river could not be drawn");
  d.vue = e.vue;
  d.vue.foret = 1;
  d.largeur_image = 640;
  d.hauteur_image = 480;
  return d;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string commande = argv[1];
  try {
    if (commande == "check" && argc == 3) {
      GenreDocument genre;
      document_lu d = lire(argv[2], genre);
      resume(d, genre);
      return 0;
    }
    if (commande == "rewrite" && argc == 4) {
      GenreDocument genre;
      document_lu d = lire(argv[2], genre);
      const Echec e = ecrire_document(argv[3], texte_document(d, genre));
      if (!e.empty()) throw ErreurDocument(std::string(argv[3]) + ": " + e);
      return 0;
    }
    if (commande == "tour" && argc == 4) {
      GenreDocument genre;
      document_lu d = lire(argv[2], genre);
      cercle_200_images(d, 20, 2600, 100);
      d.video.zoom_video = 10;
      d.informations = {};
      const Echec e = ecrire_document(argv[3], texte_document(d, GenreDocument::video));
      if (!e.empty()) throw ErreurDocument(std::string(argv[3]) + ": " + e);
      return 0;
    }
    if (commande == "valley" && argc == 5) {
      const std::string sortie = argv[4];
      const GenreDocument genre = genre_par_extension(sortie);
      if (genre == GenreDocument::aucun) throw ErreurDocument(sortie + ": the extension is not .mat, .vue or .vid");
      document_lu d = vallee(argv[2], std::stoi(argv[3]));
      if (genre == GenreDocument::video) {
        cercle_200_images(d, 200, 2600, 100);
        d.video.zoom_video = 10;  // the whole mountain in the frame all along the circle
      }
      const Echec e = ecrire_document(sortie, texte_document(d, genre));
      if (!e.empty()) throw ErreurDocument(sortie + ": " + e);
      return 0;
    }
    if (commande == "render" && (argc == 4 || argc == 5)) {
      GenreDocument genre;
      document_lu d = lire(argv[2], genre);
      if (genre == GenreDocument::montagne) throw ErreurDocument("a mountain document shows no picture");
      const render::Bitmap b = image_document(d, genre, argc == 5 ? std::stoi(argv[4]) : 1);
      if (!render::ecrire_bmp(argv[3], b)) throw ErreurDocument(std::string(argv[3]) + ": cannot be written");
      return 0;
    }
    if (commande == "ini" && argc == 4) {
      etat_documents e;
      Echec r = Lire_options(e, argv[2]);
      if (r.empty()) r = Sauve_options(e, argv[3]);
      if (!r.empty()) throw ErreurDocument(r);
      return 0;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 2;
  }
  return usage();
}
