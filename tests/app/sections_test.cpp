// Parameter sections: key tables, defaults, special keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "app/sections.h"
#include "tests/app/comparaison_records.h"

namespace {

std::string lire_donnee(const std::string& nom) {
  std::ifstream f(std::filesystem::path(QUORVEL_SOURCE_DIR) / "tests" / "data" / nom, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

std::vector<std::string> lignes(const std::string& octets) {
  Entree f(octets);
  std::vector<std::string> r;
  while (auto l = f.ligne()) r.emplace_back(*l);
  return r;
}

std::string joindre(const std::vector<std::string>& l) {
  Sortie s;
  for (const auto& x : l) s.ligne(x);
  return s.octets();
}

// Gives every key line of a section text a random value of its kind.
std::string valeurs_au_hasard(const std::string& octets, std::uint32_t graine) {
  std::mt19937 g(graine);
  std::vector<std::string> l = lignes(octets);
  for (std::string& x : l) {
    if (x.size() == 32 && x[20] == ' ') {
      std::int32_t v = static_cast<std::int32_t>(g() % 200001) - 100000;
      if (x.starts_with("Distance observat.")) v = static_cast<std::int32_t>(g() % 25001);
      if (x.starts_with("Type ciel")) v = 2;  // kind 1: no sky line to add
      x = ligne_cle(x.substr(0, 20), v, false, GenreCle::entier);
    } else if (x.size() == 23 && (x.ends_with("Oui") || x.ends_with("Non"))) {
      x = ligne_cle(x.substr(0, 20), 0, g() % 2 == 0, GenreCle::drapeau);
    } else if (x.size() == 37) {
      x = ligne_cle_couleur(x.substr(0, 20), g() & 0xFF, g() & 0xFF, g() & 0xFF);
    }
  }
  return joindre(l);
}

TEST(Sections, DefaultRecordsWriteTheGoldenFiles) {
  Sortie m, v, w;
  ecrire_param_matrice(m, param_mat_defaut());
  ecrire_param_vue(v, param_vue_defaut());
  ecrire_param_video(w, param_video_defaut());
  EXPECT_EQ(m.octets(), lire_donnee("section_matrice_defaut.txt"));
  EXPECT_EQ(v.octets(), lire_donnee("section_vue_defaut.txt"));
  EXPECT_EQ(w.octets(), lire_donnee("section_video_defaut.txt"));
  EXPECT_EQ(lignes(m.octets()).size(), 62u);
  EXPECT_EQ(lignes(v.octets()).size(), 1u + 145 + 10 + 2);
  EXPECT_EQ(lignes(w.octets()).size(), 1u + 50 + 2);
}

TEST(Sections, EmptySectionsReadTheDefaults) {
  param_mat m;
  param_vue v;
  Param_video w;
  lire_param_matrice(table_section{}, m);
  lire_param_vue(table_section{}, v);
  lire_param_video(table_section{}, w);
  comparer_section_matrice(m, param_mat_defaut());
  comparer_vue(v, param_vue_defaut());
  comparer_section_video(w, param_video_defaut());
  EXPECT_EQ(m.couches[2].transition, 725);
  EXPECT_EQ(v.distance, 50.0);
  EXPECT_EQ(w.bezier_x[12], -1);
}

TEST(Sections, RandomValuesRoundTrip) {
  for (std::uint32_t graine = 1; graine <= 5; ++graine) {
    SCOPED_TRACE(graine);
    const std::string m0 = valeurs_au_hasard(lire_donnee("section_matrice_defaut.txt"), graine);
    const std::string v0 = valeurs_au_hasard(lire_donnee("section_vue_defaut.txt"), graine);
    const std::string w0 = valeurs_au_hasard(lire_donnee("section_video_defaut.txt"), graine);
    param_mat m;
    param_vue v;
    Param_video w;
    Entree fm(m0), fv(v0), fw(w0);
    ASSERT_EQ(*fm.ligne(), TETE_PARAMETRES_MATRICE);
    ASSERT_EQ(*fv.ligne(), TETE_PARAMETRES_VUE);
    lire_param_matrice(fm, m);
    lire_param_vue(fv, v);
    lire_param_video(fw, w);  // the video loader keeps its own head
    Sortie sm, sv, sw;
    ecrire_param_matrice(sm, m);
    ecrire_param_vue(sv, v);
    ecrire_param_video(sw, w);
    EXPECT_EQ(sm.octets(), m0);
    EXPECT_EQ(sv.octets(), v0);
    EXPECT_EQ(sw.octets(), w0);
    // Read(Write(r)) == r, and the lines may come in any order.
    std::vector<std::string> lv = lignes(sv.octets());
    std::mt19937 g(graine);
    std::shuffle(lv.begin() + 1, lv.end() - 2, g);
    param_vue v2;
    Entree f2(joindre(lv));
    f2.ligne();
    lire_param_vue(f2, v2);
    comparer_vue(v2, v);
    std::vector<std::string> lm = lignes(sm.octets());
    std::shuffle(lm.begin() + 1, lm.end(), g);
    param_mat m2;
    lire_param_matrice(table_section{lm}, m2);
    comparer_section_matrice(m2, m);
  }
}

TEST(Sections, MountainSpecialKeys) {
  param_mat p;
  lire_param_matrice(table_section{{"C3: niveau mini    =         500"}}, p);
  EXPECT_EQ(p.couches[2].niveau_maxi, 3000);
  EXPECT_EQ(p.couches[2].transition, 625);
  // Half to even: |1102 - 100| x 0.25 = 250.5 gives 250.
  lire_param_matrice(table_section{{"C1: niveau maxi    =        1102"}}, p);
  EXPECT_EQ(p.couches[0].transition, 250);
  // Comments: the block only when line 1 is set; the count stops at the first empty line.
  param_mat c = param_mat_defaut();
  c.texte[0] = "first";
  c.texte[1] = "second \xE9t\xE9";
  c.texte[3] = "after a gap";
  Sortie s;
  ecrire_param_matrice(s, c);
  auto l = lignes(s.octets());
  EXPECT_EQ(l[0], TETE_TEXTE);
  EXPECT_EQ(l[1], "2");
  EXPECT_EQ(l[3], "second \xE9t\xE9");
  EXPECT_EQ(l[4], TETE_PARAMETRES_MATRICE);
  Sortie sans;
  ecrire_param_matrice(sans, c, false);
  EXPECT_EQ(lignes(sans.octets())[0], TETE_PARAMETRES_MATRICE);
  EXPECT_EQ(c.texte[0], "first");
  // Comments, key and points are not part of the section.
  param_mat q;
  q.texte[0] = "kept";
  q.cle = 42;
  q.cible = {0.5, 0.25};
  lire_param_matrice(table_section{}, q);
  EXPECT_EQ(q.texte[0], "kept");
  EXPECT_EQ(q.cle, 42);
  EXPECT_EQ(q.cible[1], 0.25);
}

TEST(Sections, ViewSpecialKeys) {
  auto lire = [](std::vector<std::string> l) {
    param_vue v;
    lire_param_vue(table_section{std::move(l)}, v);
    return v;
  };
  EXPECT_EQ(lire({"Distance observat. =       40000"}).distance, 50.0);
  EXPECT_DOUBLE_EQ(lire({"Distance observat. =         123"}).distance, 0.246);
  param_vue d = param_vue_defaut();
  d.distance = 0.246;
  Sortie s;
  ecrire_param_vue(s, d);
  EXPECT_NE(s.octets().find("Distance observat. =         123\r\n"), std::string::npos);
  for (auto [valeur, genre] : {std::pair{"1", 0}, {"2", 1}, {"3", 2}, {"4", 0}, {"0", 0}, {"-1", 0}}) {
    EXPECT_EQ(lire({std::string("Type ciel (1,2,3)  =   ") + valeur}).type_ciel, genre) << valeur;
  }
  // Colours are read even when the default-colours flag is missing.
  param_vue c = lire({"Couleur Ciel       =      1    2    3"});
  EXPECT_TRUE(c.couleurs_defaut);
  EXPECT_EQ(c.couleurs[8], (Rgb{1, 2, 3}));
  // A long Linux sky path survives; drive-letter paths are read unchanged.
  for (std::string chemin : {std::string("/home/user/") + std::string(139, 'c'), std::string("C:\\ciels\\nuit.bmp")}) {
    param_vue v = param_vue_defaut();
    v.type_ciel = 2;
    v.fichier_ciel = chemin;
    Sortie w;
    ecrire_param_vue(w, v);
    auto l = lignes(w.octets());
    auto pos = std::find(l.begin(), l.end(), "Type ciel (1,2,3)  =           3");
    ASSERT_NE(pos, l.end());
    EXPECT_EQ(*(pos + 1), "Fichier ciel       =>" + chemin);
    Entree f(w.octets());
    f.ligne();
    param_vue r;
    lire_param_vue(f, r);
    EXPECT_EQ(r.fichier_ciel, chemin);
    comparer_vue(r, v);
  }
  param_vue sans = lire({"Type ciel (1,2,3)  =           2", "Fichier ciel       =>/tmp/x.bmp"});
  EXPECT_EQ(sans.fichier_ciel, "") << "the path only goes with the picture sky";
  EXPECT_EQ(lire({"Type ciel (1,2,3)  =           3"}).fichier_ciel, "");
}

TEST(Sections, VideoPathPoints) {
  Param_video w = param_video_defaut();
  for (std::size_t k = 0; k < 13; ++k) {
    w.bezier_x[k] = static_cast<std::int32_t>(100 + k);
    w.bezier_y[k] = static_cast<std::int32_t>(200 + k);
  }
  Sortie s;
  ecrire_param_video(s, w);
  auto l = lignes(s.octets());
  EXPECT_EQ(l[39], "bezier traj  X  8  =         107");
  EXPECT_EQ(l[45], "bezier traj  Y  8  =         207");
  EXPECT_EQ(l[50], "bezier traj  Y 13  =         212");
  Entree f(s.octets());
  Param_video r;
  lire_param_video(f, r);
  comparer_section_video(r, w);
  // An old section of 38 keys: the later points are not used.
  std::vector<std::string> vieux(l.begin(), l.begin() + 39);
  vieux.push_back("Fin                =");
  vieux.push_back("--------------------");
  Entree g(joindre(vieux));
  Param_video o;
  lire_param_video(g, o);
  EXPECT_EQ(o.bezier_x[6], 106);
  for (std::size_t k = 7; k < 13; ++k) {
    EXPECT_EQ(o.bezier_x[k], -1);
    EXPECT_EQ(o.bezier_y[k], -1);
  }
  // The view part is left alone.
  Param_video v;
  v.vue.zoom = 33;
  Entree h(s.octets());
  lire_param_video(h, v);
  EXPECT_EQ(v.vue.zoom, 33);
}

}  // namespace
