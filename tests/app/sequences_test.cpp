// Random sequences of opening, activating, requesting and closing, with fake
// children; the tables must stay consistent after every step.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <random>

#include "app/commandes_options.h"
#include "app/commandes_options_vue.h"
#include "dialogs/options_vue.h"
#include "tests/app/programme_test_support.h"

namespace {

struct Sequence {
  TData& data;
  ScopedFakeUserInterface ui;
  std::unique_ptr<TBasewindow> w;
  std::mt19937 rng;
  int attendu = -1;  // the only slot a save may write now; -1 none allowed
  std::vector<std::string> fautes;

  Sequence(TData& d, unsigned graine) : data(d), rng(graine) {
    w = std::make_unique<TBasewindow>(&data);
    w->etat.demarrage = false;
    w->etat.parametres.maillage = 4;
    w->documents.sauver_document = [this] {
      if (w->etat.montagne_courante != attendu)
        fautes.push_back("save of " + std::to_string(w->etat.montagne_courante) + " while closing " +
                         std::to_string(attendu));
      return true;
    };
    w->documents.enregistrer = [this] {
      fautes.push_back("exit save outside the exit questions");
      return true;
    };
    // The view options dialog answers Cancel at once.
    w->commandes_options_vue().executer = [](const dialogs::EntreesOptionsVue&, dialogs::SortiesOptionsVue&) {
      return 2;
    };
    // The option dialogs of card requests 6, 7 and 8 answer OK or Cancel untouched.
    w->commandes_options().executer_dialogue = [this](QDialog&) { return hasard(2) ? 1 : 2; };
    w->show();
  }

