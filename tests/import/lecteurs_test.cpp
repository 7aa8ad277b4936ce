// Text grids, Geoconcept grids and bitmaps: sizes, limits, placement,
// rejections with their reasons, and a cancel while reading.
#include <gtest/gtest.h>

#include <cstdio>

#include "import_support.h"
#include "render/jpeg.h"
#include "tests/support/fakes.h"
#include "tests/support/memoire.h"

using namespace import_test;

namespace {

// Reads a source from a file named `nom`; the reason, empty on success.
std::string lire(Importation& imp, const std::string& octets, const std::string& nom, ProgressSink* attente = nullptr,
                 WindowHandle fenetre = 0) {
  return importer_source(imp, nom, octets, attente, fenetre);
}

// Value of line q, column p of the synthetic text grids.
int valeur(int q, int p) { return (q * 13 + p * 7) % 500; }

std::string entete_mnt(std::string champ_2, int w, int h) {
  champ_2.resize(16, ' ');
  return "GRD  3" + champ_2 + " 1.5 2 -3.25 4e2 5 " + std::to_string(w) + " " + std::to_string(h) + "\r\n";
}

}  // namespace

TEST(LectureTxt, SizeLimitAndPlacement) {
  Importation imp;
  EXPECT_EQ(lire(imp, grille_txt(251, 250, valeur), "g.txt"), "");
  EXPECT_EQ(imp.largeur, 250);
  EXPECT_EQ(imp.hauteur, 250);
  EXPECT_EQ(imp.degre_propose, 8);
  EXPECT_EQ(imp.degre, 8);
  EXPECT_EQ(imp.niveau_dem, 0);
  EXPECT_TRUE(imp.chargee);
  EXPECT_FALSE(imp.dem);
  EXPECT_FALSE(imp.large);
  EXPECT_EQ(imp.extension, ".TXT");
  EXPECT_EQ(imp.texte_taille, "Size: 250 X 250");
  EXPECT_EQ(imp.commentaire, "Importation of g.txt");
  // Line q on row W - q, value p at column p: column 0 stays sea, the value
  // at column W falls outside and the last line is not read.
  int fautes = 0;
  for (int y = 0; y < 250; ++y)
    for (int x = 0; x < 250; ++x) {
      const int attendu = x >= 1 ? valeur(250 - y, x) : 0;
      if (imp.hauteur_pixel(x, y) != attendu && ++fautes < 5) ADD_FAILURE() << x << "," << y;
    }
  EXPECT_EQ(fautes, 0);
  int mini = 8000, maxi = -4000;
  for (int q = 1; q <= 250; ++q)
    for (int p = 1; p <= 250; ++p) {
      mini = std::min(mini, valeur(q, p));
      maxi = std::max(maxi, valeur(q, p));
    }
  EXPECT_EQ(imp.minimum, mini);
  EXPECT_EQ(imp.maximum, maxi);

  Importation court;
  const std::string raison = lire(court, grille_txt(250, 250, valeur), "g.txt");
  EXPECT_NE(raison.find("at least 251 lines"), std::string::npos) << raison;
  EXPECT_FALSE(court.chargee);

  // The file name in the comment is document text, in the documents' code page.
  Importation nomme;
  ASSERT_EQ(lire(nomme, grille_txt(251, 250, valeur), "r\xC3\xA9sum\xC3\xA9 \xE2\x82\xAC.txt"), "");
  EXPECT_EQ(nomme.commentaire, "Importation of r\xE9sum\xE9 \x80.txt");
}

