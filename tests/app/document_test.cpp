// Documents: round trips through the writer and reader, damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <tuple>
#include <random>

#include "app/document.h"
#include "platform/fichiers.h"
#include "app/sections.h"
#include "tests/app/comparaison_records.h"

namespace fs = std::filesystem;

namespace {

std::string echantillon(const std::string& nom) {
  return lire_fichier((fs::path(QUORVEL_SOURCE_DIR) / "tests" / "data" / nom).string()).value();
}

std::string remplacer(std::string s, const std::string& de, const std::string& par) {
  const auto p = s.find(de);
  EXPECT_NE(p, std::string::npos) << de;
  if (p != std::string::npos) s.replace(p, de.size(), par);
  return s;
}

document_lu lire(const std::string& octets, GenreDocument g = GenreDocument::montagne) {
  return lire_document(octets, "/d/test.mat", g);
}

// The message of the refusal, or "" when the document was read.
std::string refus(const std::string& octets, GenreDocument g = GenreDocument::montagne) {
  try {
    lire(octets, g);
  } catch (const ErreurDocument& e) {
    return e.what();
  }
  return "";
}

// A degree-5 terrain with every layer and a list with a deleted entry.
std::unique_ptr<Tmatrice> terrain_complet(param_mat& p) {
  p = param_mat_defaut();
  p.maillage = 5;
  p.deformation = 1;
  p.photo_aerienne = 1;
  p.cle = -17;
  p.cible = {0.4, 0.3};
  p.observateur = {0.05, 0.2};
  p.texte[0] = "ligne \xE9t\xE9";
  auto t = std::make_unique<Tmatrice>(p);
  std::mt19937 g(5);
  for (std::int32_t i = 1; i <= t->n; ++i)
    for (std::int32_t j = 1; i + j <= t->n + 1; ++j) {
      t->hauteurs->ecrire(i, j, static_cast<std::int32_t>(g() % 6001) - 2000);
      t->dx->ecrire(i, j, static_cast<std::uint8_t>(g()));
      t->dy->ecrire(i, j, static_cast<std::uint8_t>(g()));
      t->photo->ecrire(i, j, g() & 0xFFFFFFu);
    }
  const std::uint16_t liste[][4] = {{3, 4, 1, 1}, {5, 5, 0, 0}, {6, 7, 12, 40}, {9, 9, 33, 4}};
  for (const auto& e : liste) {
    const auto k = static_cast<std::size_t>(t->nombre_elements++);
    t->liste_i[k] = e[0];
    t->liste_j[k] = e[1];
    t->liste_type[k] = e[2];
    t->liste_attribut[k] = e[3];
  }
  return t;
}

TEST(Document, OpenOfSaveGivesTheDocumentBack) {
  document_lu d;
  d.terrain = terrain_complet(d.parametres);
  d.vue = param_vue_defaut();
  d.vue.zoom = 42;
  d.largeur_image = 800;
  d.hauteur_image = 450;
  d.video = param_video_defaut();
  d.video.nombre_images = 250;
  d.video.bezier_y[12] = 99;
  d.cameras.emplace(1);
  for (int k = 0; k < 250; ++k) d.cameras->push_back({k * 1.23456, -k * 0.5, 100.0 + k, 0.333, 0.25, 512.0});
  d.informations[0] = "File Name = x.avi";
  d.informations[10] = "Number of bits par pixel = 24";
  const Tmatrice& t = *d.terrain;
  const std::string octets = texte_document(d, GenreDocument::video);
  document_lu r = lire(octets, GenreDocument::video);

  comparer_matrice(r.parametres, d.parametres);
  comparer_vue(r.vue, d.vue);
  comparer_section_video(r.video, d.video);
  EXPECT_EQ(r.largeur_image, 800);
  EXPECT_EQ(r.hauteur_image, 450);
  const Tmatrice& u = *r.terrain;
  ASSERT_EQ(u.n, t.n);
  ASSERT_TRUE(u.dx && u.dy && u.photo);
  for (std::int32_t i = 1; i <= t.n; ++i)
    for (std::int32_t j = 1; i + j <= t.n + 1; ++j) {
      ASSERT_EQ(u.hauteurs->lire(i, j), t.hauteurs->lire(i, j));
      ASSERT_EQ(u.dx->lire(i, j), t.dx->lire(i, j));
      ASSERT_EQ(u.dy->lire(i, j), t.dy->lire(i, j));
      ASSERT_EQ(u.photo->lire(i, j), t.photo->lire(i, j));
    }
  ASSERT_EQ(u.nombre_elements, 3) << "the deleted entry is not written";
  EXPECT_EQ(u.liste_type[1], 12);
  EXPECT_EQ(u.liste_attribut[2], 4);
  EXPECT_EQ(u.especes_presentes[2], 1);
  ASSERT_EQ(r.cameras->size(), 251u) << "frames 1..250 at their own index";
  EXPECT_NEAR((*r.cameras)[250].observateur_x, 249 * 1.23456, 0.00005);
  EXPECT_EQ((*r.cameras)[101].observateur_z, 200.0);
  EXPECT_EQ(r.informations, d.informations);
  EXPECT_EQ(r.video.vue.zoom, 42) << "the video renders the document's view";
}

// Every real the writer writes reads back, at the ends of the range too: the
// point fractions and the six numbers of every camera record. The largest
// doubles, which 15 digits would round up past the largest double, are
// written rounded toward zero; the smallest keep their value (a camera record
// keeps 4 decimals); the written document reads again and is written the
// same. A number an earlier writer rounded up so reads as the largest double.
TEST(Document, RealsAtTheEndsOfTheRangeReadBack) {
  constexpr double grand = std::numeric_limits<double>::max();
  constexpr double minuscule = std::numeric_limits<double>::denorm_min();
  constexpr double normal = std::numeric_limits<double>::min();
  const double arrondi = 1.79769313486231e308;  // the largest 15-digit number below the largest double
  for (double x : {grand, -grand, 1.797693134862315e308, arrondi, minuscule, -minuscule, normal, -normal, -0.0}) {
    SCOPED_TRACE(x);
    document_lu d;
    d.terrain = terrain_complet(d.parametres);
    d.terrain->cible.x = d.terrain->observateur.y = x;
    d.terrain->cible.y = d.terrain->observateur.x = -x;
    d.video = param_video_defaut();
    d.video.nombre_images = 200;
    d.cameras.emplace(201, enregistrement_camera{x, -x, x, -x, x, -x});
    const std::string octets = texte_document(d, GenreDocument::video);
    document_lu r;
    ASSERT_NO_THROW(r = lire(octets, GenreDocument::video));
    const double ecrit = std::fabs(x) > arrondi ? std::copysign(arrondi, x) : x;
    EXPECT_NEAR(r.parametres.cible[0], ecrit, std::fabs(ecrit) * 1e-14);
    EXPECT_EQ(std::signbit(r.parametres.cible[0]), std::signbit(x));
    EXPECT_EQ(r.parametres.cible[1], -r.parametres.cible[0]);
    EXPECT_EQ(std::tie(r.parametres.observateur[0], r.parametres.observateur[1]),
              std::tie(r.parametres.cible[1], r.parametres.cible[0]));
    const enregistrement_camera& c = r.cameras->back();
    const double fixe = std::fabs(ecrit) < 1 ? 0.0 : ecrit;
    EXPECT_EQ(std::tie(c.observateur_x, c.observateur_z, c.cible_y), std::tie(fixe, fixe, fixe));
    EXPECT_EQ(std::tie(c.observateur_y, c.cible_x, c.cible_z), std::tuple(-fixe, -fixe, -fixe));
    EXPECT_EQ(texte_document(r, GenreDocument::video), octets);
  }
  EXPECT_EQ(texte_reel(-grand), "-1.79769313486231E+0308");
  EXPECT_EQ(texte_reel(minuscule), " 4.94065645841247E-0324");

  // Written by an earlier writer: the largest double, in a fraction and in a
  // camera record; a number further out is still refused.
  const std::string plat = echantillon("plat.mat"), fraction = " 3.33000000000000E-0001";
  EXPECT_EQ(lire(remplacer(plat, fraction, " 1.79769313486232E+0308")).parametres.cible[0], grand);
  const std::string film = remplacer(echantillon("hauteurs_aleatoires.vid"), "1234.5000", "-1.79769313486232E+0308");
  EXPECT_EQ(lire(film, GenreDocument::video).cameras->at(1).observateur_x, -grand);
  for (const char* loin : {"1.797693134862321e308", "1e309", "1e-400"}) EXPECT_FALSE(convertir_reel(loin)) << loin;
  EXPECT_EQ(refus(remplacer(plat, fraction, " 1.8E+0308")),
            "/d/test.mat is damaged (line 65): a point fraction is not a number");
}

TEST(Document, WriterBringsTheSectionInLineWithTheTerrain) {
  param_mat p;
  auto t = terrain_complet(p);
  p.maillage = 9;
  p.deformation = 0;
  t->photo_enregistree = 0;
  Sortie f;
  ecrire_montagne(f, p, *t);
  EXPECT_EQ(p.maillage, 5);
  EXPECT_EQ(p.deformation, 1);
  EXPECT_EQ(p.photo_aerienne, 0);
  EXPECT_EQ(f.octets().find("[PHOTO]"), std::string::npos);
  document_lu r = lire(f.octets());
  EXPECT_FALSE(r.terrain->photo_presente);
  EXPECT_EQ(r.parametres.cible[0], 0.4);
}

TEST(Document, TheBodyDecidesSizeAndLayers) {
  const std::string plat = echantillon("plat.mat");
  // The section says 9; the body has 17 rows.
  document_lu a = lire(remplacer(plat, "Maillage           =           4", "Maillage           =           9"));
  EXPECT_EQ(a.parametres.maillage, 4);
  EXPECT_EQ(a.terrain->n, 17);
  // Distortion maps present although the section says no.
  std::string cartes = "[HORIZONTAL]\r\n";
  for (int r = 1; r <= 17; ++r) {
    for (int c = 1; c <= 18 - r; ++c) cartes += "05FF";
    cartes += "\r\n";
  }
  document_lu b = lire(remplacer(plat, "[Sol]\r\n", cartes + "[Sol]\r\n"));
  EXPECT_TRUE(b.terrain->deformation);
  EXPECT_TRUE(b.parametres.deformation);
  EXPECT_EQ(b.terrain->dx->lire(1, 1), 5);
  EXPECT_EQ(b.terrain->dy->lire(17, 1), 255);
  // Announced but absent: maps at 128, and the list is still read.
  std::string oui = remplacer(plat, "Deformation (O, N) =Non", "Deformation (O, N) =Oui");
  oui = remplacer(oui, "[Sol]\r\n0\r\n", "[Sol]\r\n1\r\n2  3  14  20\r\n");
  document_lu c = lire(oui);
  ASSERT_TRUE(c.terrain->dx);
  EXPECT_EQ(c.terrain->dx->lire(2, 2), 128);
  EXPECT_EQ(c.terrain->nombre_elements, 1);
  // Announced colours that are absent are dropped.
  document_lu e = lire(remplacer(plat, "Photo aer.  (O, N) =Non", "Photo aer.  (O, N) =Oui"));
  EXPECT_FALSE(e.terrain->photo_presente);
  EXPECT_FALSE(e.parametres.photo_aerienne);
}

TEST(Document, DamagedFilesAreRefusedOrClamped) {
  const std::string plat = echantillon("plat.mat");
  const auto corps = plat.find("0 0 0");
  ASSERT_NE(corps, std::string::npos);
  const std::string tete = plat.substr(0, corps);
  auto rangee = [](int n, const std::string& v) {
    std::string s;
    for (int k = 0; k < n; ++k) s += v + " ";
    return s + "\r\n";
  };
  EXPECT_EQ(refus("hello\r\nworld\r\n"), "/d/test.mat is not a mountain document");
  EXPECT_EQ(refus(""), "/d/test.mat is not a mountain document");
  EXPECT_NE(refus(tete + rangee(4097, "0")).find("4097 nodes per side"), std::string::npos);
  EXPECT_NE(refus(tete + rangee(9, "0")).find("9 nodes per side"), std::string::npos);
  EXPECT_NE(refus(tete).find("heights are missing"), std::string::npos);
  EXPECT_NE(refus(tete + rangee(17, "0") + rangee(16, "0")).find("height row 3"), std::string::npos);
  EXPECT_NE(refus(tete + rangee(17, "0") + rangee(15, "0")).find("line 70"), std::string::npos)
      << "a short row names its line in the file: " << refus(tete + rangee(17, "0") + rangee(15, "0"));
  EXPECT_NE(refus(plat.substr(0, corps + 200)).find("height row"), std::string::npos) << "cut inside the heights";
  EXPECT_NE(refus(remplacer(plat, " [MATRICE]\r\n12345", " [MATRICE]\r\nabc")).find("generation key"),
            std::string::npos);
  EXPECT_NE(refus(plat.substr(0, plat.find(" [MATRICE]") + 12)).find("generation key is missing"),
            std::string::npos);

  std::string hexa = "[HORIZONTAL]\r\n";
  for (int r = 1; r <= 17; ++r) hexa += std::string(static_cast<std::size_t>(4 * (18 - r)), r == 9 ? 'g' : '0') + "\r\n";
  EXPECT_NE(refus(remplacer(plat, "[Sol]\r\n", hexa + "[Sol]\r\n")).find("hexadecimal"), std::string::npos);

  EXPECT_NE(refus(remplacer(plat, "[Sol]\r\n0\r\n", "[Sol]\r\n100000\r\n1  1  1  1\r\n2  2  1  2\r\n3  3  1  3\r\n")),
            "");
  document_lu loin = lire(remplacer(plat, "[Sol]\r\n0\r\n", "[Sol]\r\n2\r\n5000  1  1  1\r\n4  4  1  1\r\n"));
  EXPECT_EQ(loin.terrain->nombre_elements, 1);
  EXPECT_EQ(loin.terrain->liste_i[0], 4);

  std::string grand = remplacer(plat, "\r\n0 0 0 ", "\r\n2147483647 2147483647 0 ");
  document_lu g = lire(grand);
  EXPECT_EQ(g.terrain->hauteurs->lire(1, 1), 4000);
  EXPECT_EQ(g.terrain->hauteurs->lire(1, 2), 4000);

  // Comments: a count larger than the lines before the head.
  document_lu t = lire("  [TEXTE]\r\n50\r\none\r\ntwo\r\n" + plat);
  EXPECT_EQ(t.parametres.texte[0], "one");
  EXPECT_EQ(t.parametres.texte[1], "two");
  EXPECT_EQ(t.parametres.texte[2], "");
  EXPECT_EQ(lire("  [TEXTE]\r\n-4\r\n" + plat).parametres.texte[0], "");
}

TEST(Document, ViewAndVideoPartsFallBackToDefaults) {
  const std::string plat = echantillon("plat.mat");
  const std::string vue = plat + echantillon("section_vue_defaut.txt");
  for (const std::string& suite : {std::string(" [VUE]\r\n0\r\n60000\r\n"), std::string(" [VUE]\r\n  [PARAMETRES VIDEO]\r\n"),
                                   std::string(""), std::string(" [VUE]\r\n640\r\n")}) {
    document_lu d = lire(vue + suite, GenreDocument::vue);
    EXPECT_EQ(d.largeur_image, 320) << suite;
    EXPECT_EQ(d.hauteur_image, 240) << suite;
  }
  document_lu sans = lire(plat, GenreDocument::video);
  comparer_vue(sans.vue, param_vue_defaut());
  comparer_section_video(sans.video, param_video_defaut());
  EXPECT_FALSE(sans.cameras);

  // More frame lines than frames, and a frame count above 9999.
  std::string film = echantillon("hauteurs_aleatoires.vid");
  const auto info = film.find(" [INFORMATION]");
  std::string extra = film.substr(0, info) + "1 2 3 4 5 6\r\n" + film.substr(info);
  EXPECT_EQ(lire(extra, GenreDocument::video).cameras->size(), 201u);
  std::string beaucoup = remplacer(film, "Nombre images      =         200", "Nombre images      =       12000");
  document_lu b = lire(beaucoup, GenreDocument::video);
  EXPECT_EQ(b.video.nombre_images, 12000);
  EXPECT_EQ(b.cameras->size(), 201u) << "the information head ends the path";
  EXPECT_EQ(nombre_cameras(b.video), 9999);
  EXPECT_NE(refus(remplacer(film, "1234.5000", "1234,5000"), GenreDocument::video).find("camera record 1"),
            std::string::npos);
}

TEST(Document, KindByExtension) {
  EXPECT_EQ(genre_par_extension("/a/B.MAT"), GenreDocument::montagne);
  EXPECT_EQ(genre_par_extension("/a/b.vue"), GenreDocument::vue);
  EXPECT_EQ(genre_par_extension("/a/b.Vid"), GenreDocument::video);
  EXPECT_EQ(genre_par_extension("/a/b.bmp"), GenreDocument::aucun);
}

}  // namespace
