#include <gtest/gtest.h>

#include <random>
#include <string>

#include "model/matrice.h"
#include "model/texte.h"

using model::ReadError;
using model::TextReader;
using model::TextWriter;

namespace {

param_mat parametres(int degre, bool deformation = false, bool photo = false) {
  param_mat p;
  p.maillage = degre;
  p.deformation = deformation;
  p.photo_aerienne = photo;
  p.cible = {0.333, 0.333};
  p.observateur = {0.1, 0.1};
  return p;
}

std::string ecrire(const Tmatrice& m) {
  TextWriter w;
  m.ecrire_matrice(w);
  return w.bytes();
}

void ajouter(Tmatrice& m, int i, int j, int type, int attribut) {
  const auto k = static_cast<std::size_t>(m.nombre_elements++);
  m.liste_i[k] = static_cast<std::uint16_t>(i);
  m.liste_j[k] = static_cast<std::uint16_t>(j);
  m.liste_type[k] = static_cast<std::uint16_t>(type);
  m.liste_attribut[k] = static_cast<std::uint16_t>(attribut);
}

// A body of flat heights for a degree-4 terrain, followed by the given text.
std::string hauteurs_plates(int n = 17) {
  std::string s;
  for (int r = 1; r <= n; ++r) {
    for (int c = 1; c <= n + 1 - r; ++c) s += "0 ";
    s += "\r\n";
  }
  return s;
}

void remplir(Tmatrice& m, std::uint32_t graine) {
  std::mt19937 gen(graine);
  std::uniform_int_distribution<int> hauteur(-2000, 4000), octet(0, 255);
  for (int j = 1; j <= m.n; ++j)
    for (int i = 1; i + j <= m.n + 1; ++i) {
      m.hauteurs->ecrire(i, j, hauteur(gen));
      if (m.dx) {
        m.dx->ecrire(i, j, static_cast<std::uint8_t>(octet(gen)));
        m.dy->ecrire(i, j, static_cast<std::uint8_t>(octet(gen)));
      }
      if (m.photo) m.photo->ecrire(i, j, static_cast<std::uint32_t>(gen()) & 0xFFFFFFu);
    }
  ajouter(m, 3, 4, 1, 1);
  ajouter(m, 3, 5, 1, 4);
  ajouter(m, 2, 2, 0, 7);
  for (int L = 1; L <= 6; ++L) ajouter(m, L + 1, 2, 10 + L, L * 10);
  ajouter(m, 5, 5, 33, 8);
  ajouter(m, 6, 6, 0, 0);
  ajouter(m, m.n, 1, 35, 72);
}

// Heights, maps, colours and live entries of a read terrain match the source.
void comparer(const Tmatrice& a, const Tmatrice& b) {
  ASSERT_EQ(a.n, b.n);
  int differences = 0;
  for (int j = 1; j <= a.n; ++j)
    for (int i = 1; i + j <= a.n + 1; ++i) {
      if (a.hauteurs->lire(i, j) != b.hauteurs->lire(i, j)) ++differences;
      if (a.dx && (a.dx->lire(i, j) != b.dx->lire(i, j) || a.dy->lire(i, j) != b.dy->lire(i, j))) ++differences;
      if (a.photo && !(a.photo->lire(i, j) == b.photo->lire(i, j))) ++differences;
    }
  EXPECT_EQ(differences, 0);
  int k = 0;
  for (int e = 0; e < a.nombre_elements; ++e) {
    if (a.liste_type[e] == 0) continue;
    ASSERT_LT(k, b.nombre_elements);
    EXPECT_EQ(a.liste_i[e], b.liste_i[k]);
    EXPECT_EQ(a.liste_j[e], b.liste_j[k]);
    EXPECT_EQ(a.liste_type[e], b.liste_type[k]);
    EXPECT_EQ(a.liste_attribut[e], b.liste_attribut[k]);
    ++k;
  }
  EXPECT_EQ(b.nombre_elements, k);
}

std::string sans_cr(std::string s) {
  std::erase(s, '\r');
  return s;
}

}  // namespace

TEST(CorpsEcriture, TextByteForByte) {
  Tmatrice plat(parametres(4));
  std::string attendu;
  for (int r = 1; r <= 17; ++r) {
    for (int c = 1; c <= 18 - r; ++c) attendu += "0 ";
    attendu += "\r\n";
  }
  attendu += "[Sol]\r\n0\r\n";
  EXPECT_EQ(ecrire(plat), attendu);

  Tmatrice m(parametres(4, true, true));
  m.hauteurs->ecrire(1, 1, 10);
  m.hauteurs->ecrire(1, 2, 12);
  m.hauteurs->ecrire(1, 3, 9);
  m.hauteurs->ecrire(2, 1, -2000);
  m.hauteurs->ecrire(2, 2, 4000);
  m.dx->ecrire(1, 1, 5);
  m.photo->ecrire(1, 1, 0x1000FFu);
  ajouter(m, 5, 7, 12, 40);
  ajouter(m, 1, 1, 0, 3);
  const std::string texte = ecrire(m);
  EXPECT_EQ(texte.substr(0, 13), "10 2 -3 -9 0 ");
  EXPECT_NE(texte.find("\r\n-2000 6000 -4000 0 "), std::string::npos);
  EXPECT_NE(texte.find("[HORIZONTAL]\r\n0580"), std::string::npos);
  EXPECT_NE(texte.find("[PHOTO]\r\nFF0010"), std::string::npos);
  const auto sol = texte.find("[Sol]\r\n");
  ASSERT_NE(sol, std::string::npos);
  EXPECT_EQ(texte.substr(sol), "[Sol]\r\n1\r\n5  7  12  40\r\n");
}