TEST(LectureTxt, ClampsWideFlagLineEndsAndBadNumbers) {
  // 9000 is cut to 8000, -5 stored as sea; the minimum follows the value read.
  auto special = [](int q, int p) { return q == 1 && p == 1 ? 9000 : q == 2 && p == 3 ? -5 : 100; };
  Importation imp;
  ASSERT_EQ(lire(imp, grille_txt(251, 250, special), "g.TXT"), "");
  EXPECT_EQ(imp.hauteur_pixel(1, 249), 8000);
  EXPECT_EQ(imp.hauteur_pixel(3, 248), 0);
  EXPECT_EQ(imp.maximum, 8000);
  EXPECT_EQ(imp.minimum, -5);
  EXPECT_TRUE(imp.large);

  Importation etroit, large;
  ASSERT_EQ(lire(etroit, grille_txt(251, 250, [](int, int) { return 511; }), "a.txt"), "");
  EXPECT_FALSE(etroit.large);
  ASSERT_EQ(lire(large, grille_txt(251, 250, [](int q, int p) { return q == 9 && p == 9 ? 512 : 511; }), "a.txt"), "");
  EXPECT_TRUE(large.large);
  // The shown picture carries the grid in the encoding of its flag.
  const render::Bitmap image = large.image();
  const Rgb c = render::rgb_of(image.at(9, 241));
  EXPECT_EQ(decoder_couleur(c.r, c.g, c.b, false, true), 512);

  // CR LF and LF give the same grid; a last line without a line end counts.
  Importation lf, crlf, sans_fin;
  ASSERT_EQ(lire(lf, grille_txt(251, 250, valeur), "a.txt"), "");
  ASSERT_EQ(lire(crlf, grille_txt(251, 250, valeur, true), "a.txt"), "");
  ASSERT_EQ(lire(sans_fin, grille_txt(251, 250, valeur, true, false), "a.txt"), "");
  EXPECT_EQ(lf.grille, crlf.grille);
  EXPECT_EQ(lf.grille, sans_fin.grille);
  EXPECT_EQ(sans_fin.largeur, 250);

  // A real where an integer must come rejects the file, naming its line.
  std::string texte = grille_txt(251, 250, valeur);
  const std::size_t ligne_7 = [&] {
    std::size_t pos = 0;
    for (int k = 1; k < 7; ++k) pos = texte.find('\n', pos) + 1;
    return pos;
  }();
  texte.replace(ligne_7, 0, "12.5 ");
  Importation mauvais;
  const std::string raison = lire(mauvais, texte, "a.txt");
  EXPECT_NE(raison.find("line 7"), std::string::npos) << raison;
  EXPECT_FALSE(mauvais.chargee);
}

namespace {

// Lines of a grid, each with its line end.
struct Ligne {
  std::string texte, fin;
};

std::vector<Ligne> lignes_grille(int lignes, int colonnes, const std::function<std::string(int)>& fin) {
  std::vector<Ligne> l;
  for (int q = 1; q <= lignes; ++q) {
    l.push_back({"", fin(q)});
    for (int p = 1; p <= colonnes; ++p) l.back().texte += (p > 1 ? " " : "") + std::to_string(valeur(q, p));
  }
  return l;
}

std::string joindre(const std::vector<Ligne>& lignes) {
  std::string s;
  for (const Ligne& l : lignes) s += l.texte + l.fin;
  return s;
}

// Gives a line the end `fin` and ends it with blanks so that its first
// `avant` bytes come just before byte b of the file, the rest from b on.
void fin_coupee(std::vector<Ligne>& lignes, std::size_t b, const std::string& fin, std::size_t avant,
                std::size_t entete = 0) {
  std::size_t debut = entete, k = 0;
  for (; debut + lignes[k].texte.size() + lignes[k].fin.size() + lignes[k + 1].texte.size() <= b - avant; ++k)
    debut += lignes[k].texte.size() + lignes[k].fin.size();
  lignes[k].texte.append(b - avant - debut - lignes[k].texte.size(), ' ');
  lignes[k].fin = fin;
}

}  // namespace

