// USGS DEM sources: the GDAL-made fixtures, hand-made record layouts, damaged
// files, and a cross-check of a fresh random grid against GDAL's own reading.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <tuple>

#include "import_support.h"
#include "model/texte.h"

using namespace import_test;

namespace {

// An ESRI ASCII grid: cells[r][c], r = 0 at the top.
struct GrilleAsc {
  int colonnes = 0, lignes = 0;
  std::vector<std::vector<int>> cellules;
};

GrilleAsc lire_asc(const std::string& chemin) {
  auto octets = lire_fichier(chemin);
  if (!octets) throw std::runtime_error("cannot read " + chemin);
  model::TextReader r(*octets);
  GrilleAsc g;
  for (int k = 0; k < 6; ++k) {
    const std::string ligne = r.read_line();
    const std::string valeur = ligne.substr(ligne.find_last_of(' ') + 1);
    if (ligne.rfind("ncols", 0) == 0) g.colonnes = std::stoi(valeur);
    if (ligne.rfind("nrows", 0) == 0) g.lignes = std::stoi(valeur);
  }
  g.cellules.assign(static_cast<std::size_t>(g.lignes), std::vector<int>(static_cast<std::size_t>(g.colonnes)));
  for (auto& ligne : g.cellules)
    for (int& v : ligne) v = r.read_int();
  return g;
}

// The decoded height of a source cell: cut to 8000, sea below 0.
int decode(int v) { return std::clamp(v, 0, 8000); }

// Expects pixel (x, y) = cell (x - 1, y - decalage) for the rows given, and
// sea on column 0; counts the differences.
int ecarts(const Importation& imp, const GrilleAsc& g, int y_debut, int y_fin, int decalage) {
  int fautes = 0;
  for (int y = y_debut; y <= y_fin; ++y)
    for (int x = 1; x < imp.largeur && x - 1 < g.colonnes; ++x) {
      const int attendu = decode(g.cellules[static_cast<std::size_t>(y - decalage)][static_cast<std::size_t>(x - 1)]);
      if (imp.hauteur_pixel(x, y) != attendu && ++fautes < 5)
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << imp.hauteur_pixel(x, y) << " instead of " << attendu;
    }
  for (int y = 0; y < imp.hauteur; ++y)
    if (imp.hauteur_pixel(0, y) != 0) ++fautes;
  return fautes;
}

// Reads a DEM from the file x.dem; the reason, empty on success.
std::string lire_dem(Importation& imp, const std::string& octets) { return importer_source(imp, "x.dem", octets); }

// What a refusal of x.dem starts with.
std::string refus_x(const std::string& nom = "x.dem") {
  return "The file " + dossier_sources().chemin(nom) + " cannot be imported: ";
}

}  // namespace

