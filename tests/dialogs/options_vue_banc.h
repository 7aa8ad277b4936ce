// What the view options tests share: a page built from a record over a
// context of one cone mountain, the dialog over two views of it, and the
// user's gestures on the controls, which are found by their names.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "controls/checkbox.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_page.h"
#include "fenetres/elements_pages.h"
#include "fenetres/rendu.h"
#include "tests/support/rendus.h"
#include "model/defauts.h"
#include "model/matrice.h"
#include "tests/support/terrains.h"

namespace banc_options_vue {

inline param_vue vue_defaut() {
  param_vue v;
  valeurs_defaut_vue(v);
  return v;
}

inline dialogs::EntreesOptionsVue entrees_vides() {
  dialogs::EntreesOptionsVue e;
  e.vue = vue_defaut();
  e.parametres = parametres_test(5);
  return e;
}

// The named control of a widget; the test stops when it is missing.
template <class T = QWidget>
T* element(const QWidget* w, const char* nom) {
  T* c = w->findChild<T*>(nom);
  EXPECT_NE(c, nullptr) << nom;
  return c;
}

// --- the user's gestures
// Types a text over an edit's and leaves it with Return.
inline void taper(QLineEdit* e, const QString& texte) {
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Delete);
  QTest::keyClicks(e, texte);
  QTest::keyClick(e, Qt::Key_Return);
}
inline void cliquer(QWidget* w, QPoint p = {}) {
  QTest::mouseClick(w, Qt::LeftButton, {}, p.isNull() ? w->rect().center() : p);
}
// Drags a scroll bar's thumb to a position and lets it go.
inline void glisser(QScrollBar* b, int position, bool lacher = true) {
  b->setSliderDown(true);
  b->setSliderPosition(position);
  if (lacher) b->setSliderDown(false);
}
// Chooses an item of a list with the arrow keys.
inline void choisir(QComboBox* c, int rang) {
  while (c->currentIndex() < rang) QTest::keyClick(c, Qt::Key_Down);
  while (c->currentIndex() > rang) QTest::keyClick(c, Qt::Key_Up);
}
// Moves the mouse over a widget without a button held.
inline void survoler(QWidget* w, QPoint p) {
  QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
// Holds a stepping button down, then lets it go.
inline void appuyer(QWidget* b) { QTest::mousePress(b, Qt::LeftButton, {}, b->rect().center()); }
inline void relacher(QWidget* b) { QTest::mouseRelease(b, Qt::LeftButton, {}, b->rect().center()); }
// One tick of a page's timer.
inline void tic(QObject* minuterie) { QMetaObject::invokeMethod(minuterie, "timeout"); }

// A page of type P built from a record, over a context of one cone mountain
// (slot 1, displayed) whose samples fill the preview terrains.
template <class P>
struct BancPage {
  std::unique_ptr<Tmatrice> terrain;
  param_vue vue = vue_defaut();
  dialogs::ContexteOptionsVue contexte;
  std::unique_ptr<P> page;

  explicit BancPage(bool factice = true) {
    test_rendus::controle_rendus().effacer();
    if (factice) test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(255, 255, 255);
    terrain = terrain_synthetique("cone", 6, 1500);
    contexte.terrains[1] = terrain.get();
    contexte.montagnes[1] = dialogs::decrire_montagne(*terrain);
    contexte.montagne_affichee = 1;
  }
  ~BancPage() { test_rendus::controle_rendus().effacer(); }

  template <class... A>
  P& ouvrir(const std::string& dossier_programme = {}, A&&... a) {
    contexte.preparer(parametres_test(5), dossier_programme);
    page = std::make_unique<P>(vue, contexte, nullptr, std::forward<A>(a)...);
    page->resize(602, 330);
    page->charger(vue);
    page->show();
    return *page;
  }
  // The record with the page's fields stored into it.
  param_vue rangee() const {
    param_vue v = vue;
    page->ranger(v);
    return v;
  }
  template <class T = QWidget>
  T* operator()(const char* nom) const {
    return element<T>(page.get(), nom);
  }
  // Runs the page's scheduled previews.
  void calculer() {
    for (fenetres::PreviewBox* b : page->template findChildren<fenetres::PreviewBox*>()) b->calculer();
  }
};

// The dialog over two views A (slot 1, active) and B (slot 3) of a cone mountain.
struct Banc {
  std::unique_ptr<Tmatrice> terrain;
  dialogs::EntreesOptionsVue e = entrees_vides();
  std::unique_ptr<dialogs::TPagesDlg2> d;

  explicit Banc(int vues = 2, bool factice = true) {
    test_rendus::controle_rendus().effacer();
    if (factice) test_rendus::controle_rendus().couleur_factice = render::pixel_rgb(255, 255, 255);
    terrain = terrain_synthetique("cone", 6, 1500);
    e.montagne_courante = 1;
    e.terrains[1] = terrain.get();
    e.montagnes[1] = dialogs::decrire_montagne(*terrain);
    for (int k = 0; k < vues; ++k) {
      dialogs::DocumentOptionsVue doc;
      doc.titre = k == 0 ? "View #  1 :  a.mat" : "View #  3 :  a.mat";
      doc.parametres = vue_defaut();
      doc.parametres.angle_horizontal = 10 * (k + 1);
      doc.montagne = 1;
      doc.numero = static_cast<std::uint16_t>(k == 0 ? 1 : 3);
      doc.largeur_image = 500;
      doc.hauteur_image = 300;
      e.documents.push_back(doc);
    }
    if (vues) e.vue_courante = 1;
  }
  dialogs::TPagesDlg2& ouvrir(int page = 1) {
    e.page = static_cast<std::uint16_t>(page);
    d = std::make_unique<dialogs::TPagesDlg2>();
    d->remplir(e);
    d->show();
    return *d;
  }
  template <class T = QWidget>
  T* operator()(const char* nom) const {
    return element<T>(d.get(), nom);
  }
  param_vue vue() const { return d->sorties().vue; }
  void calculer() {
    for (fenetres::PreviewBox* b : d->findChildren<fenetres::PreviewBox*>()) b->calculer();
  }
  ~Banc() { test_rendus::controle_rendus().effacer(); }
};

}  // namespace banc_options_vue
