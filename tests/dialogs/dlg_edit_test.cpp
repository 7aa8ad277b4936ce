// The tool-parameter dialog on its own: the set-up of each tool, the width
// rule, and marks on the map that always go in pairs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <map>
#include <tuple>

#include "dialogs/dlg_edit.h"
#include "tests/support/touche_aide.h"

using namespace dialogs;

namespace {

// Counts each mark by kind and place; a mark drawn twice is gone.
struct Marques : MarquesCarte {
  std::map<std::tuple<char, int, int, int, int, int>, int> n;
  int appels = 0;
  void ligne(PixelCarte a, PixelCarte b, int l) override { note('l', a.x, a.y, b.x, b.y, l); }
  void cercle(PixelCarte c, int r, int l) override { note('c', c.x, c.y, r, 0, l); }
  void croix(PixelCarte c, int d, int l) override { note('x', c.x, c.y, d, 0, l); }
  void note(char k, int a, int b, int c, int d, int l) {
    ++appels;
    n[{k, a, b, c, d, l}] ^= 1;
  }
  int visibles() const {
    int v = 0;
    for (auto& [k, x] : n) v += x;
    return v;
  }
};

struct Banc {
  Marques marques;
  Tdlg_edit d;
  Banc(int outil, bool un_point = true, bool deformation = false) {
    d.outil = static_cast<std::uint16_t>(outil);
    d.un_point = un_point;
    d.fin = {800, 0, 45, 1500, 1200};
    d.debut = {800, 0, 45, 900, 800};
    d.prepare_outil(&marques, {100, 150}, deformation, false, un_point ? PixelCarte{100, 150} : PixelCarte{160, 120});
  }
  bool visible(const QWidget* w) const { return w->isVisibleTo(&d); }
};

}  // namespace