TEST(LectureDem, FixtureOf121ProfilesWithNodata) {
  const GrilleAsc g = lire_asc(fixture("g121.asc"));
  Importation imp;
  ASSERT_EQ(imp.importer(fixture("g121.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_EQ(imp.largeur, 121);
  EXPECT_EQ(imp.hauteur, 121);
  EXPECT_EQ(imp.degre_propose, 8);
  EXPECT_EQ(imp.niveau_dem, 1);
  EXPECT_TRUE(imp.dem);
  EXPECT_TRUE(imp.large);
  EXPECT_EQ(imp.extension, ".DEM");
  EXPECT_EQ(imp.minimum, -32767);  // the nodata cells as read
  EXPECT_EQ(imp.maximum, 7900);
  EXPECT_EQ(imp.description.size(), 64u);
  EXPECT_NE(imp.description.find("g121.dem"), std::string::npos);
  EXPECT_EQ(ecarts(imp, g, 1, 120, 0), 0);
  for (int x = 0; x < 121; ++x) EXPECT_EQ(imp.hauteur_pixel(x, 0), 0);
  EXPECT_EQ(imp.hauteur_pixel(11, 20), 0);
  EXPECT_EQ(imp.hauteur_pixel(101, 77), 0);

  // CR LF after every 1024-byte record reads the same.
  std::string octets = *lire_fichier(fixture("g121.dem"));
  std::string crlf;
  for (std::size_t k = 0; k < octets.size(); k += 1024) crlf += octets.substr(k, 1024) + "\r\n";
  Importation avec_fins;
  ASSERT_EQ(lire_dem(avec_fins, crlf), "");
  EXPECT_EQ(avec_fins.grille, imp.grille);

  Importation niveau_2;
  ASSERT_EQ(niveau_2.importer(fixture("g121_level2.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_EQ(niveau_2.niveau_dem, 2);
  EXPECT_EQ(niveau_2.grille, imp.grille);
}

TEST(LectureDem, LowGridAndUnequalSides) {
  // Heights within 0..511 decode exactly, in the narrow encoding.
  Importation bas;
  ASSERT_EQ(bas.importer(fixture("low40.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_FALSE(bas.large);
  GrilleAsc g;
  g.colonnes = g.lignes = 40;
  g.cellules.assign(40, std::vector<int>(40));
  for (int r = 0; r < 40; ++r)
    for (int c = 0; c < 40; ++c) g.cellules[r][c] = (c * 7 + r * 3) % 512;
  EXPECT_EQ(ecarts(bas, g, 1, 39, 0), 0);
  const Rgb c = render::rgb_of(bas.image().at(5, 5));
  EXPECT_EQ(decoder_couleur(c.r, c.g, c.b, false, false), bas.hauteur_pixel(5, 5));

  auto synthetique = [](int colonnes, int lignes) {
    GrilleAsc s;
    s.colonnes = colonnes;
    s.lignes = lignes;
    s.cellules.assign(static_cast<std::size_t>(lignes), std::vector<int>(static_cast<std::size_t>(colonnes)));
    for (int r = 0; r < lignes; ++r)
      for (int c = 0; c < colonnes; ++c) s.cellules[r][c] = (c + 2 * r) % 4000;
    return s;
  };
  // 300 columns of 200 rows: a 300 x 300 grid with the data on rows 100..299.
  Importation large;
  ASSERT_EQ(large.importer(fixture("wide300x200.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_EQ(large.largeur, 300);
  EXPECT_EQ(large.hauteur, 300);
  EXPECT_EQ(ecarts(large, synthetique(300, 200), 100, 299, 100), 0);
  for (int y = 0; y < 100; ++y) EXPECT_EQ(large.hauteur_pixel(150, y), 0);
  // 200 columns of 300 rows: the first profile makes the grid 300 high.
  Importation haut;
  ASSERT_EQ(haut.importer(fixture("tall200x300.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_EQ(haut.largeur, 200);
  EXPECT_EQ(haut.hauteur, 300);
  EXPECT_EQ(haut.texte_taille, "Size: 200 X 300");
  EXPECT_EQ(ecarts(haut, synthetique(200, 300), 1, 299, 0), 0);
}

TEST(LectureDem, LongerProfileGrowsTheGridAtTheTop) {
  std::vector<std::vector<int>> profils(12);
  for (int p = 0; p < 12; ++p)
    for (int q = 0; q < (p == 1 ? 20 : 12); ++q) profils[p].push_back(100 * (p + 1) + q + 1);
  Importation imp;
  ASSERT_EQ(lire_dem(imp, dem(1, profils)), "");
  EXPECT_EQ(imp.hauteur, 20);
  EXPECT_EQ(imp.largeur, 12);
  // South ends on the bottom row, before and after the growth.
  EXPECT_EQ(imp.hauteur_pixel(1, 19), 101);
  EXPECT_EQ(imp.hauteur_pixel(2, 19), 201);
  EXPECT_EQ(imp.hauteur_pixel(3, 19), 301);
  EXPECT_EQ(imp.hauteur_pixel(1, 9), 111);
  EXPECT_EQ(imp.hauteur_pixel(1, 8), 0);
  EXPECT_EQ(imp.hauteur_pixel(2, 1), 219);
  EXPECT_EQ(imp.hauteur_pixel(3, 9), 311);
}

// Profiles go to the grid through a band of columns: across the band's
// edges, around a profile that grows the grid in the middle of a band, and
// in a file cut inside a profile, every pixel is the elevation read for it.
TEST(LectureDem, EveryPixelIsItsProfilesElevationAcrossBandsGrowthAndCuts) {
  const auto v = [](int p, int q) { return (p * 131 + q * 17) % 3000 + 1; };
  std::vector<std::vector<int>> profils(80);
  for (int p = 1; p <= 80; ++p)
    for (int q = 1; q <= (p == 45 ? 100 : 80); ++q) profils[p - 1].push_back(v(p, q));
  const std::string entier = dem(1, profils);
  // Cut after the 30th elevation of profile 70 (each profile is one record).
  const std::size_t debut_70 = record_a(1, 80).size() + 69 * 1024;
  const std::string coupe = entier.substr(0, debut_70 + 144 + 30 * 6);
  for (const auto& [octets, dernier, elevations_dernier] : {std::tuple{entier, 79, 80}, {coupe, 70, 30}}) {
    Importation imp;
    ASSERT_EQ(lire_dem(imp, octets), "");
    ASSERT_EQ(imp.hauteur, 100);
    int fautes = 0;
    for (int x = 0; x < imp.largeur; ++x)
      for (int q = 1; q <= 100; ++q) {
        // Before the growth, the grid was 80 high: elevation 80 fell outside.
        const int lues = x == dernier ? elevations_dernier : x == 45 ? 99 : x < 45 ? 79 : 80;
        const int attendu = x >= 1 && x <= dernier && q <= lues ? v(x, q) : 0;
        if (imp.hauteur_pixel(x, 100 - q) != attendu && ++fautes < 5)
          ADD_FAILURE() << octets.size() << " bytes, pixel " << x << "," << 100 - q << ": "
                        << imp.hauteur_pixel(x, 100 - q) << " instead of " << attendu;
      }
    EXPECT_EQ(fautes, 0);
  }
}

TEST(LectureDem, DamagedFilesEndInAReasonOrAPartialGrid) {
  Importation neuf, trop;
  std::string raison = lire_dem(neuf, record_a(1, 9));
  EXPECT_NE(raison.find("9 profiles"), std::string::npos) << raison;
  raison = lire_dem(trop, record_a(1, 2049));
  EXPECT_NE(raison.find("2049 profiles; at most 2048"), std::string::npos) << raison;
  Importation nul;
  raison = lire_dem(nul, record_a(1, 20, std::string("name\0", 5)));
  EXPECT_NE(raison.find("zero byte"), std::string::npos) << raison;

  const std::string plat = dem_plat(1, 20, 300);
  Importation coupe_a;
  EXPECT_NE(lire_dem(coupe_a, plat.substr(0, 500)), "");
  EXPECT_FALSE(coupe_a.chargee);
  // Cut inside the third profile: two full columns, then part of the third.
  Importation coupe_b;
  ASSERT_EQ(lire_dem(coupe_b, plat.substr(0, 1024 * 3 + 144 + 6 * 5)), "");
  EXPECT_TRUE(coupe_b.chargee);
  EXPECT_EQ(coupe_b.hauteur_pixel(2, 19), 300);
  EXPECT_EQ(coupe_b.hauteur_pixel(3, 15), 300);
  EXPECT_EQ(coupe_b.hauteur_pixel(3, 14), 0);
  EXPECT_EQ(coupe_b.hauteur_pixel(4, 19), 0);

  // A profile announcing 2^31 - 1 values reads what the file holds.
  std::string enorme = record_a(1, 12) + champ(1) + champ(1) + " 2147483647" + champ(1);
  enorme.append(120, ' ');
  for (int k = 0; k < 30; ++k) enorme += champ(400);
  Importation imp;
  ASSERT_EQ(lire_dem(imp, enorme), "");
  EXPECT_EQ(imp.hauteur, 12);
  EXPECT_EQ(imp.hauteur_pixel(1, 11), 400);
  EXPECT_EQ(imp.hauteur_pixel(1, 1), 400);

  // A letter where an elevation must come names its profile, field and byte.
  std::string lettre = record_a(1, 12) + "\n" + profil_b(1, std::vector<int>(12, 5));
  lettre[lettre.size() - 1024 + 150] = 'x';
  Importation mauvais;
  raison = lire_dem(mauvais, lettre);
  EXPECT_EQ(raison, refus_x() + "profile 1 (record B), field \"elevation 1\", byte 1176: a number was expected, "
                               "\"x\" cannot continue it");
}

// A DEM is read on in steps that double (4, 8, 16, 32 KiB...). Without the
// 1024-byte records of a USGS writer, numbers run across the ends of those
// steps: each is read whole when the step after it comes, never cut into the
// minimum, the maximum or the grid. The same holds for the DEM shifted by 0
// to 39 bytes.
TEST(LectureDem, NumbersCutByAReadingStepAreReadWhole) {
  std::vector<std::vector<int>> profils(24);
  std::string serres;  // the profiles one after the other, no padding
  int mini = 8000, maxi = -4000;
  for (int p = 0; p < 24; ++p) {
    serres += champ(1) + champ(p + 1) + champ(300) + champ(1) + std::string(120, ' ');
    for (int q = 1; q <= 300; ++q) {
      const int v = 1000 + (p * 677 + q * 331) % 2000;
      profils[p].push_back(v);
      serres += champ(v);
      // The grid is 300 high: the 300th elevation falls outside.
      if (q < 300) mini = std::min(mini, v), maxi = std::max(maxi, v);
    }
  }
  Importation modele;
  ASSERT_EQ(lire_dem(modele, dem(1, profils)), "");
  ASSERT_EQ(modele.hauteur, 300);
  EXPECT_EQ(modele.minimum, mini);
  EXPECT_EQ(modele.maximum, maxi);

  // Blanks added between fields until a number runs across byte b.
  std::string coupe = record_a(1, 24) + serres;
  const auto chiffre = [&](std::size_t k) { return coupe[k] >= '0' && coupe[k] <= '9'; };
  for (std::size_t b = 4096; b < coupe.size(); b *= 2)
    while (!chiffre(b - 1) || !chiffre(b)) coupe.insert(coupe.find_last_of(' ', b - 1), 1, ' ');
  ASSERT_GT(coupe.size(), 32768u);
  Importation imp;
  ASSERT_EQ(lire_dem(imp, coupe), "");
  EXPECT_EQ(imp.minimum, mini);
  EXPECT_EQ(imp.maximum, maxi);
  EXPECT_EQ(imp.grille, modele.grille);
  for (std::size_t decalage = 0; decalage < 40; ++decalage) {
    Importation decale;
    ASSERT_EQ(lire_dem(decale, record_a(1, 24) + std::string(decalage, ' ') + serres), "");
    EXPECT_EQ(decale.minimum, mini) << decalage;
    EXPECT_EQ(decale.maximum, maxi) << decalage;
    EXPECT_EQ(decale.grille, modele.grille) << decalage;
  }
}

// Record A is one fixed-width record: a refusal inside it names the file, the
// record, the field and the byte, never a line. Here an older writer broke
// the record into lines, so the skip over the projection stops at a line end
// and the next integer field meets a real.
TEST(LectureDem, RefusalsNameTheFileTheRecordTheFieldAndTheByte) {
  std::string casse = record_a(1, 20);
  casse.insert(200, "\n");
  Importation imp;
  EXPECT_EQ(lire_dem(imp, casse.substr(0, 600)),
            refus_x() + "record A, field \"planimetric unit\", byte 216: a number was expected, \".\" cannot "
                        "continue it");
  EXPECT_FALSE(imp.chargee);
  // Cut before the profile count: the end of the file is found in its field.
  EXPECT_EQ(lire_dem(imp, record_a(1, 20).substr(0, 850)),
            refus_x() + "record A, field \"number of profile rows\", byte 851: a number was expected, the end of "
                        "the file was found");
  const std::string raison = lire_dem(imp, record_a(1, 9));
  EXPECT_EQ(raison.rfind(refus_x(), 0), 0u) << raison;
  // A text grid keeps its lines, and the name of its file.
  std::string grille;
  for (int k = 0; k < 260; ++k) grille += k == 6 ? "1 2 3.5\n" : "1 2 3\n";
  EXPECT_EQ(importer_source(imp, "g.txt", grille),
            refus_x("g.txt") + "line 7: a number was expected, \".\" cannot continue it");
  // A file that cannot be read, or has no known ending, is named too.
  EXPECT_EQ(imp.importer("/nonexistent/q.dem", param_mat{}, nullptr, 0).rfind("The file /nonexistent/q.dem ", 0), 0u);
  EXPECT_EQ(importer_source(imp, "q.xyz", ""), refus_x("q.xyz") + "its name must end in .dem, .txt, .mnt or .bmp");
}

TEST(LectureDem, RandomGridAgreesWithGdal) {
  if (std::system("command -v gdal_translate >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "gdal_translate is missing (package gdal-bin): the cross-check with GDAL is skipped";
  Dossier d("gdal");
  std::mt19937 hasard(28);
  std::uniform_int_distribution<int> hauteurs(-60, 8600);
  std::string asc = "ncols 150\nnrows 150\nxllcorner 0\nyllcorner 0\ncellsize 0.001\nNODATA_value -32767\n";
  for (int r = 0; r < 150; ++r) {
    for (int c = 0; c < 150; ++c) asc += std::to_string(hauteurs(hasard)) + (c < 149 ? " " : "\n");
  }
  ASSERT_EQ(ecrire_fichier(d.chemin("r.asc"), asc), "");
  const std::string commande = "gdal_translate -q -of USGSDEM -a_srs EPSG:4326 -co RESAMPLE=Nearest " +
                               d.chemin("r.asc") + " " + d.chemin("r.dem") + " && gdal_translate -q -of AAIGrid " +
                               d.chemin("r.dem") + " " + d.chemin("back.asc");
  ASSERT_EQ(std::system(commande.c_str()), 0);
  const GrilleAsc g = lire_asc(d.chemin("back.asc"));
  ASSERT_EQ(g.colonnes, 150);
  Importation imp;
  ASSERT_EQ(imp.importer(d.chemin("r.dem"), param_mat{}, nullptr, 0), "");
  EXPECT_EQ(imp.largeur, 150);
  EXPECT_EQ(imp.hauteur, 150);
  EXPECT_EQ(ecarts(imp, g, 1, 149, 0), 0);
}
