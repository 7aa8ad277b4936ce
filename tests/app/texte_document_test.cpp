// The line format of documents and the options file.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "app/document.h"
#include "app/texte_document.h"
#include "platform/page_de_code.h"

namespace {

table_section section(std::initializer_list<std::string> lignes) { return table_section{lignes}; }

TEST(LigneCle, WritesTheFixedColumns) {
  struct Cas {
    std::string ligne, attendu;
  } cas[] = {
      {ligne_cle("Relief             =", 50, false, GenreCle::entier), "Relief             =          50"},
      {ligne_cle("Niveau mer         =", -804, false, GenreCle::entier), "Niveau mer         =        -804"},
      {ligne_cle("Iles        (O, N) =", 0, true, GenreCle::drapeau), "Iles        (O, N) =Oui"},
      {ligne_cle("Iles        (O, N) =", 0, false, GenreCle::drapeau), "Iles        (O, N) =Non"},
      {ligne_cle("Relief             =", -2147483647 - 1, false, GenreCle::entier),
       "Relief             =   -2147483648"},
      {ligne_cle_couleur("Couleur Terre      =", 211, 176, 60), "Couleur Terre      =    211  176   60"},
  };
  for (const auto& c : cas) EXPECT_EQ(c.ligne, c.attendu);
  EXPECT_EQ(cas[0].ligne.size(), 32u);
  EXPECT_EQ(cas[2].ligne.size(), 23u);
  EXPECT_EQ(cas[5].ligne.size(), 37u);
}

TEST(LigneCle, ReadingRules) {
  const std::string K = "Relief             =";
  struct Cas {
    const char* nom;
    std::string ligne;
    std::int32_t entree, attendu;
    bool drapeau;
  } cas[] = {
      {"value", K + "          50", 0, 50, false},
      {"negative", K + "        -804", 0, -804, false},
      {"wider than 9", K + "   -2147483648", 0, -2147483647 - 1, false},
      {"letters give the default", K + "         5x0", 0, 7, false},
      {"trailing blanks give the default", K + "          50  ", 0, 7, false},
      {"beyond int32 gives the default", K + "   2147483648", 0, 7, false},
      {"only the key gives the default", K, 3, 7, false},
      {"flag answer keeps the value", K + "Oui", 3, 3, true},
      {"other answer keeps the value", K + "Non", 3, 3, false},
      {"lower case is not yes", K + "oui", 3, 3, false},
      {"short line never matches", "Relief   =   5", 3, 7, false},
  };
  for (const auto& c : cas) {
    bool d = !c.drapeau;
    std::int32_t v = c.entree;
    lire_cle(section({"x", c.ligne}), K, d, v, 7);
    EXPECT_EQ(v, c.attendu) << c.nom;
    EXPECT_EQ(d, c.drapeau) << c.nom;
  }
  // Missing key: default, and the flag follows "default is 1".
  EXPECT_TRUE(lire_drapeau(section({}), "Iles        (O, N) =", true));
  EXPECT_FALSE(lire_drapeau(section({}), "Iles        (O, N) =", false));
  EXPECT_EQ(lire_entier(section({K + "   1", K + "   2"}), K, 9), 1) << "first line wins";
  // A default of 1 read through a bad value gives the flag true too.
  bool d = false;
  std::int32_t v = 0;
  lire_cle(section({K + "   x"}), K, d, v, 1);
  EXPECT_TRUE(d);
  EXPECT_EQ(v, 1);
}

TEST(LigneCle, ColoursTakeTheByteAndFailTogether) {
  const std::string K = "Couleur Terre      =";
  std::uint8_t r = 0, g = 0, b = 0;
  lire_cle_couleur(section({K + "    300  176   60"}), K, r, g, b, 1, 2, 3);
  EXPECT_EQ(r, 44);
  EXPECT_EQ(g, 176);
  EXPECT_EQ(b, 60);
  lire_cle_couleur(section({K + "    211  1x6   60"}), K, r, g, b, 1, 2, 3);
  EXPECT_EQ(r, 1);
  EXPECT_EQ(g, 2);
  EXPECT_EQ(b, 3);
  lire_cle_couleur(section({K + "    211  176"}), K, r, g, b, 4, 5, 6);
  EXPECT_EQ(r, 4) << "a missing blue fails the line";
  lire_cle_couleur(section({}), K, r, g, b, 7, 8, 9);
  EXPECT_EQ(b, 9);
}

TEST(Reels, ScientificAndFixedForms) {
  EXPECT_EQ(texte_reel(0.333), " 3.33000000000000E-0001");
  EXPECT_EQ(texte_reel(0.1), " 1.00000000000000E-0001");
  EXPECT_EQ(texte_reel(0.0), " 0.00000000000000E+0000");
  EXPECT_EQ(texte_reel(-0.05), "-5.00000000000000E-0002");
  EXPECT_EQ(texte_reel(1234.5), " 1.23450000000000E+0003");
  EXPECT_EQ(texte_reel(0.333).size(), 23u);
  for (double x : {0.333, 0.1, -0.05, 0.0, 0.123456789012345}) {
    auto r = convertir_reel(texte_reel(x));
    ASSERT_TRUE(r);
    EXPECT_NEAR(*r, x, 1e-14);
  }
  EXPECT_FALSE(convertir_reel("nan"));
  EXPECT_FALSE(convertir_reel("0,5"));
  EXPECT_FALSE(convertir_reel(""));
  EXPECT_EQ(ligne_camera({1234.5, -250.25, 800.0, 0.333, 0.25, 512.0}),
            "1234.5000   -250.2500    800.0000     0.3330     0.2500   512.0000");
  auto c = lire_ligne_camera("1234.5000   -250.2500    800.0000     0.3330     0.2500   512.0000  ");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->observateur_y, -250.25);
  EXPECT_EQ(c->cible_z, 512.0);
  EXPECT_FALSE(lire_ligne_camera("1 2 3 4 5"));
  EXPECT_FALSE(lire_ligne_camera("1 2 3 4 5 6 7"));
}