// A grid whose file went between Windows and Unix: "\r\r\n" (converted
// twice), "\r\n", "\n" and a lone "\r" each end one line, for the line
// count and for the rows read, also where a line end is cut between two of
// the pieces the file is read in.
TEST(LectureTxt, MixedLineEndsEachEndOneLine) {
  const auto melange = [](int q) { return std::vector<std::string>{"\n", "\r\n", "\r\r\n", "\r"}[q % 4]; };
  std::vector<Ligne> lignes = lignes_grille(260, 300, melange);
  fin_coupee(lignes, 65536, "\r\r\n", 1);
  fin_coupee(lignes, 131072, "\r\r\n", 2);
  fin_coupee(lignes, 196608, "\r\n", 1);
  fin_coupee(lignes, 262144, "\r", 1);
  Importation lf, mixte;
  ASSERT_EQ(lire(lf, joindre(lignes_grille(260, 300, [](int) { return "\n"; })), "lf.txt"), "");
  ASSERT_EQ(lire(mixte, joindre(lignes), "mixte.txt"), "");
  EXPECT_EQ(mixte.largeur, 259);
  EXPECT_EQ(mixte.grille, lf.grille);
  EXPECT_EQ(mixte.minimum, lf.minimum);

  // 251 such lines make a grid, 250 do not; a last "\r" ends the last line.
  Importation juste, court;
  EXPECT_EQ(lire(juste, joindre(lignes_grille(251, 250, melange)), "juste.txt"), "");
  EXPECT_EQ(juste.largeur, 250);
  const std::string raison = lire(court, joindre(lignes_grille(250, 250, melange)), "court.txt");
  EXPECT_NE(raison.find("this one has 250"), std::string::npos) << raison;
  // A refusal names the line as counted so.
  lignes[199].texte.insert(0, "2.5 ");
  EXPECT_NE(lire(mixte, joindre(lignes), "mixte.txt").find("line 200: "), std::string::npos);

  // A Geoconcept grid, whose rows are read on after its header's piece.
  std::vector<Ligne> rangees = lignes_grille(120, 300, melange);
  const std::string entete = entete_mnt(" mixed", 300, 120);
  fin_coupee(rangees, 4096, "\r\r\n", 1, entete.size());
  fin_coupee(rangees, 4096 + 65536, "\r", 1, entete.size());
  Importation mnt_lf, mnt_mixte;
  ASSERT_EQ(lire(mnt_lf, entete + joindre(lignes_grille(120, 300, [](int) { return "\n"; })), "lf.mnt"), "");
  ASSERT_EQ(lire(mnt_mixte, entete + joindre(rangees), "mixte.mnt"), "");
  EXPECT_EQ(mnt_mixte.hauteur, 120);
  EXPECT_EQ(mnt_mixte.grille, mnt_lf.grille);
}

TEST(LectureTxt, LargeGridsAndTheirProposals) {
  Importation a, b;
  ASSERT_EQ(lire(a, grille_txt(2001, 3, valeur), "a.txt"), "");
  EXPECT_EQ(a.largeur, 2000);
  EXPECT_EQ(a.degre_propose, 10);
  ASSERT_EQ(lire(b, grille_txt(2002, 3, valeur), "b.txt"), "");
  EXPECT_EQ(b.largeur, 2001);
  EXPECT_EQ(b.degre_propose, 11);
  // Beyond 2048 the grid is cut; a line of 5000 values stays within it.
  Importation c;
  std::string longue;
  for (int k = 0; k < 5000; ++k) longue += "7 ";
  ASSERT_EQ(lire(c, longue + "\n" + grille_txt(2100, 2, valeur), "c.txt"), "");
  EXPECT_EQ(c.largeur, 2048);
  EXPECT_EQ(c.hauteur, 2048);
  EXPECT_EQ(c.hauteur_pixel(2047, 2047), 7);
  EXPECT_EQ(c.hauteur_pixel(1, 2046), valeur(1, 1));
}

TEST(LectureTxt, CancelAtTheThirdPollKeepsTheRowsRead) {
  Fenetre fenetre;
  FakeProgress attente;
  attente.cancel_at(3, fenetre.h);
  Importation imp;
  ASSERT_EQ(lire(imp, grille_txt(301, 300, [](int, int) { return 50; }), "a.txt", &attente, fenetre.h), "");
  EXPECT_TRUE(imp.chargee);
  EXPECT_EQ(attente.tests(), 3);
  ASSERT_FALSE(attente.captions().empty());
  EXPECT_EQ(attente.captions()[0], "ASCII-Z file reading ... ");
  for (int y = 0; y < 300; ++y) {
    const int attendu = (y == 299 || y == 298) ? 50 : 0;
    EXPECT_EQ(imp.hauteur_pixel(5, y), attendu) << y;
  }
  EXPECT_FALSE(platform::peek(fenetre.h, platform::WM_CANCEL, platform::WM_CANCEL, false));
}

TEST(LectureTxt, ProgressMovesFivePercentSteps) {
  Fenetre fenetre;
  FakeProgress attente;
  Importation imp;
  ASSERT_EQ(lire(imp, grille_txt(401, 2, valeur), "a.txt", &attente, fenetre.h), "");
  EXPECT_EQ(attente.tests(), 400);
  EXPECT_EQ(attente.total_increment(), 100);
}

