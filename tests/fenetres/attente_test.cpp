// The progress window: gauge rules, layout, and cancelling real work with it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTimer>

#include "fenetres/attente.h"
#include "fenetres/donnees_images.h"
#include "controls/button.h"
#include "controls/fill.h"
#include "controls/progress.h"
#include "model/matrice.h"
#include "model/outils.h"
#include "platform/messages.h"

namespace {

struct Fenetre {
  WindowHandle h = platform::register_window([](const platform::Message&) -> std::intptr_t { return 0; });
  ~Fenetre() { platform::unregister_window(h); }
};

}  // namespace

TEST(Attente, GaugeSteps) {
  TAttente a;
  EXPECT_EQ(a.Gauge1->Position(), 52);  // a new window shows 52% until the first phase
  EXPECT_EQ(a.Gauge1->Text(), "52%");
  a.avancer("Phase ...", 0);
  EXPECT_EQ(a.Gauge1->Position(), 0);
  for (int k = 0; k < 30; ++k) a.avancer(std::nullopt, 5);
  EXPECT_EQ(a.Gauge1->Position(), 95);
  a.avancer("Other ...", 100);
  EXPECT_EQ(a.Gauge1->Position(), 95);
  EXPECT_EQ(a.legende(), "Other ...");
  a.avancer(std::nullopt, 0);
  EXPECT_EQ(a.Gauge1->Position(), 0);
  EXPECT_EQ(a.legende(), "Other ...");
}

// The phase caption is shown whole on its line, while the title bar keeps
// "Waiting", short enough for any window manager: a long caption widens the
// window, gauge and button stay in the middle under it on their plate, and a
// shorter one later keeps the width.
TEST(Attente, LongCaptionsAreShownWhole) {
  TData data;
  TAttente a;
  int largeur = a.width();
  for (const char* legende : {"Fractal generation ...", "Shadows casted processing ...",
                              "3D Image computation doing ...", "Return to ground generation ...  ",
                              "A tree very detailed ...  ", "Streaming processing ...  "}) {
    a.avancer(legende, 0);
    EXPECT_EQ(a.windowTitle(), "Waiting");
    EXPECT_EQ(a.legende(), legende);
    EXPECT_EQ(a.Legende->text(), QString(legende).trimmed());
    EXPECT_TRUE(a.Plaque->geometry().contains(a.Gauge1->geometry()));
    EXPECT_TRUE(a.Plaque->geometry().contains(a.BitBtn1->geometry()));
    EXPECT_LE(a.Legende->geometry().bottom(), a.Plaque->geometry().top());
    EXPECT_LE(a.Legende->fontMetrics().horizontalAdvance(a.Legende->text()), a.Legende->width()) << legende;
    EXPECT_TRUE(a.rect().contains(a.Legende->geometry()));
    EXPECT_LE(a.Legende->geometry().bottom(), a.Gauge1->geometry().top());
    EXPECT_EQ(a.Gauge1->x() - 16, (a.width() - 270) / 2) << legende;
    EXPECT_EQ(a.BitBtn1->x() - 72, (a.width() - 270) / 2) << legende;
    EXPECT_EQ(a.CtlFill1->geometry(), a.rect());
    EXPECT_GE(a.width(), largeur);
    largeur = a.width();
  }
  a.avancer("Shadows casted processing ...", 0);
  a.grab().toImage().save(QCoreApplication::applicationDirPath() + "/progress_window_caption.png");
  a.avancer("Hi", 0);
  EXPECT_EQ(a.width(), largeur);
  a.avancer(std::nullopt, 5);
  EXPECT_EQ(a.Legende->text(), "Hi");
}

TEST(Attente, DetailedTreePhaseIsNested) {
  TAttente a;
  a.avancer("Trees ...", 0);
  for (int k = 0; k < 12; ++k) a.avancer(std::nullopt, 5);
  ASSERT_EQ(a.Gauge1->Position(), 60);
  a.avancer("A tree very detailed ...  ", 0);
  EXPECT_EQ(a.Gauge1->Position(), 0);
  EXPECT_TRUE(a.position_sauvee());
  a.avancer(std::nullopt, 10);
  a.avancer("Trees ...", 0);
  EXPECT_EQ(a.Gauge1->Position(), 60);
  EXPECT_FALSE(a.position_sauvee());
  a.avancer("Trees ...", 0);
  EXPECT_EQ(a.Gauge1->Position(), 0);

  // A tree caption without the two trailing blanks is an ordinary phase.
  a.avancer(std::nullopt, 30);
  a.avancer("A tree very detailed ...", 0);
  EXPECT_FALSE(a.position_sauvee());

  a.avancer(std::nullopt, 40);
  a.avancer("A tree very detailed ...  ", 0);
  a.demarrer(0);  // forgets the saved position
  EXPECT_FALSE(a.position_sauvee());
  EXPECT_EQ(a.position_memorisee(), 0);
  a.avancer("Next ...", 0);
  EXPECT_EQ(a.Gauge1->Position(), 0);
}