TEST(CorpsLecture, RoundTripAtSeveralDegrees) {
  for (int degre : {4, 7, 11}) {
    SCOPED_TRACE(degre);
    Tmatrice source(parametres(degre, true, true));
    remplir(source, static_cast<std::uint32_t>(degre));
    const std::string texte = ecrire(source);
    for (const std::string& variante : {texte, sans_cr(texte)}) {
      Tmatrice lu(parametres(degre, true, true));
      TextReader r(variante);
      lu.lire_matrice(r);
      EXPECT_TRUE(r.eof());
      comparer(source, lu);
      EXPECT_EQ(lu.nombre_elements, 10);
      for (int k = 1; k <= 6; ++k) EXPECT_EQ(lu.especes_presentes[k], 1) << k;
      EXPECT_EQ(lu.nombre_noeuds, lu.n);
      EXPECT_EQ(lu.pas, lu.n - 1);
      EXPECT_EQ(lu.amplitude, 4000);
      EXPECT_EQ(lu.cible.hauteur, lu.hauteurs->lire(lu.cible_i, lu.cible_j));
    }
  }
}

TEST(CorpsLecture, BodyStopsAtItsEnd) {
  Tmatrice source(parametres(4));
  remplir(source, 5);
  const std::string texte = ecrire(source) + "[PARAMETRES VUE]\r\nsuite\r\n";
  Tmatrice lu(parametres(4));
  TextReader r(texte);
  lu.lire_matrice(r);
  EXPECT_EQ(r.read_line(), "[PARAMETRES VUE]");
  comparer(source, lu);
}

TEST(CorpsLecture, HexPairs) {
  EXPECT_EQ(lire_hexa("05"), 5);
  EXPECT_EQ(lire_hexa("FF"), 255);
  EXPECT_EQ(lire_hexa("A0"), 160);
  EXPECT_THROW(lire_hexa("0a"), ReadError);
  EXPECT_THROW(lire_hexa("G0"), ReadError);
  EXPECT_THROW(lire_hexa(" 5"), ReadError);
  EXPECT_THROW(lire_hexa("5"), ReadError);

  // A pair cut short by its line end: the heights read before stay.
  std::string texte = "7 " + hauteurs_plates().substr(2) + "[HORIZONTAL]\r\n";
  texte += std::string(17 * 4, '8') + "\r\n" + std::string(16 * 4 - 1, '8') + "\r\n";
  Tmatrice m(parametres(4, true));
  TextReader r(texte);
  try {
    m.lire_matrice(r);
    ADD_FAILURE() << "no error";
  } catch (const ReadError& e) {
    EXPECT_EQ(e.line, 20);
  }
  EXPECT_EQ(m.hauteurs->lire(1, 1), 7);
  EXPECT_EQ(m.dx->lire(1, 17), 0x88);
  EXPECT_EQ(m.dx->lire(2, 15), 0x88);
  EXPECT_EQ(m.dy->lire(2, 15), 0x88);
  EXPECT_EQ(m.dx->lire(2, 16), 0x88);
  EXPECT_EQ(m.dy->lire(2, 16), 128);
  EXPECT_EQ(m.nombre_noeuds, 17);

  Tmatrice minuscules(parametres(4, true));
  TextReader r2(hauteurs_plates() + "[HORIZONTAL]\r\n" + std::string(17 * 4, 'a') + "\r\n");
  EXPECT_THROW(minuscules.lire_matrice(r2), ReadError);
}

TEST(CorpsLecture, FeatureListIsChecked) {
  // 600 valid entries on a degree-4 terrain: 545 stored, every line consumed.
  std::string texte = hauteurs_plates() + "[Sol]\r\n600\r\n";
  for (int k = 0; k < 600; ++k) texte += std::to_string(1 + k % 8) + "  2  " + std::to_string(11 + k % 3) + "  20\r\n";
  texte += "next\r\n";
  Tmatrice plein(parametres(4));
  TextReader r(texte);
  plein.lire_matrice(r);
  EXPECT_EQ(plein.nombre_elements, 545);
  EXPECT_EQ(plein.capacite_liste, 545);
  EXPECT_EQ(r.read_line(), "next");

  Tmatrice negatif(parametres(4));
  TextReader r2(hauteurs_plates() + "[Sol]\r\n-5\r\nnext\r\n");
  negatif.lire_matrice(r2);
  EXPECT_EQ(negatif.nombre_elements, 0);
  EXPECT_EQ(r2.read_line(), "next");

  Tmatrice filtre(parametres(4));
  TextReader r3(hauteurs_plates() +
                "[Sol]\n9\n1  1  7  1\n1  1  40  1\n1  1  12  65535\n500  500  11  3\n10  9  31  1\n"
                "2  2  1  1\n2  3  1  11\n4  4  19  0\n17  1  39  72\n");
  filtre.lire_matrice(r3);
  ASSERT_EQ(filtre.nombre_elements, 3);
  EXPECT_EQ(filtre.liste_type[0], 1);
  EXPECT_EQ(filtre.liste_type[1], 19);
  EXPECT_EQ(filtre.liste_attribut[1], 0);
  EXPECT_EQ(filtre.liste_i[2], 17);
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(filtre.especes_presentes[k], 0);
}