  int hasard(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

  std::vector<FenetreEnfant*> enfants() {
    std::vector<FenetreEnfant*> out;
    for (auto& c : w->cartes)
      if (c) out.push_back(c);
    for (auto& v : w->fenetres_vues)
      if (v) out.push_back(v);
    for (auto& f : w->fenetres_videos)
      if (f) out.push_back(f);
    return out;
  }

  void ouvrir() {
    int m = w->prendre_montagne("m", "card", "node", w->etat.parametres);
    if (!m) return;
    w->etat.montagnes[m].terrain = std::make_unique<Tmatrice>(w->etat.parametres);
    w->etat.montagnes[m].type.a_fichier = static_cast<std::uint8_t>(hasard(2));
    w->etat.montagnes[m].type.fichier = "doc" + std::to_string(m) + ".mat";
    w->etat.montagne_courante = m;
    w->UpdateItems();
  }

  void etape() {
    auto& e = w->etat;
    ui.answers.assign(8, hasard(2) == 1);
    switch (hasard(9)) {
      case 0: ouvrir(); break;
      case 1: {
        int m = 1 + hasard(NOMBRE_MAX_MONTAGNES);
        if (e.montagnes[m].type.utilise) {
          auto* v = new FakeVue;
          v->setWindowTitle("view");
          v->modifiee = static_cast<std::uint8_t>(hasard(2));
          v->a_fichier = static_cast<std::uint8_t>(hasard(2));
          if (!w->ajouter_vue(v, m)) delete v;
        }
        break;
      }
      case 2: {
        int v = 1 + hasard(NOMBRE_MAX_VUES);
        if (e.vues[v].utilise) {
          auto* f = new FakeVideo;
          f->setWindowTitle("video");
          f->refaite = static_cast<std::uint8_t>(hasard(2));
          if (!w->ajouter_video(f, v)) delete f;
        }
        break;
      }
      case 3:
      case 4: {
        auto liste = enfants();
        if (!liste.empty()) w->activer(liste[static_cast<std::size_t>(hasard(static_cast<int>(liste.size())))]);
        break;
      }
      case 5: {
        QWidget* a = w->enfant_actif();
        if (auto* c = dynamic_cast<CarteMontagne*>(a)) {
          c->code_commande = static_cast<std::uint16_t>(hasard(18));
          if (c->code_commande == 3) c->code_commande = 12;  // regeneration belongs to later work
          c->requete_fenetre();
        } else if (auto* v = dynamic_cast<FenetreVue*>(a)) {
          v->code_commande = static_cast<std::uint16_t>(hasard(4));
          v->requete_fenetre();
        }
        break;
      }
      case 6: {
        int v = e.vue_courante;
        if (v && w->fenetres_vues[v]) {
          attendu = e.vues[v].montagne;
          w->fenetres_vues[v]->sauvegarde_demandee = static_cast<std::uint8_t>(hasard(2));
          w->Fermer_vue_active();
        }
        break;
      }
      case 7: {
        int m = e.montagne_courante;
        if (m && !w->edition_active) {
          attendu = m;
          w->Fermer_montagne_active();
        }
        break;
      }
      case 8: {
        for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
          if (e.montagnes[m].type.utilise && hasard(3) == 0) e.montagnes[m].type.modifie_edition = 1;
        // Exit questions: each save is for the slot just asked about.
        std::size_t avant = ui.entries.size();
        w->documents.enregistrer = [this, avant] {
          const std::string& q = ui.entries.back().text;
          std::string attendue = "N°" + std::to_string(w->etat.montagne_courante) + "  ";
          if (ui.entries.size() <= avant || q.find(attendue) == std::string::npos)
            fautes.push_back("exit save of " + std::to_string(w->etat.montagne_courante) + " after: " + q);
          return true;
        };
        if (!w->fermetures().fermer_avant_sortie()) fautes.push_back("exit stopped after a save that was made");
        w->documents.enregistrer = [this] {
          fautes.push_back("exit save outside the exit questions");
          return true;
        };
        break;
      }
    }
    attendu = -1;
    Programme::vider();
    verifier();
  }

  void verifier() {
    auto& e = w->etat;
    int montagnes = 0, vues = 0, videos = 0;
    for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m)
      if (e.montagnes[m].type.utilise) {
        ++montagnes;
        QTreeWidgetItem* n = w->noeuds_montagnes[m];
        if (!n || n->parent()) fautes.push_back("mountain node of " + std::to_string(m));
        if (!w->cartes[m]) fautes.push_back("card of " + std::to_string(m));
      }
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
      if (e.vues[v].utilise) {
        ++vues;
        int m = e.vues[v].montagne;
        if (!e.montagnes[m].type.utilise) fautes.push_back("view of a free mountain");
        if (!w->noeuds_vues[v] || w->noeuds_vues[v]->parent() != w->noeuds_montagnes[m])
          fautes.push_back("view node of " + std::to_string(v));
      }
    for (int f = 1; f <= NOMBRE_MAX_VIDEOS; ++f)
      if (e.videos[f].utilise) {
        ++videos;
        int v = e.videos[f].vue;
        if (!e.vues[v].utilise) fautes.push_back("video of a free view");
        if (!w->noeuds_videos[f] || w->noeuds_videos[f]->parent() != w->noeuds_vues[v])
          fautes.push_back("video node of " + std::to_string(f));
      }
    if (montagnes != e.nombre_montagnes || vues != e.nombre_vues || videos != e.nombre_videos)
      fautes.push_back("counts");
    int noeuds = 0;
    for (QTreeWidgetItemIterator it(w->arbre()); *it; ++it) ++noeuds;
    int editeurs = 0;
    for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) editeurs += w->edition_ouverte[m];
    if (noeuds != montagnes + vues + videos + editeurs) fautes.push_back("node count");
    if (e.montagne_courante && !e.montagnes[e.montagne_courante].type.utilise) fautes.push_back("current mountain");
    if (e.vue_courante && (!e.vues[e.vue_courante].utilise || e.vues[e.vue_courante].montagne != e.montagne_courante))
      fautes.push_back("current view");
  }
};

}  // namespace

TEST(Sequences, TablesStayConsistent) {
  TData data;
  for (unsigned graine = 1; graine <= 500; ++graine) {
    Sequence s(data, graine);
    for (int k = 0; k < 14 && s.fautes.empty(); ++k) s.etape();
    ASSERT_TRUE(s.fautes.empty()) << "sequence " << graine << ": " << s.fautes.front();
  }
}
