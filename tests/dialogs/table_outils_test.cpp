// The map editor's tool table: every row complete, each tool bar position
// and each code used once, and what the editor builds from it.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "dialogs/edition_glyphes.h"
#include "dialogs/table_outils.h"
#include "model/outils.h"

using namespace dialogs;

TEST(TableOutils, RowsAreCompleteAndPositionsAndCodesArePermutations) {
  std::set<int> positions, codes;
  for (const LigneOutil& l : table_outils()) {
    SCOPED_TRACE(l.code);
    EXPECT_TRUE(codes.insert(l.code).second) << "code used twice";
    const bool bouton = l.position >= 0;
    if (bouton) {
      EXPECT_TRUE(positions.insert(l.position).second) << "position used twice";
      EXPECT_LT(l.position, kNombreOutils);
      ASSERT_NE(l.glyphe, nullptr);
      ASSERT_NE(l.statut, nullptr);
      EXPECT_NE(std::string(l.statut).find(':'), std::string::npos) << "no tool name";
      ASSERT_NE(l.bulle, nullptr);
    } else {
      EXPECT_EQ(l.glyphe, nullptr);
      EXPECT_EQ(l.execution, Execution::aucune);
    }
    // A tool that asks for its parameters has its dialog set up and a topic.
    const bool dialogue = l.execution == Execution::differee || l.execution == Execution::apres_dialogue;
    EXPECT_EQ(dialogue || !bouton, l.installer != nullptr);
    if (dialogue) EXPECT_NE(l.sujet_aide, 0);
    // Only a stroke can take two sets, count as a click when short, or leave a mark.
    if (!l.trait) {
      EXPECT_FALSE(l.deux_jeux);
      EXPECT_FALSE(l.court_ponctuel);
      EXPECT_EQ(l.marque, Marque::aucune);
    }
  }
  EXPECT_EQ(int(positions.size()), kNombreOutils);
  EXPECT_EQ(*positions.rbegin(), kNombreOutils - 1);
  for (int code = 0; code < kNombreOutils; ++code) EXPECT_TRUE(codes.count(code)) << code;
  EXPECT_TRUE(codes.count(OUTIL_ELEVATION) && codes.count(OUTIL_COUPE));
}

TEST(TableOutils, LookupsFallBackToTheCursor) {
  for (int p = 0; p < kNombreOutils; ++p) {
    EXPECT_EQ(position_outil(outil_de_position(p)), p);
    EXPECT_EQ(&ligne_en_position(p), &ligne_outil(outil_de_position(p)));
  }
  EXPECT_EQ(outil_de_position(kNombreOutils), OUTIL_CURSEUR);
  EXPECT_EQ(position_outil(OUTIL_ELEVATION), -1);
  EXPECT_EQ(position_outil(55), -1);
  EXPECT_EQ(ligne_outil(55).code, OUTIL_CURSEUR);
  // The dialog's own modes show the cursor's status line, as any unknown code.
  EXPECT_STREQ(aide_outil(OUTIL_COUPE), aide_outil(OUTIL_CURSEUR));
  EXPECT_FALSE(outil_ligne(55) || outil_immediat(55) || outil_differe(55));
}

TEST(TableOutils, EveryToolBarGlyphDrawsSomethingOfItsOwn) {
  std::set<QByteArray> vus;
  for (int p = 0; p < kNombreOutils; ++p) {
    const QImage g = glyphe_edition(p);
    ASSERT_EQ(g.size(), QSize(16, 16));
    const QByteArray octets(reinterpret_cast<const char*>(g.constBits()), int(g.sizeInBytes()));
    EXPECT_NE(octets.count('\0'), octets.size()) << "empty glyph at " << p;
    EXPECT_TRUE(vus.insert(octets).second) << "glyph at " << p << " repeats another";
  }
}

// The undo, zoom, level-curves and autosave glyphs are numbered after the
// tools: none of them may be a tool's picture or another's, whatever the
// number of tools.
TEST(TableOutils, TheExtraButtonsGlyphsAreTheirOwn) {
  std::set<QByteArray> vus;
  auto octets = [](int index) {
    const QImage g = glyphe_edition(index);
    return QByteArray(reinterpret_cast<const char*>(g.constBits()), int(g.sizeInBytes()));
  };
  for (int p = 0; p < kNombreOutils; ++p) vus.insert(octets(p));
  for (int g : {int(kGlypheAnnuler), int(kGlypheZoom), int(kGlypheNiveaux), int(kGlypheSauver)}) {
    EXPECT_GE(g, kNombreOutils) << "extra glyph " << g << " takes a tool's index";
    EXPECT_TRUE(vus.insert(octets(g)).second) << "extra glyph " << g << " repeats another";
  }
  EXPECT_EQ(int(vus.size()), kNombreGlyphes);
}