TEST(CorpsLecture, DamagedHeightsRaiseAndKeepWhatWasRead) {
  Tmatrice grand(parametres(4));
  TextReader r("99999999999 0\r\n");
  EXPECT_THROW(grand.lire_matrice(r), ReadError);

  const std::string plat = hauteurs_plates();
  const std::string avec_un = "1 " + plat.substr(2);
  // Cut in the middle of row 3.
  const auto coupe = avec_un.find("\r\n", avec_un.find("\r\n") + 2) + 2 + 10;
  Tmatrice m(parametres(4));
  TextReader r2(avec_un.substr(0, coupe));
  EXPECT_THROW(m.lire_matrice(r2), ReadError);
  EXPECT_EQ(m.hauteurs->lire(1, 1), 1);
  EXPECT_EQ(m.hauteurs->lire(1, 17), 1);

  // Row 2 one number short: no reading on into row 3.
  std::string court = avec_un;
  const auto fin_ligne_2 = court.find("\r\n", court.find("\r\n") + 2);
  court.erase(fin_ligne_2 - 2, 2);
  Tmatrice m2(parametres(4));
  TextReader r3(court);
  try {
    m2.lire_matrice(r3);
    ADD_FAILURE() << "no error";
  } catch (const ReadError& e) {
    EXPECT_EQ(e.line, 2);
  }
  EXPECT_EQ(m2.hauteurs->lire(1, 5), 1);

  // Ends right after the heights: an empty list, no error.
  Tmatrice m3(parametres(4));
  TextReader r4(plat);
  m3.lire_matrice(r4);
  EXPECT_EQ(m3.nombre_elements, 0);

  // "[Sol]" announcing more entries than there are.
  Tmatrice m4(parametres(4));
  TextReader r5(plat + "[Sol]\r\n3\r\n1  1  11  5\r\n2  2  11  5\r\n");
  EXPECT_THROW(m4.lire_matrice(r5), ReadError);
  EXPECT_EQ(m4.nombre_elements, 2);
}

TEST(CorpsLecture, SectionsFollowTheirHeads) {
  Tmatrice avec_tout(parametres(4, true, true));
  remplir(avec_tout, 9);
  Tmatrice sans_rien(parametres(4));
  remplir(sans_rien, 9);
  const std::string texte_tout = ecrire(avec_tout);
  const std::string texte_nu = ecrire(sans_rien);

  // Distortion announced, no "[HORIZONTAL]": maps stay 128, list read.
  Tmatrice a(parametres(4, true));
  TextReader ra(texte_nu);
  a.lire_matrice(ra);
  EXPECT_EQ(a.dx->lire(3, 3), 128);
  EXPECT_EQ(a.dy->lire(17, 1), 128);
  EXPECT_EQ(a.nombre_elements, 10);

  // No photo announced, "[PHOTO]" present: the terrain takes the colours.
  Tmatrice b(parametres(4, true));
  TextReader rb(texte_tout);
  b.lire_matrice(rb);
  ASSERT_TRUE(b.photo);
  EXPECT_TRUE(b.photo_presente);
  EXPECT_TRUE(b.photo_enregistree);
  comparer(avec_tout, b);

  // Nothing announced, both sections present: maps and colours are created.
  Tmatrice c(parametres(4));
  TextReader rc(texte_tout);
  c.lire_matrice(rc);
  EXPECT_TRUE(c.deformation);
  comparer(avec_tout, c);

  // Photo announced, no "[PHOTO]": no colour layer, list read.
  Tmatrice d(parametres(4, false, true));
  TextReader rd(texte_nu);
  d.lire_matrice(rd);
  EXPECT_FALSE(d.photo);
  EXPECT_FALSE(d.photo_presente);
  EXPECT_FALSE(d.photo_enregistree);
  EXPECT_EQ(d.nombre_elements, 10);

  // Any other line in place of "[Sol]" is consumed and the list stays empty.
  Tmatrice e(parametres(4));
  TextReader re(hauteurs_plates() + "[sol]\r\n1\r\n1  1  11  5\r\n");
  e.lire_matrice(re);
  EXPECT_EQ(e.nombre_elements, 0);
  EXPECT_EQ(re.read_line(), "1");
}
