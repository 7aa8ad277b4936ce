// The qvimport tool: documents checked by qvdoc, the grid and heights dumps,
// refusals and wrong command lines.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "import_support.h"
#include "model/texte.h"

using namespace import_test;

namespace {

std::string programme(const std::string& nom) { return std::string(QUORVEL_PROGRAM_DIR) + "/" + nom; }

// Runs a command; its exit code, with standard output (and error) in `sortie`.
int lancer(const std::string& commande, std::string* sortie = nullptr) {
  std::FILE* p = ::popen((commande + " 2>&1").c_str(), "r");
  if (!p) return -1;
  char tampon[4096];
  std::string texte;
  for (std::size_t n; (n = std::fread(tampon, 1, sizeof tampon, p)) > 0;) texte.append(tampon, n);
  const int etat = ::pclose(p);
  if (sortie) *sortie = texte;
  return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

}  // namespace

TEST(QvImport, DocumentGridHeightsAndRefusals) {
  if (!fs::exists(programme("qvimport"))) GTEST_SKIP() << "qvimport is not built";
  Dossier d("qvimport");
  const std::string dem = fixture("g121.dem");
  std::string sortie;
  ASSERT_EQ(lancer(programme("qvimport") + " " + dem + " --degree 7 --smooth --out " + d.chemin("x.mat"), &sortie), 0)
      << sortie;
  ASSERT_EQ(lancer(programme("qvdoc") + " check " + d.chemin("x.mat"), &sortie), 0) << sortie;
  EXPECT_NE(sortie.find("degree 7"), std::string::npos) << sortie;
  EXPECT_NE(sortie.find("distortion no"), std::string::npos) << sortie;
  EXPECT_NE(sortie.find("colours no"), std::string::npos) << sortie;

  // The grid dump holds the decoded grid, row 0 first.
  Importation imp;
  ASSERT_EQ(imp.importer(dem, param_mat{}, nullptr, 0), "");
  ASSERT_EQ(lancer(programme("qvimport") + " " + dem + " --grid " + d.chemin("g.asc")), 0);
  model::TextReader grille(*lire_fichier(d.chemin("g.asc")));
  EXPECT_EQ(grille.read_line(), "ncols 121");
  EXPECT_EQ(grille.read_line(), "nrows 121");
  for (int k = 0; k < 3; ++k) grille.skip_line();
  std::vector<std::int32_t> lu;
  while (grille.more_on_line() || !grille.eof()) {
    if (!grille.more_on_line()) {
      grille.skip_line();
      continue;
    }
    lu.push_back(grille.read_int());
  }
  EXPECT_EQ(lu, imp.grille);

  ASSERT_EQ(lancer(programme("qvimport") + " " + dem + " --heights " + d.chemin("h.txt")), 0);
  model::TextReader hauteurs(*lire_fichier(d.chemin("h.txt")));
  EXPECT_EQ(hauteurs.read_line(), "121 121");
  EXPECT_EQ(hauteurs.line_count(), 122u);

  // Refused sources exit with 2 and say why; wrong command lines with 1.
  ASSERT_EQ(ecrire_fichier(d.chemin("court.txt"), grille_txt(250, 250, [](int, int) { return 1; })), "");
  EXPECT_EQ(lancer(programme("qvimport") + " " + d.chemin("court.txt") + " --out " + d.chemin("y.mat"), &sortie), 2);
  EXPECT_NE(sortie.find("at least 251 lines"), std::string::npos) << sortie;
  EXPECT_FALSE(fs::exists(d.chemin("y.mat")));
  EXPECT_EQ(lancer(programme("qvimport") + " " + d.chemin("absent.dem") + " --grid " + d.chemin("z.asc")), 2);
  // A bitmap it cannot read names the reason.
  ASSERT_EQ(ecrire_fichier(d.chemin("seize.bmp"), std::string("BM") + std::string(12, '\0') + "\x28" +
                                                      std::string(11, '\0') + "\x01" + std::string(1, '\0') +
                                                      "\x0C" + std::string(30, '\0')),
            "");
  EXPECT_EQ(lancer(programme("qvimport") + " " + d.chemin("seize.bmp") + " --grid " + d.chemin("z.asc"), &sortie), 2);
  EXPECT_NE(sortie.find("the bitmap cannot be read: "), std::string::npos) << sortie;
  EXPECT_EQ(lancer(programme("qvimport") + " " + dem + " --degree 12 --out " + d.chemin("y.mat")), 1);
  EXPECT_EQ(lancer(programme("qvimport") + " " + dem), 1);
  // A centre far outside the source gives a sea terrain, not a fault.
  EXPECT_EQ(lancer(programme("qvimport") + " " + dem + " --degree 5 --centre 2147483647,-2147483648 --out " +
                   d.chemin("loin.mat")),
            0);
}