TEST(DialogueOutil, SetUpOfEachTool) {
  {
    Banc b(OUTIL_FORME);
    EXPECT_EQ(b.d.windowTitle(), "Shape");
    EXPECT_FALSE(b.visible(b.d.Panel_coeff));
    EXPECT_EQ(b.d.RadioButton_Unif->text(), "Linear");
    EXPECT_EQ(b.d.RadioButton_etirem->text(), "Weighted");
    EXPECT_TRUE(b.d.RadioButton_Unif->isChecked());
    EXPECT_EQ(b.d.Label_fin->text(), "Point");
    EXPECT_FALSE(b.d.Button_df->isEnabled());
    EXPECT_FALSE(b.d.Button_d_f->isEnabled());
    EXPECT_EQ(b.d.coefficient, 20);
    EXPECT_EQ(b.d.contexte_aide(), 4021);
  }
  {
    Banc b(OUTIL_FORME, true, true);
    EXPECT_TRUE(b.visible(b.d.Panel_coeff));
    EXPECT_EQ(b.d.Label_c->text(), "Thrust");
    EXPECT_EQ(b.d.ScrollBar_coeff->minimum(), -100);
    EXPECT_EQ(b.d.coefficient, 0);
  }
  {
    Banc b(OUTIL_PLATEAU);
    EXPECT_EQ(b.d.windowTitle(), "Plateau");
    EXPECT_FALSE(b.visible(b.d.Panel_sommet));
    EXPECT_TRUE(b.visible(b.d.ScrollBar_alt1));
    EXPECT_FALSE(b.visible(b.d.Panel_df));
    EXPECT_EQ(b.d.RadioButton_etirem->text(), "Cliff");
    EXPECT_EQ(b.d.Label_3->text(), "start");
  }
  {
    Banc b(OUTIL_VALLEE);
    EXPECT_EQ(b.d.windowTitle(), "Valley");
    EXPECT_EQ(b.d.apres, b.d.avant - 40);
    EXPECT_TRUE(b.visible(b.d.CheckBox_Riviere));
    EXPECT_EQ(b.d.ScrollBar_base->maximum(), 1000);
    b.d.CheckBox_Riviere->click();
    EXPECT_EQ(b.d.apres, b.d.avant);
    EXPECT_FALSE(b.d.ScrollBar_alt->isEnabled());
  }
  {
    Tdlg_edit d;
    d.outil = OUTIL_VALLEE;
    d.un_point = 1;
    d.riviere_seule = 1;
    d.fin = {200, 0, 45, 700, 700};
    d.prepare_outil(nullptr, {}, false, false, {});
    EXPECT_EQ(d.apres, 700);
    EXPECT_EQ(-d.ScrollBar_alt->value(), 700);
  }
  {
    Banc b(OUTIL_LISSAGE);
    EXPECT_EQ(b.d.windowTitle(), "Smooting");
    EXPECT_FALSE(b.visible(b.d.Panel_sommet));
    EXPECT_EQ(b.d.ScrollBar_coeff->maximum(), 40);
    EXPECT_EQ(b.d.contexte_aide(), 4025);
  }
  {
    Banc b(OUTIL_CONE);
    EXPECT_EQ(b.d.windowTitle(), "Cone");
    EXPECT_EQ(b.d.Label_c->text(), "Angle");
    EXPECT_EQ(b.d.Label_d->text(), "Sommit at :");
    EXPECT_EQ(b.d.apres, 1200);  // lowered to the altitude before
    EXPECT_EQ(b.d.Label_coeff->text(), "45");
  }
  {
    Banc b(OUTIL_COL);
    EXPECT_EQ(b.d.windowTitle(), "Pass");
    EXPECT_FALSE(b.visible(b.d.Panel_coeff) || b.visible(b.d.Panel_sommet) || b.visible(b.d.Panel_df));
  }
  {
    Banc b(OUTIL_ROUTE);
    EXPECT_EQ(b.d.windowTitle(), "Road");
    EXPECT_FALSE(b.visible(b.d.Panel_alt));
    EXPECT_EQ(b.d.CheckBox_Riviere->text(), "Path");
    EXPECT_FALSE(b.visible(b.d.Button_rotate));
  }
  {
    Banc b(OUTIL_STRATE);
    EXPECT_EQ(b.d.windowTitle(), "Stratum");
    EXPECT_EQ(b.d.ScrollBar_sommet->minimum(), -100);
    b.d.ScrollBar_sommet->setValue(-100);
    EXPECT_EQ(b.d.sommet, -100);
    EXPECT_EQ(b.d.contexte_aide(), 4042);
  }
  {
    Banc b(OUTIL_RELIEF);
    EXPECT_EQ(b.d.windowTitle(), "Relief");
    EXPECT_EQ(b.d.apres, 2500);
    EXPECT_EQ(b.d.avant, 200);
    EXPECT_EQ(b.d.sommet, 50);
    EXPECT_EQ(b.d.coefficient, 100);
    EXPECT_EQ(b.d.ScrollBar_coeff->value(), -100);
    EXPECT_FALSE(b.d.ScrollBar_coeff->isEnabled());
    b.d.RadioButton_etirem->click();
    EXPECT_TRUE(b.d.ScrollBar_coeff->isEnabled());
    b.d.ScrollBar_coeff->setValue(-40);
    b.d.RadioButton_Unif->click();
    EXPECT_EQ(b.d.coefficient, 100);
  }
  {
    Banc b(OUTIL_RUISSELLEMENT);
    EXPECT_EQ(b.d.windowTitle(), "Streaming");
    EXPECT_EQ(b.d.coefficient, 0);
    EXPECT_EQ(b.d.ScrollBar_alt->minimum(), 0);
    EXPECT_EQ(b.d.ScrollBar_alt->maximum(), 200);
    EXPECT_EQ(b.d.Label_a2->text(), "-200");
  }
  {
    Banc b(OUTIL_COPIER);
    EXPECT_EQ(b.d.windowTitle(), "Copy of a portion");
    EXPECT_EQ(b.d.avant, 0);
    EXPECT_FALSE(b.visible(b.d.ScrollBar_alt));
    EXPECT_FALSE(b.visible(b.d.CheckBox_resdessiner));
  }
  {
    Banc b(OUTIL_COLLER);
    EXPECT_EQ(b.d.windowTitle(), "Past from a portion");
    EXPECT_FALSE(b.visible(b.d.Panel_base));
    EXPECT_EQ(b.d.contexte_aide(), 4033);
  }
  {
    Banc b(OUTIL_ELEVATION);
    EXPECT_EQ(b.d.windowTitle(), "Elevation");
    EXPECT_EQ(b.d.base, 8000);
    EXPECT_EQ(b.d.altitude_max, 1500);
    EXPECT_EQ(b.d.RadioButton_etirem->text(), "Stretching");
  }
  {
    Tdlg_edit d;
    d.outil = OUTIL_ELEVATION;
    d.un_point = 1;
    d.fin = {800, 0, 45, -300, -300};
    d.prepare_outil(nullptr, {}, false, false, {});
    EXPECT_EQ(d.altitude_max, 1);
  }
  {
    Banc b(OUTIL_COUPE);
    EXPECT_EQ(b.d.windowTitle(), "Cross-section of a ground");
    EXPECT_FALSE(b.visible(b.d.Cancelbtn));
    EXPECT_FALSE(b.visible(b.d.helpbtn));
    EXPECT_EQ(b.d.Panel_image->size(), QSize(335, 230));
    EXPECT_TRUE(b.visible(b.d.Label_a1));
    EXPECT_TRUE(b.visible(b.d.Label_a2));
  }
}

