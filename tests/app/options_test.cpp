// The options file: starting file, recent list, sections, rewriting.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/options.h"
#include "app/sections.h"
#include "tests/app/comparaison_records.h"

namespace fs = std::filesystem;

namespace {

std::string donnee(const std::string& nom) { return (fs::path(QUORVEL_SOURCE_DIR) / "tests" / "data" / nom).string(); }

std::string contenu(const std::string& chemin) { return lire_fichier(chemin).value_or("<missing>"); }

void toucher(const std::string& chemin) {
  fs::create_directories(fs::path(chemin).parent_path());
  std::ofstream(chemin) << "x";
}

// The files that tests/data/sample.ini names.
void creer_fichiers_echantillon() {
  toucher("/tmp/quorvel-sample/depart.vue");
  for (int k = 1; k <= 10; ++k) {
    char nom[64];
    std::snprintf(nom, sizeof nom, "/tmp/quorvel-sample/recent%02d.mat", k);
    toucher(nom);
  }
}

class Options : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() / ("quorvel-options-" + std::to_string(::getpid()));
    fs::create_directories(dossier_);
  }
  void TearDown() override { fs::remove_all(dossier_); }
  std::string chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
  fs::path dossier_;
};

TEST_F(Options, StartingFileAndRecentListKeepOnlyExistingFiles) {
  std::string texte = "22222\r\n" + chemin("depart.mat") + "\r\n";
  for (int k = 1; k <= 11; ++k) {
    const std::string p = chemin("r" + std::to_string(k) + ".mat");
    if (k != 3) toucher(p);  // entry 3 is missing
    texte += ">" + p + "\r\n";
  }
  toucher(chemin("depart.mat"));
  texte += contenu(donnee("sample_ancien.ini")).substr(7);  // its sections
  ASSERT_TRUE(ecrire_fichier(chemin("a.ini"), texte).empty());
  etat_documents e;
  ASSERT_TRUE(Lire_options(e, chemin("a.ini")).empty());
  EXPECT_EQ(e.fichier_courant, chemin("depart.mat"));
  EXPECT_TRUE(e.demarrer_sur_fichier);
  ASSERT_EQ(e.recents.size(), 10u);
  EXPECT_EQ(e.recents[1], chemin("r2.mat"));
  EXPECT_EQ(e.recents[2], chemin("r4.mat"));
  EXPECT_EQ(e.recents[9], chemin("r11.mat"));
  EXPECT_EQ(e.parametres.relief, 63);
  EXPECT_EQ(e.vue.niveau_mer, -804);
  EXPECT_EQ(e.video.nombre_images, 480);

  // A missing starting file is dropped; outside start-up the list stays.
  fs::remove(chemin("depart.mat"));
  e.demarrage = false;
  ASSERT_TRUE(Lire_options(e, chemin("a.ini")).empty());
  EXPECT_EQ(e.fichier_courant, "");
  EXPECT_FALSE(e.demarrer_sur_fichier);
  EXPECT_EQ(e.recents.size(), 10u);
}

TEST_F(Options, SectionsAndTheirLoaderStops) {
  etat_documents e;
  e.parametres.texte[0] = "old comment";
  ASSERT_TRUE(Lire_options(e, donnee("sample_ancien.ini")).empty());
  EXPECT_TRUE(e.recents.empty());
  EXPECT_EQ(e.fichier_courant, "");
  EXPECT_EQ(e.parametres.relief, 63);
  EXPECT_TRUE(e.parametres.iles);
  EXPECT_EQ(e.parametres.couches[2].niveau_mini, 500);
  EXPECT_EQ(e.parametres.texte[0], "");
  EXPECT_EQ(e.parametres.cible, (std::array<double, 2>{0.333, 0.333}));
  EXPECT_EQ(e.parametres.observateur, (std::array<double, 2>{0.1, 0.1}));
  EXPECT_EQ(e.parametres.alea, 0);
  EXPECT_DOUBLE_EQ(e.vue.distance, 0.246);
  EXPECT_EQ(e.vue.couleurs[8], (Rgb{1, 2, 3}));
  EXPECT_EQ(e.video.nombre_images, 480);
  EXPECT_EQ(e.video.bezier_x[9], -1);

  // The mountain loader takes the view head with it; the video loader starts on its own head.
  Entree f(contenu(donnee("sample_ancien.ini")));
  f.chercher(TETE_PARAMETRES_MATRICE);
  auto m = charger_section(f, GenreSection::matrice);
  EXPECT_EQ(m.lignes.back(), TETE_PARAMETRES_VUE);
  EXPECT_EQ(m.lignes.size(), 62u);
  auto v = charger_section(f, GenreSection::vue);
  EXPECT_EQ(v.lignes.front(), "Angle vertical     =          12");
  EXPECT_EQ(v.lignes.back(), LIGNE_TIRETS);
  auto w = charger_section(f, GenreSection::video);
  EXPECT_EQ(w.lignes.front(), TETE_PARAMETRES_VIDEO);
  EXPECT_TRUE(f.fin());
}

