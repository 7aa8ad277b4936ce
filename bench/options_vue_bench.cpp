// The previews of the view options dialog, through the real dialog offscreen
// and its controls: the framing previews (the coarse preview with its wire
// mesh, what a drag redraws every 100 ms tick; the sampled preview; the
// detailed display of a generated degree-11 terrain), each at the framing
// box's size, and the tree preview.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <chrono>

#include "bench/application_bench.h"
#include "bench/terrains_bench.h"
#include "dialogs/options_vue.h"
#include "dialogs/options_vue_calculs.h"
#include "fenetres/elements_pages.h"
#include "model/defauts.h"

namespace {

dialogs::EntreesOptionsVue entrees(int page) {
  application_bench();
  Tmatrice& t = terrain_genere_bench(11, 7);
  dialogs::EntreesOptionsVue e;
  valeurs_defaut_vue(e.vue);
  valeurs_defaut_matrice(e.parametres);
  e.montagne_courante = 1;
  e.terrains[1] = &t;
  e.montagnes[1] = dialogs::decrire_montagne(t);
  e.page = static_cast<std::uint16_t>(page);
  return e;
}

// Times the preview's render alone, not the control that asked for it.
void rendre(benchmark::State& state, fenetres::PreviewBox* apercu) {
  const auto debut = std::chrono::steady_clock::now();
  apercu->calculer();
  state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count());
}

template <class T>
T* element(QWidget* d, const char* nom) {
  return d->findChild<T*>(nom);
}

dialogs::TPagesDlg2& dialogue_cadrage() {
  static dialogs::TPagesDlg2* d = [] {
    const dialogs::EntreesOptionsVue e = entrees(2);
    auto* dialogue = new dialogs::TPagesDlg2;
    dialogue->remplir(e);
    element<fenetres::PreviewBox>(dialogue, "Image_cadrage")->calculer();
    element<QAbstractButton>(dialogue, "Button_detail_lock")->click();  // no permanent detailed display
    return dialogue;
  }();
  return *d;
}

// 0: coarse terrain with wire mesh, 1: sampled terrain, 2: detailed display.
void ViewPreview(benchmark::State& state) {
  dialogs::TPagesDlg2& d = dialogue_cadrage();
  auto* apercu = element<fenetres::PreviewBox>(&d, "Image_cadrage");
  auto* moins = element<QAbstractButton>(&d, "Zoom_moins");
  QWidget* detail = element<QWidget>(&d, "Button_detail");
  const int genre = int(state.range(0));
  for (auto _ : state) {
    if (genre == 2)
      QMetaObject::invokeMethod(detail, "clicked");
    else if (genre == 1)
      emit moins->released();  // a released button redraws from the sampled terrain
    else
      emit moins->pressed();  // a held button redraws from the coarse one (the zoom stays at 1:1)
    rendre(state, apercu);
  }
}
BENCHMARK(ViewPreview)->UseManualTime()->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

dialogs::TPagesDlg2& dialogue_arbres() {
  static dialogs::TPagesDlg2* d = [] {
    dialogs::EntreesOptionsVue e = entrees(3);
    for (auto& c : e.vue.arbres) {
      c.espece = 1;
      dialogs::defauts_espece(c, 1);
      c.hauteur = 20;
      c.couleur = 1;
    }
    e.vue.foret = e.vue.detail_arbres = 1;
    e.montagnes[1]->especes = {0, 1, 1, 1, 1, 1, 1};  // every layer present
    auto* dialogue = new dialogs::TPagesDlg2;
    dialogue->remplir(e);
    element<fenetres::PreviewBox>(dialogue, "Image_arbres")->calculer();
    return dialogue;
  }();
  return *d;
}

// The tree preview at its box's size: one tree, the detailed drawing, and all
// six layers side by side (0, 1, 2).
void TreePreview(benchmark::State& state) {
  dialogs::TPagesDlg2& d = dialogue_arbres();
  auto* apercu = element<fenetres::PreviewBox>(&d, "Image_arbres");
  auto* tourner = element<QAbstractButton>(&d, "Tourner_D");
  auto* detaille = element<QAbstractButton>(&d, "Button_A2");
  auto* couches = element<QAbstractButton>(&d, "Button_a1");
  const int genre = int(state.range(0));
  for (auto _ : state) {
    if (genre == 1) detaille->click();
    else if (genre == 2) couches->click();
    else emit tourner->released();  // the tree drawn again as it stands
    rendre(state, apercu);
  }
}
BENCHMARK(TreePreview)->UseManualTime()->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