namespace {

// The visible children of `w` (not of their own children) that overlap.
std::vector<std::string> chevauchements(const QWidget& w, const QWidget& dialogue) {
  std::vector<const QWidget*> v;
  for (const QObject* o : w.children())
    if (auto* c = qobject_cast<const QWidget*>(o); c && c->isVisibleTo(&dialogue)) v.push_back(c);
  std::vector<std::string> r;
  for (std::size_t a = 0; a < v.size(); ++a)
    for (std::size_t b = a + 1; b < v.size(); ++b)
      if (v[a]->geometry().intersects(v[b]->geometry()))
        r.push_back(v[a]->metaObject()->className() + std::string(" ") + std::to_string(a) + " / " +
                    std::to_string(b));
  return r;
}

}  // namespace

// Every tool's dialog shows its texts whole (the altitude scale among them),
// its controls side by side without overlap, and no blank band at the bottom.
TEST(DialogueOutil, EveryToolShowsItsTextsWholeWithoutGaps) {
  for (int outil : {OUTIL_FORME, OUTIL_PLATEAU, OUTIL_VALLEE, OUTIL_LISSAGE, OUTIL_CONE, OUTIL_COL, OUTIL_ROUTE,
                    OUTIL_STRATE, OUTIL_RELIEF, OUTIL_RUISSELLEMENT, OUTIL_COPIER, OUTIL_COLLER, OUTIL_ELEVATION,
                    OUTIL_COUPE}) {
    Banc b(outil, true, outil == OUTIL_STRATE);
    const QWidget& d = b.d;
    for (QLabel* l : d.findChildren<QLabel*>())
      if (l->isVisibleTo(&d) && !l->text().isEmpty())
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width())
            << outil << " " << l->text().toStdString();
    for (QPushButton* p : d.findChildren<QPushButton*>())
      if (p->isVisibleTo(&d)) EXPECT_LE(p->fontMetrics().horizontalAdvance(p->text()), p->width()) << outil;
    EXPECT_EQ(chevauchements(d, d), std::vector<std::string>{}) << outil;
    EXPECT_EQ(chevauchements(*b.d.Panel_alt, d), std::vector<std::string>{}) << outil;
    int bas = 0;
    for (const QObject* o : d.children())
      if (auto* c = qobject_cast<const QWidget*>(o); c && c->isVisibleTo(&d)) {
        EXPECT_TRUE(d.rect().contains(c->geometry())) << outil;
        bas = std::max(bas, c->geometry().bottom());
      }
    EXPECT_LE(d.height() - bas, 12) << outil;
    // The before-altitude's bar, when shown, is the left one, as its label.
    if (b.visible(b.d.ScrollBar_alt1) && b.visible(b.d.ScrollBar_alt)) {
      EXPECT_LT(b.d.ScrollBar_alt1->x(), b.d.ScrollBar_alt->x()) << outil;
      EXPECT_LT(b.d.Label_3->x(), b.d.Label_4->x()) << outil;
    }
  }
}

