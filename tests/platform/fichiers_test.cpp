// Safe writing: a failed write leaves the target as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "platform/fichiers.h"

namespace fs = std::filesystem;

namespace {

TEST(Fichiers, FailedWriteLeavesTheTargetAndNoTemporary) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-fichiers-" + std::to_string(::getpid()));
  fs::create_directories(d);
  const std::string cible = (d / "doc.mat").string();
  ASSERT_TRUE(ecrire_fichier(cible, "old contents").empty());
  simuler_echec_ecriture(5);
  const Echec e = ecrire_fichier(cible, std::string(100000, 'n'));
  simuler_echec_ecriture(std::nullopt);
  EXPECT_FALSE(e.empty());
  EXPECT_EQ(lire_fichier(cible).value_or(""), "old contents");
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1) << "temporary file left";
  // Copies go the same way.
  ASSERT_TRUE(copier_fichier(cible, (d / "copie.avi").string()).empty());
  EXPECT_EQ(lire_fichier((d / "copie.avi").string()).value_or(""), "old contents");
  EXPECT_FALSE(copier_fichier((d / "absent").string(), (d / "x").string()).empty());
  EXPECT_FALSE(fichier_existe((d / "x").string()));
  // A folder that does not exist.
  EXPECT_FALSE(ecrire_fichier((d / "no" / "x.mat").string(), "x").empty());
  fs::remove_all(d);
}

TEST(Fichiers, NamesAndExtensions) {
  EXPECT_EQ(nom_sans_dossier("/a/b/vallee.vue"), "vallee.vue");
  EXPECT_EQ(changer_fin("/a/vallee.vue", "bmp"), "/a/vallee.bmp");
  EXPECT_EQ(changer_extension("/a.b/vallee.vue", ".mat"), "/a.b/vallee.mat");
  EXPECT_EQ(changer_extension("/a.b/vallee", ".mat"), "/a.b/vallee.mat");
  EXPECT_EQ(fin_majuscule("/a/x.Vid"), ".VID");
  EXPECT_EQ(fin_majuscule("x"), "X");
}

}  // namespace