TEST(LectureMnt, HeaderSizesAndRejections) {
  auto mnt = [](const std::string& entete, int lignes, int colonnes) {
    return entete + grille_txt(lignes, colonnes, valeur);
  };
  Importation imp;
  ASSERT_EQ(lire(imp, mnt(entete_mnt(" Alpes du Nord", 120, 110), 120, 120), "m.mnt"), "");
  EXPECT_EQ(imp.largeur, 120);
  EXPECT_EQ(imp.hauteur, 110);
  EXPECT_EQ(imp.description, "GRD Alpes du Nord ");
  EXPECT_EQ(imp.commentaire, imp.description);
  EXPECT_EQ(imp.extension, ".MNT");
  // Rows top down: line q on row q, value p at column p; 110 rows are read.
  EXPECT_EQ(imp.hauteur_pixel(1, 1), valeur(1, 1));
  EXPECT_EQ(imp.hauteur_pixel(119, 109), valeur(109, 119));
  EXPECT_EQ(imp.hauteur_pixel(5, 0), 0);
  EXPECT_EQ(imp.hauteur_pixel(0, 5), 0);

  Importation etroit;
  std::string raison = lire(etroit, mnt(entete_mnt(" narrow          ", 99, 110), 110, 99), "m.mnt");
  EXPECT_NE(raison.find("99 columns"), std::string::npos) << raison;
  Importation vide;
  raison = lire(vide, mnt(entete_mnt(" no rows         ", 120, 0), 3, 120), "m.mnt");
  EXPECT_NE(raison.find("0 rows"), std::string::npos) << raison;
  Importation nul;
  raison = lire(nul, mnt(entete_mnt(std::string(" zero") + '\0' + "          ", 120, 110), 110, 120), "m.mnt");
  EXPECT_NE(raison.find("zero byte"), std::string::npos) << raison;
  for (const Importation* i : {&etroit, &vide, &nul}) EXPECT_FALSE(i->chargee);

  // A grid of 1001 x 900 proposes 9; one announced far too large is cut and
  // reads what the file holds.
  Importation moyen;
  ASSERT_EQ(lire(moyen, mnt(entete_mnt(" mid             ", 1001, 900), 2, 1001), "m.mnt"), "");
  EXPECT_EQ(moyen.degre_propose, 9);
  Importation enorme;
  ASSERT_EQ(lire(enorme, mnt(entete_mnt(" huge            ", 100000, 100000), 3, 300), "m.mnt"), "");
  EXPECT_EQ(enorme.largeur, 2048);
  EXPECT_EQ(enorme.hauteur, 2048);
  EXPECT_EQ(enorme.hauteur_pixel(300, 3), valeur(3, 300));
}

TEST(LectureSources, EmptyFilesAndOtherEndingsGiveReasons) {
  for (const char* nom : {"e.txt", "e.mnt", "e.dem"}) {
    Importation imp;
    EXPECT_NE(lire(imp, "", nom), "") << nom;
    EXPECT_FALSE(imp.chargee);
  }
  Importation imp;
  EXPECT_NE(lire(imp, grille_txt(251, 250, valeur), "a.xyz"), "");
  Dossier d("sources");
  EXPECT_NE(imp.importer(d.chemin("missing.dem"), param_mat{}, nullptr, 0), "");
  std::FILE* f = std::fopen(d.chemin("empty.bmp").c_str(), "wb");
  std::fclose(f);
  EXPECT_NE(imp.importer(d.chemin("empty.bmp"), param_mat{}, nullptr, 0), "");
}