TEST(DialogueOutil, SummitFollowsTheBaseAndMarksGoInPairs) {
  Banc b(OUTIL_FORME, false);
  EXPECT_EQ(b.d.Label_fin->text(), "End");
  EXPECT_TRUE(b.d.Button_df->isEnabled());
  // The set-up removed the Begin line, which the editor drew.
  EXPECT_EQ(b.marques.visibles(), 1);
  b.d.ScrollBar_sommet->setValue(250);
  b.d.ScrollBar_base->setValue(300);
  EXPECT_EQ(b.d.sommet, 200);
  EXPECT_EQ(b.d.ScrollBar_sommet->value(), 200);
  EXPECT_EQ(b.d.fin.sommet, 200);
  b.d.Button_rotate->click();
  b.d.Button_d_f->click();
  EXPECT_EQ(b.d.Label_fin->text(), "Begin");
  EXPECT_EQ(b.d.base, 800);
  b.d.Button_df->click();
  EXPECT_EQ(b.d.fin.base, 800);
  EXPECT_EQ(b.d.fin.apres, b.d.fin.avant + (900 - 800));
  b.d.Button_rotate->click();
  b.d.FormClose();
  // Left: the Begin line removed by the set-up (drawn by the editor), the
  // circles of both sets and the cross the editor draws and removes.
  EXPECT_GT(b.marques.appels, 10);

  Banc r(OUTIL_ROUTE);
  r.d.ScrollBar_sommet->setValue(250);
  r.d.ScrollBar_base->setValue(300);
  EXPECT_EQ(r.d.sommet, 250);
}

// Smoothing's band: the left bar and the first label are its minimum, and the
// minimum never passes the maximum, so the band is never empty.
TEST(DialogueOutil, SmoothingBandKeepsItsOrder) {
  Banc b(OUTIL_LISSAGE);  // after 1500 (the maximum), before 1200 (the minimum)
  EXPECT_EQ(b.d.Label_3->text(), "mini");
  EXPECT_EQ(b.d.Label_4->text(), "maxi");
  EXPECT_EQ(b.d.ScrollBar_alt1->toolTip(), "minimum altitude");
  EXPECT_LT(b.d.ScrollBar_alt1->x(), b.d.ScrollBar_alt->x());
  b.d.ScrollBar_alt->setValue(-1000);  // the maximum pulled below the minimum takes it along
  EXPECT_EQ(b.d.apres, 1000);
  EXPECT_EQ(b.d.avant, 1000);
  EXPECT_EQ(b.d.ScrollBar_alt1->value(), -1000);
  b.d.ScrollBar_alt1->setValue(-1800);  // the minimum stops at the maximum
  EXPECT_EQ(b.d.avant, 1000);
  EXPECT_EQ(b.d.ScrollBar_alt1->value(), -1000);
  b.d.ScrollBar_alt1->setValue(-400);
  EXPECT_EQ(b.d.fin.avant, 400);
  EXPECT_EQ(b.d.fin.apres, 1000);
  EXPECT_EQ(b.d.Label_avant->text(), "400");
}

// F1 shows the tool's topic; the dialog has a fixed dialog's frame and size.
TEST(DialogueOutil, F1ShowsTheToolTopicInAFixedFrame) {
  Banc b(OUTIL_CONE);
  EXPECT_EQ(sujets_sur_f1(b.d), (std::vector<int>{4028}));
  EXPECT_FALSE(b.d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(b.d.windowFlags() & Qt::WindowSystemMenuHint);
  EXPECT_EQ(b.d.minimumSize(), b.d.maximumSize());
}