// Numbers do not follow the process locale.
TEST(Reels, CommaLocaleIsIgnored) {
  const char* avant = std::setlocale(LC_NUMERIC, nullptr);
  std::string sauve = avant ? avant : "C";
  bool trouve = false;
  for (const char* nom : {"fr_FR.UTF-8", "fr_FR.utf8", "de_DE.UTF-8", "de_DE.utf8", "fr_FR", "de_DE"}) {
    if (std::setlocale(LC_NUMERIC, nom)) {
      trouve = true;
      break;
    }
  }
  if (!trouve) GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_EQ(texte_reel(0.333), " 3.33000000000000E-0001");
  EXPECT_EQ(ligne_camera({0.5, 1, 2, 3, 4, 5}).substr(0, 9), "   0.5000");
  EXPECT_EQ(convertir_reel(" 3.33000000000000E-0001").value_or(0), 0.333);
  std::setlocale(LC_NUMERIC, sauve.c_str());
}

TEST(Entree, LinesEndWithCrLfOrLf) {
  Entree f(std::string("a\r\nb\nc\r\n\r\nd"));
  std::vector<std::string> lu;
  while (auto l = f.ligne()) lu.emplace_back(*l);
  EXPECT_EQ(lu, (std::vector<std::string>{"a", "b", "c", "", "d"}));
  Sortie s;
  s.ligne("x");
  s.ligne("");
  EXPECT_EQ(s.octets(), "x\r\n\r\n");
}

TEST(ChargerSection, StopsWhereEachSectionEnds) {
  Entree f(std::string("k1\r\n\r\n [MATRICE]\r\nnext\r\n"));
  auto t = charger_section(f, GenreSection::matrice);
  EXPECT_EQ(t.lignes, (std::vector<std::string>{"k1", "", " [MATRICE]"}));
  EXPECT_EQ(*f.ligne(), "next");
  Entree g(std::string("  [PARAMETRES VIDEO]\r\nk\r\nFin                =\r\n--------------------\r\nafter\r\n"));
  auto v = charger_section(g, GenreSection::video);
  EXPECT_EQ(v.lignes.size(), 4u);
  EXPECT_EQ(*g.ligne(), "after");
  Entree h(std::string("k\r\nk2"));
  EXPECT_EQ(charger_section(h, GenreSection::vue).lignes.size(), 2u);
}