TEST(Attente, FormLayout) {
  TData data;
  TAttente a;
  EXPECT_TRUE(a.isVisible());
  EXPECT_EQ(a.windowTitle(), "Waiting");
  EXPECT_EQ(a.size(), QSize(270, 112));
  EXPECT_EQ(a.Gauge1->geometry(), QRect(16, 32, 227, 28));
  EXPECT_EQ(a.BitBtn1->geometry(), QRect(72, 70, 97, 25));
  EXPECT_EQ(a.CtlFill1->geometry(), QRect(0, 0, 270, 112));
  EXPECT_EQ(a.BitBtn1->text(), "Cancel");
  const Qt::WindowFlags f = a.windowFlags();
  EXPECT_TRUE(f & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(f & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(f & Qt::WindowSystemMenuHint);
  EXPECT_EQ(a.windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(a.Gauge1->font().pixelSize(), 16);
  EXPECT_TRUE(a.font().bold());

  // The fill tiles the background picture from inside its raised bevel.
  const QImage picture = data.BitmapList.GetImage(images::kBackground, 0).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(picture.isNull());
  const QImage fill = a.CtlFill1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(fill.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(fill.pixel(3 + 40, 3 + 50), picture.pixel(40, 50));
  EXPECT_FALSE(a.BitBtn1->Glyph().Glyph().isNull());

  a.Gauge1->SetPosition(37);
  const QImage window = a.grab().toImage();
  window.save(QCoreApplication::applicationDirPath() + "/progress_window.png");
  // Between the gauge and the button, and beside the button, the plate is plain.
  const QImage face = window.convertToFormat(QImage::Format_RGB32);
  const QRgb plain = ColorToRgb(clBtnFace).rgb();
  for (int x = a.Gauge1->x(); x <= a.Gauge1->geometry().right(); ++x)
    for (int y = a.Gauge1->geometry().bottom() + 1; y < a.BitBtn1->y(); ++y)
      ASSERT_EQ(face.pixel(x, y), plain) << x << "," << y;
  for (int x = a.Plaque->x() + 1; x < a.BitBtn1->x(); ++x) ASSERT_EQ(face.pixel(x, a.BitBtn1->y() + 12), plain) << x;

  // Escape never closes the window.
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(&a, &esc);
  EXPECT_TRUE(a.isVisible());
}

namespace {

// Whole-terrain smoothing of a degree-9 terrain whose edges hold 300.
struct Travail {
  Fenetre fenetre;
  std::unique_ptr<Tmatrice> m;
  controle_outil c;
  Travail() {
    param_mat p;
    p.maillage = 9;
    p.cible = {0.333, 0.333};
    m = std::make_unique<Tmatrice>(p);
    m->nombre_noeuds = static_cast<std::uint16_t>(m->n);
    for (int i = 1; i <= m->n; ++i)
      for (int j = 1; i + j <= m->n + 1; ++j) {
        const bool bord = i == 1 || j == 1 || i + j == m->n + 1;
        m->hauteurs->ecrire(i, j, bord ? 300 : ((i * 37 + j * 91) % 700));
      }
    c.fenetre = fenetre.h;
  }
  void lancer(TAttente& a) {
    c.attente = &a;
    arguments_outil args;
    args.largeur_base_debut = 8000;
    args.valeur = 20;
    args.altitude_finale_debut = 4000;
    args.altitude_initiale_debut = -2000;
    args.outil = OUTIL_LISSAGE;
    m->debut_trace(100, 100);
    m->modifier(args, c);
    m->fin_trace();
  }
  bool bord_intact() const {
    for (int k = 1; k <= m->n; ++k)
      if (m->hauteurs->lire(1, k) != 300 || m->hauteurs->lire(k, 1) != 300) return false;
    return true;
  }
};

}  // namespace

TEST(AttenteAnnulation, EscapeStopsTheTool) {
  Travail t;
  TAttente a;
  QCoreApplication::postEvent(&a, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
  t.lancer(a);
  EXPECT_FALSE(t.c.continuer);
  EXPECT_TRUE(t.bord_intact());
  EXPECT_EQ(a.legende(), "Smooth processing ...");
  EXPECT_EQ(a.fenetre_notifiee(), t.fenetre.h);
  EXPECT_FALSE(cancel_requested(t.fenetre.h));
}

TEST(AttenteAnnulation, CancelClickStopsTheTool) {
  Travail t;
  TAttente a;
  QTimer::singleShot(0, a.BitBtn1, [&a] { a.BitBtn1->click(); });
  t.lancer(a);
  EXPECT_FALSE(t.c.continuer);
  EXPECT_TRUE(t.bord_intact());
  EXPECT_EQ(a.legende(), "");
  EXPECT_EQ(a.Gauge1->Position(), 0);
}

TEST(AttenteAnnulation, OtherKeysAndOldMessagesDoNotCancel) {
  {
    Travail t;
    TAttente a;
    QCoreApplication::postEvent(&a, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    t.lancer(a);
    EXPECT_TRUE(t.c.continuer);
    EXPECT_EQ(t.m->hauteurs->lire(1, 50), -1000);  // the rim is laid
  }
  {
    Travail t;
    TAttente a;
    platform::post(t.fenetre.h, platform::WM_CANCEL);  // left over from earlier work
    t.lancer(a);
    EXPECT_TRUE(t.c.continuer);
    EXPECT_EQ(t.m->hauteurs->lire(50, 1), -1000);
  }
}