TEST_F(Options, FilesWithoutHeadsGiveDefaults) {
  ASSERT_TRUE(ecrire_fichier(chemin("vide.ini"), "22222\r\nnothing here\r\n>" + chemin("x") + "\r\n").empty());
  etat_documents e;
  e.vue.zoom = 77;
  ASSERT_TRUE(Lire_options(e, chemin("vide.ini")).empty());
  comparer_section_matrice(e.parametres, param_mat_defaut());
  comparer_vue(e.vue, param_vue_defaut());
  comparer_section_video(e.video, param_video_defaut());
  EXPECT_TRUE(e.recents.empty());
  // A missing file changes nothing and says why.
  EXPECT_FALSE(Lire_options(e, chemin("absent.ini")).empty());
  EXPECT_EQ(e.vue.zoom, 10);
}

TEST_F(Options, RewritingIsByteIdentical) {
  creer_fichiers_echantillon();
  etat_documents e;
  ASSERT_TRUE(Lire_options(e, donnee("sample.ini")).empty());
  e.parametres.texte[0] = "a comment in memory";
  ASSERT_TRUE(Sauve_options(e, chemin("out.ini")).empty());
  EXPECT_EQ(contenu(chemin("out.ini")), contenu(donnee("sample.ini")));
  EXPECT_EQ(e.parametres.texte[0], "a comment in memory");

  // An old file gains exactly the keys of path points 8..13.
  etat_documents o;
  ASSERT_TRUE(Lire_options(o, donnee("sample_ancien.ini")).empty());
  const std::string ancien = contenu(donnee("sample_ancien.ini"));
  const std::string nouveau = texte_options(o);
  const std::string ajout =
      "bezier traj  X  8  =          -1\r\nbezier traj  X  9  =          -1\r\nbezier traj  X 10  =          -1\r\n"
      "bezier traj  X 11  =          -1\r\nbezier traj  X 12  =          -1\r\nbezier traj  X 13  =          -1\r\n"
      "bezier traj  Y  8  =          -1\r\nbezier traj  Y  9  =          -1\r\nbezier traj  Y 10  =          -1\r\n"
      "bezier traj  Y 11  =          -1\r\nbezier traj  Y 12  =          -1\r\nbezier traj  Y 13  =          -1\r\n";
  const auto pos = ancien.find("Fin                =\r\n--------------------\r\n",
                               ancien.find(std::string(TETE_PARAMETRES_VIDEO)));
  ASSERT_NE(pos, std::string::npos);
  EXPECT_EQ(nouveau, ancien.substr(0, pos) + ajout + ancien.substr(pos));
}

TEST_F(Options, ShippedFileIsTheDefaultWriterOutput) {
  etat_documents e;
  e.parametres = param_mat_defaut();
  e.vue = param_vue_defaut();
  e.video = param_video_defaut();
  const std::string attendu = texte_options(e);
  EXPECT_EQ(contenu((fs::path(QUORVEL_SOURCE_DIR) / "app" / "data" / "montagne.ini").string()), attendu);
  EXPECT_EQ(contenu((fs::path(QUORVEL_PROGRAM_DIR) / "montagne.ini").string()), attendu);
  EXPECT_EQ(contenu(donnee("montagne_defaut.ini")), attendu);
}

TEST(RecentList, NewNamesGoFirstAndTheTenthDrops) {
  etat_documents e;
  for (int k = 1; k <= 10; ++k) {
    e.fichier_courant = "/d/" + std::to_string(k);
    EXPECT_TRUE(maj_fichiers_recents(e));
  }
  e.fichier_courant = "/d/5";
  EXPECT_FALSE(maj_fichiers_recents(e)) << "a name already listed changes nothing";
  EXPECT_EQ(e.recents[0], "/d/10");
  e.fichier_courant = "/d/11";
  EXPECT_TRUE(maj_fichiers_recents(e));
  ASSERT_EQ(e.recents.size(), 10u);
  EXPECT_EQ(e.recents[0], "/d/11");
  EXPECT_EQ(e.recents[9], "/d/2");
}

}  // namespace
