// Safe writing: a failed write leaves the target as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

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

// A file may be written under every name the file system takes, up to its
// longest (255 bytes here): the work files beside it (the safe write's, the
// movie layer's) are named within that length, the name cut where a
// character starts. Nothing is left beside the files.
TEST(Fichiers, NamesAsLongAsTheFileSystemTakesAreWritten) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-noms-" + std::to_string(::getpid()));
  fs::remove_all(d);
  fs::create_directories(d);
  ASSERT_EQ(::pathconf(d.c_str(), _PC_NAME_MAX), 255) << "the lengths below are for names of at most 255 bytes";
  std::string accents;
  for (int k = 0; k < 127; ++k) accents += "\xC3\xA9";  // e acute
  for (const std::string& nom : {std::string(244, 'a') + ".mat", std::string(251, 'c') + ".vid", "x" + accents}) {
    SCOPED_TRACE(nom.size());
    const std::string cible = (d / nom).string(), copie = (d / ("z" + nom.substr(1))).string();
    ASSERT_TRUE(ecrire_fichier(cible, "text").empty());
    ASSERT_TRUE(copier_fichier(cible, copie).empty());
    EXPECT_EQ(lire_fichier(copie).value_or(""), "text");
    const std::optional<std::string> film = creer_provisoire(cible, ".part");
    ASSERT_TRUE(film);
    ASSERT_TRUE(remplacer_par(*film, cible).empty());
    EXPECT_EQ(lire_fichier(cible).value_or("x"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 2) << "work file left";
    fs::remove(cible);
    fs::remove(copie);
  }
  // Room for 250 bytes before ".part" takes "x" and 124 of the 127 two-byte
  // characters, not half of the 125th; a short name is taken whole.
  EXPECT_EQ(fs::path(nom_de_travail((d / ("x" + accents)).string(), "", ".part")).filename().string(),
            "x" + accents.substr(0, 2 * 124) + ".part");
  EXPECT_EQ(nom_de_travail("court.mat", ".", ".XXXXXX"), "./.court.mat.XXXXXX");
  fs::remove_all(d);
}

// Saving through a link replaces the file it points to, in that file's own
// folder, and the link stays; a link loop is refused.
TEST(Fichiers, WritesThroughLinksToTheirTargets) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-liens-" + std::to_string(::getpid()));
  fs::remove_all(d);
  fs::create_directories(d / "docs");
  fs::create_directories(d / "ailleurs");
  ASSERT_TRUE(ecrire_fichier((d / "ailleurs" / "vrai.mat").string(), "old").empty());
  fs::create_symlink("../ailleurs/vrai.mat", d / "docs" / "lien.mat");
  fs::create_symlink(d / "docs" / "lien.mat", d / "lien2.mat");  // a link to a link
  ASSERT_TRUE(ecrire_fichier((d / "lien2.mat").string(), "new").empty());
  EXPECT_TRUE(fs::is_symlink(d / "lien2.mat"));
  EXPECT_TRUE(fs::is_symlink(d / "docs" / "lien.mat"));
  EXPECT_EQ(lire_fichier((d / "ailleurs" / "vrai.mat").string()).value_or(""), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(d / "docs"), fs::directory_iterator()), 1) << "no temporary left";
  // A link whose target does not exist yet: the target is made.
  fs::create_symlink("nouveau.mat", d / "pendant.mat");
  ASSERT_TRUE(ecrire_fichier((d / "pendant.mat").string(), "made").empty());
  EXPECT_TRUE(fs::is_symlink(d / "pendant.mat"));
  EXPECT_EQ(lire_fichier((d / "nouveau.mat").string()).value_or(""), "made");
  fs::create_symlink("boucle2", d / "boucle1");
  fs::create_symlink("boucle1", d / "boucle2");
  EXPECT_FALSE(ecrire_fichier((d / "boucle1").string(), "x").empty());
  EXPECT_TRUE(fs::is_symlink(d / "boucle1"));
  fs::remove_all(d);
}

// A write-protected file in a writable folder is refused and left as it was;
// so is a copy over it.
TEST(Fichiers, WriteProtectedFilesAreRefused) {
  const fs::path d = fs::temp_directory_path() / ("quorvel-protege-" + std::to_string(::getpid()));
  fs::remove_all(d);
  fs::create_directories(d);
  const std::string cible = (d / "doc.mat").string();
  ASSERT_TRUE(ecrire_fichier(cible, "old").empty());
  fs::permissions(cible, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const Echec e = ecrire_fichier(cible, "new");
  EXPECT_EQ(e, "it is write-protected");
  EXPECT_EQ(lire_fichier(cible).value_or(""), "old");
  EXPECT_FALSE(copier_fichier(cible, cible).empty());
  EXPECT_EQ(std::distance(fs::directory_iterator(d), fs::directory_iterator()), 1) << "no temporary left";
  // Through a link, the target's protection counts.
  fs::create_symlink("doc.mat", d / "lien.mat");
  EXPECT_EQ(ecrire_fichier((d / "lien.mat").string(), "new"), "it is write-protected");
  fs::permissions(cible, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(ecrire_fichier((d / "lien.mat").string(), "new").empty());
  EXPECT_EQ(lire_fichier(cible).value_or(""), "new");
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