// A hostile document of 50 MB: a line of 10 MB and millions of empty lines.
// Each section table keeps at most its cap of lines, none longer than 100
// characters, and the document is refused with a message.
TEST(ChargerSection, HostileDocumentsStayWithinTheCaps) {
  std::string octets = "  [PARAMETRES MATRICE]\r\n" + std::string(10u << 20, 'x') + "\r\n";
  octets.reserve(50u << 20);
  while (octets.size() < (50u << 20)) octets += "\r\n";
  struct Cas {
    GenreSection genre;
    std::size_t plafond;
  };
  for (const Cas c : {Cas{GenreSection::matrice, 79}, Cas{GenreSection::vue, 158}, Cas{GenreSection::video, 51}}) {
    Entree f(octets);
    ASSERT_TRUE(f.chercher("  [PARAMETRES MATRICE]"));
    const table_section t = charger_section(f, c.genre);
    EXPECT_EQ(t.lignes.size(), c.plafond);
    EXPECT_EQ(t.lignes[0], std::string(100, 'x'));
    for (const std::string& l : t.lignes) EXPECT_LE(l.size(), 100u);
    // The file goes on from the line after the last one stored.
    const auto suite = f.ligne();
    ASSERT_TRUE(suite.has_value());
    EXPECT_TRUE(suite->empty());
  }
  EXPECT_THROW(lire_document(octets, "hostile.mat", GenreDocument::montagne), ErreurDocument);
  // A well-formed section longer than its cap: the keys past the cap take
  // their defaults, the ones before it are read.
  std::string longue = "Relief             =        42\r\n";
  for (int k = 0; k < 100; ++k) longue += "Autre              =         1\r\n";
  longue += "Maillage           =         9\r\n [MATRICE]\r\n";
  Entree g(longue);
  const table_section t = charger_section(g, GenreSection::matrice);
  EXPECT_EQ(lire_entier(t, "Relief             =", 0), 42);
  EXPECT_EQ(lire_entier(t, "Maillage           =", 7), 7);
}

// Typed text reaches documents in their code page, Windows Latin-1: the
// euro sign and the curly quotes have bytes of their own, every byte comes
// back as it went, and only what the page cannot hold is lost.
TEST(Latin1, ConvertsTypedText) {
  using namespace platform;
  std::string r;
  EXPECT_EQ(utf8_vers_page_de_code("Orient\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D", &r),
            "Orient\xE9 \x80 \x93x\x94");
  EXPECT_EQ(r, "");
  EXPECT_EQ(page_de_code_vers_utf8("annul\xE9" "e \x85 \x9F"), "annul\xC3\xA9" "e \xE2\x80\xA6 \xC5\xB8");
  for (unsigned o = 0; o < 256; ++o) {
    const std::string octet(1, static_cast<char>(o));
    EXPECT_EQ(utf8_vers_page_de_code(page_de_code_vers_utf8(octet), &r), octet) << o;
  }
  // Outside the page (U+0080 among them): "?", and each character named once, in order.
  EXPECT_EQ(utf8_vers_page_de_code("\xC5\x91 \xF0\x9F\x99\x82 \xC5\x91 \xC2\x80", &r), "? ? ? ?");
  EXPECT_EQ(r, "\xC5\x91\xF0\x9F\x99\x82\xC2\x80");
  // Bytes that are not UTF-8 (cut, overlong, a surrogate) are one "?" each.
  r.clear();
  EXPECT_EQ(utf8_vers_page_de_code("\xC3", &r), "?");
  EXPECT_EQ(utf8_vers_page_de_code("\xC0\xAF\xED\xA0\x80" "a", &r), "?????a");
  EXPECT_EQ(r, "\xEF\xBF\xBD");
}

}  // namespace