TEST(LectureBmp, SumsOfComponentsCutAndRefusal) {
  Dossier d("bmp");
  const std::string chemin = bmp(d, "a.bmp", 300, 200, [](int x, int y) {
    return render::pixel_rgb(static_cast<std::uint8_t>(x % 256), static_cast<std::uint8_t>(y), 7);
  });
  param_mat p;
  p.relief = 42;
  Importation imp;
  ASSERT_EQ(imp.importer(chemin, p, nullptr, 0), "");
  EXPECT_EQ(imp.largeur, 300);
  EXPECT_EQ(imp.hauteur, 200);
  EXPECT_EQ(imp.hauteur_pixel(10, 20), 37);
  EXPECT_EQ(imp.hauteur_pixel(299, 199), 43 + 199 + 7);
  EXPECT_EQ(imp.minimum, -1);
  EXPECT_EQ(imp.maximum, 1000);
  EXPECT_EQ(imp.extension, ".BMP");
  EXPECT_EQ(imp.commentaire, "Importation bitmap BMP");
  EXPECT_EQ(imp.degre_propose, 8);
  EXPECT_EQ(imp.parametres.relief, 42);
  EXPECT_EQ(imp.image(), imp.bitmap);
  EXPECT_EQ(imp.image().at(10, 20), render::pixel_rgb(10, 20, 7));

  Importation large;
  ASSERT_EQ(large.importer(bmp(d, "b.BMP", 3000, 100, [](int, int) { return render::pixel_rgb(0, 0, 255); }), p,
                           nullptr, 0),
            "");
  EXPECT_EQ(large.largeur, 2048);
  EXPECT_EQ(large.hauteur, 100);
  EXPECT_EQ(large.hauteur_pixel(2000, 50), 0);
  EXPECT_EQ(large.degre_propose, 9);

  // An RLE bitmap (the 8-bit header with compression 1) is read; one that
  // claims 100000 x 100000 pixels is refused with the size limit.
  std::string rle = "BM";
  auto u32 = [&](std::uint32_t v) {
    for (int k = 0; k < 4; ++k) rle += static_cast<char>((v >> (8 * k)) & 0xFF);
  };
  auto u16 = [&](std::uint16_t v) {
    rle += static_cast<char>(v & 0xFF);
    rle += static_cast<char>(v >> 8);
  };
  u32(54 + 1024 + 4);
  u32(0);
  u32(54 + 1024);
  u32(40);
  u32(2);
  u32(2);
  u16(1);
  u16(8);
  u32(1);
  u32(4);
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  for (int k = 0; k < 256; ++k) rle += std::string{char(k), char(2 * k), char(3 * k), 0};
  rle += std::string("\x02\x05\x00\x01", 4);
  const std::string chemin_rle = d.chemin("rle.bmp");
  ASSERT_EQ(ecrire_fichier(chemin_rle, rle), "");
  Importation rle_lu;
  ASSERT_EQ(rle_lu.importer(chemin_rle, p, nullptr, 0), "");
  EXPECT_EQ(rle_lu.hauteur_pixel(1, 1), 5 + 10 + 15);  // the bottom row, colour 5
  EXPECT_EQ(rle_lu.hauteur_pixel(1, 0), 0);            // the rest stays black
  rle.replace(18, 8, std::string("\xA0\x86\x01\x00\xA0\x86\x01\x00", 8));
  ASSERT_EQ(ecrire_fichier(chemin_rle, rle), "");
  Importation refuse;
  EXPECT_EQ(refuse.importer(chemin_rle, p, nullptr, 0),
            "The file " + chemin_rle + " cannot be imported: the bitmap cannot be read: it claims 100000 x 100000 pixels; at most 65535 pixels a side and "
            "268435456 pixels in all are read");
  EXPECT_FALSE(refuse.chargee);
}


// An aerial picture whose header claims 16384 x 16384 pixels is refused from
// its header: the peak of memory stays far below the gigabyte a decoding
// would take.
TEST(PhotoAerienne, AHugeHeaderIsRefusedBeforeDecoding) {
  Dossier d("photo-geante");
  const std::string source = d.chemin("g.txt");
  ASSERT_EQ(ecrire_fichier(source, grille_txt(251, 250, [](int, int) { return 10; })), "");
  Importation imp;
  ASSERT_EQ(imp.importer(source, param_mat{}, nullptr, 0), "");
  // A small baseline JPEG, then its frame header made to claim 16384 x 16384.
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("g.jpg"), render::Bitmap(250, 250), 50));
  std::string octets = *lire_fichier(d.chemin("g.jpg"));
  const std::size_t sof = octets.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  octets.replace(sof + 5, 4, std::string("\x40\x00\x40\x00", 4));
  ASSERT_EQ(ecrire_fichier(d.chemin("g.jpg"), octets), "");
  bool charge = true;
  const std::int64_t pic = test_memoire::croissance_pic([&] { charge = imp.charger_photo_aerienne(source); });
  if (pic < 0) GTEST_SKIP() << "no peak memory figure here";
  EXPECT_FALSE(charge);
  EXPECT_LT(pic, std::int64_t(64) << 20);
  EXPECT_FALSE(imp.photo);
  // The same picture at its true size still loads.
  ASSERT_TRUE(render::ecrire_jpeg(d.chemin("g.jpg"), render::Bitmap(250, 250), 50));
  EXPECT_TRUE(imp.charger_photo_aerienne(source));
}
