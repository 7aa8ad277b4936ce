// A map editor tool run without any window: a scripted host records what the
// session asks for (with the state it was in), a fake clock fires the 750 ms
// and 900 ms timers, and each row of the table is one run: a stroke, a click,
// a dialog tool, cancel mid-stroke, a waiting run overtaken by a new press,
// undo, and their failures.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dialogs/edition_session.h"
#include "tests/support/terrains.h"

using namespace dialogs;

namespace {

// The two timers on a clock that moves only when told.
struct HorlogeFactice : MinuteriesOutil {
  SessionOutil* session = nullptr;
  std::map<Minuterie, int> echeances;
  int maintenant = 0;
  void armer(Minuterie m) override { echeances[m] = maintenant + (m == Minuterie::execution_differee ? 750 : 900); }
  void arreter(Minuterie m) override { echeances.erase(m); }
  bool armee(Minuterie m) const override { return echeances.count(m) != 0; }
  void avancer(int ms) {
    const int fin = maintenant + ms;
    for (;;) {
      auto prochaine = echeances.end();
      for (auto it = echeances.begin(); it != echeances.end(); ++it)
        if (it->second <= fin && (prochaine == echeances.end() || it->second < prochaine->second)) prochaine = it;
      if (prochaine == echeances.end()) break;
      maintenant = prochaine->second;
      const Minuterie m = prochaine->first;
      echeances.erase(prochaine);
      session->minuterie_ecoulee(m);
    }
    maintenant = fin;
  }
};

struct MarquesComptees : MarquesCarte {
  int n = 0;
  void ligne(PixelCarte, PixelCarte, int) override { ++n; }
  void cercle(PixelCarte, int, int) override { ++n; }
  void croix(PixelCarte, int, int) override { ++n; }
};

// Records the session's requests that make up a run, each with the state the
// session was in ("dialogue:dialogue"), and answers from a script.
struct HoteFactice : HoteOutil {
  SessionOutil* session = nullptr;
  Tmatrice* terrain = nullptr;
  std::vector<std::string> journal;
  std::vector<std::vector<NoeudCarte>> traces;  // the stroke of each dispatcher call
  std::vector<arguments_outil> arguments;
  MarquesComptees inversees;
  int traits = 0, disques = 0, arbres = 0;
  int reponse = 1;        // the dialog's answer
  bool voir = false;      // "see the result" in the dialog
  bool succes = true;     // what the dispatcher reports
  bool oui = true;        // the Undo question
  void noter(const std::string& quoi) { journal.push_back(quoi + ":" + nom_etat(session->etat())); }

  MarquesCarte& marques() override { return inversees; }
  void trait(PixelCarte, PixelCarte) override { ++traits; }
  void disque(PixelCarte, int, int) override { ++disques; }
  void marque_arbre(PixelCarte, int, int) override { ++arbres; }
  void garder_marques() override { noter("garder"); }
  void effacer_marques() override { noter("effacer"); }
  void montrer_rivieres() override { noter("rivieres"); }
  PixelCarte taille_image() const override { return {425, 372}; }
  void afficher_position(PixelCarte, std::int32_t) override {}
  void effacer_jauge() override {}
  void curseur(Curseur) override {}
  void defiler(PixelCarte) override {}
  void deplacer_cible(PixelCarte) override { noter("cible"); }
  void deplacer_observateur(PixelCarte) override { noter("observateur"); }
  void replacer_cible() override {}
  void activer(Activable) override {}
  bool modifier(const arguments_outil& a) override {
    noter("modifier");
    arguments.push_back(a);
    std::vector<NoeudCarte> t;
    for (std::int32_t k = 0; k <= terrain->dernier_point && std::size_t(k) < terrain->trace.size(); ++k)
      t.push_back({terrain->trace[std::size_t(k)].i, terrain->trace[std::size_t(k)].j});
    traces.push_back(t);
    return succes;
  }
  void elever(std::int32_t, bool) override { noter("elever"); }
  void terrain_modifie() override { noter("modifie"); }
  void refaire_carte() override { noter("refaire"); }
  int dialogue(const DemandeOutil& q, ReponseOutil& r) override {
    noter(q.un_point ? "dialogue1" : "dialogue2");
    r.debut = q.debut;
    r.fin = q.fin;
    r.apres = q.fin.apres;
    r.forme = q.fin.forme;
    r.coefficient = q.coefficient;
    r.voir_resultat = voir;
    r.point_affiche = q.pixel_fin;
    return reponse;
  }
  bool confirmer(const std::string&) override {
    noter("confirmer");
    return oui;
  }
};

// One step of a run: a mouse event at pixel `arg` of a row of pixels over
// neighbouring nodes, or the clock moving on by `arg` ms, or a command.
enum class Ev { presse, bouge, lache, attend, annule, defait, outil, eleve };
struct Pas {
  Ev ev;
  int arg = 0;
};

struct Cas {
  const char* nom;
  int position;  // on the tool bar
  std::vector<Pas> pas;
  std::vector<std::string> journal;
  EtatOutil etat;
  std::vector<std::size_t> noeuds;  // stroke length of each dispatcher call
  bool reponse_ok = true, voir = false, succes = true, oui = true;
};

// Presses at 0, moves along 1..k-1 and releases at k-1.
std::vector<Pas> trait(int k) {
  std::vector<Pas> r{{Ev::bouge, 0}, {Ev::presse, 0}};
  for (int i = 1; i < k; ++i) r.push_back({Ev::bouge, i});
  r.push_back({Ev::lache, k - 1});
  return r;
}
std::vector<Pas> clic(int i) { return {{Ev::bouge, i}, {Ev::presse, i}, {Ev::lache, i}}; }
std::vector<Pas> puis(std::vector<Pas> a, const std::vector<Pas>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Banc {
  std::unique_ptr<Tmatrice> terrain = terrain_genere(parametres_test(7));
  HoteFactice hote;
  HorlogeFactice horloge;
  SessionOutil session{hote, horloge};
  std::vector<PixelCarte> pixels;  // a row of pixels, each over the next node

  Banc() {
    hote.session = horloge.session = &session;
    hote.terrain = terrain.get();
    terrain->creer_annulation();
    session.ouvrir(terrain.get());
    PixelCarte p{150, 200};
    pixels.push_back(p);
    for (; pixels.size() < 30; ++p.x)
      if (noeud(p) != noeud(pixels.back())) pixels.push_back(p);
  }
  NoeudCarte noeud(PixelCarte p) const { return pixel_vers_noeud(terrain->n, p.x, p.y, 1); }
  void jouer(const Pas& s) {
    switch (s.ev) {
      case Ev::presse: session.enfoncer(true, pixels[std::size_t(s.arg)]); break;
      case Ev::bouge: session.deplacer(pixels[std::size_t(s.arg)]); break;
      case Ev::lache: session.relacher(true, pixels[std::size_t(s.arg)]); break;
      case Ev::attend: horloge.avancer(s.arg); break;
      case Ev::annule: session.annuler(); break;
      case Ev::defait: session.defaire(); break;
      case Ev::outil: session.choisir_position(s.arg); break;
      case Ev::eleve: session.elevation_coupe(false); break;
    }
  }
};

using J = std::vector<std::string>;

}  // namespace

TEST(SessionOutil, TransitionsOfOneRun) {
  const std::vector<Cas> cas = {
      {"stroke: Shape, two sets, run 750 ms later, map again 900 ms after", 1, puis(trait(12), {{Ev::attend, 749}}),
       J{"dialogue2:dialogue", "garder:en_attente"}, EtatOutil::en_attente, {}, true, true},
      {"stroke, then the clock", 1, puis(trait(12), {{Ev::attend, 750}, {Ev::attend, 900}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution",
         "refaire:repos"},
       EtatOutil::repos, {12}, true, true},
      {"click: Cone, one set, one node", 2, puis(clic(3), {{Ev::attend, 750}}),
       J{"dialogue1:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution"},
       EtatOutil::repos, {1}},
      {"click without a tool does nothing", 0, puis(clic(3), {{Ev::attend, 2000}}), J{}, EtatOutil::repos, {}},
      {"Tree: runs at the release, no dialog, no timer", 9, puis(clic(3), {{Ev::attend, 2000}}),
       J{"modifier:execution", "modifie:execution"}, EtatOutil::repos, {1}},
      {"Target: the marker moves at the press", 10, clic(5),
       J{"cible:enfonce", "modifier:execution", "modifie:execution"}, EtatOutil::repos, {1}},
      {"dialog tool run at once: Copy", 18, puis(clic(4), {{Ev::attend, 2000}}),
       J{"dialogue1:dialogue", "modifier:execution", "modifie:execution"}, EtatOutil::repos, {1}},
      {"dialog tool cancelled: Copy runs nothing", 18, clic(4), J{"dialogue1:dialogue", "effacer:execution"},
       EtatOutil::repos, {}, false},
      {"delayed dialog cancelled: the marks stay until the tick", 1, puis(trait(12), {{Ev::attend, 750}}),
       J{"dialogue2:dialogue", "garder:en_attente", "effacer:execution"}, EtatOutil::repos, {}, false},
      {"run cancelled in its progress window: no change, no second map", 1, puis(trait(12), {{Ev::attend, 2000}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "effacer:execution"}, EtatOutil::repos,
       {12}, true, true, false},
      {"cancel mid-stroke", 1, {{Ev::bouge, 0}, {Ev::presse, 0}, {Ev::bouge, 1}, {Ev::bouge, 2}, {Ev::annule}, {Ev::lache, 2}, {Ev::attend, 2000}},
       J{}, EtatOutil::repos, {}},
      {"cancel while the run waits", 1, puis(trait(12), {{Ev::annule}, {Ev::attend, 2000}}),
       J{"dialogue2:dialogue", "garder:en_attente"}, EtatOutil::repos, {}},
      {"a waiting run overtaken by a new press: the press waits, the run keeps its stroke", 1,
       puis(trait(12), {{Ev::presse, 20}, {Ev::bouge, 21}, {Ev::bouge, 22}, {Ev::lache, 22}, {Ev::attend, 750}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution"},
       EtatOutil::repos, {12}},
      {"a press held over the run goes on as a new stroke", 1,
       puis(trait(12), {{Ev::presse, 20}, {Ev::attend, 750}, {Ev::bouge, 21}, {Ev::bouge, 22}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution"},
       EtatOutil::trace, {12}},
      {"another tool chosen while the run waits: the run keeps its own", 1,
       puis(trait(12), {{Ev::outil, 9}, {Ev::attend, 750}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution"},
       EtatOutil::repos, {12}},
      {"Raise while a run waits: the run goes first", 1, puis(trait(12), {{Ev::eleve}}),
       J{"dialogue2:dialogue", "garder:en_attente", "modifier:execution", "modifie:execution", "effacer:execution",
         "dialogue1:dialogue", "elever:repos", "modifie:repos"},
       EtatOutil::repos, {12}},
      {"undo, agreed", 1, {{Ev::defait}}, J{"confirmer:repos", "modifie:repos", "refaire:repos"}, EtatOutil::repos,
       {}},
      {"undo, refused", 1, {{Ev::defait}}, J{"confirmer:repos"}, EtatOutil::repos, {}, true, false, true, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    Banc b;
    b.hote.reponse = c.reponse_ok ? 1 : 2;
    b.hote.voir = c.voir;
    b.hote.succes = c.succes;
    b.hote.oui = c.oui;
    b.session.choisir_position(c.position);
    for (const Pas& s : c.pas) b.jouer(s);
    EXPECT_EQ(b.hote.journal, c.journal);
    EXPECT_STREQ(nom_etat(b.session.etat()), nom_etat(c.etat));
    std::vector<std::size_t> noeuds;
    for (const auto& t : b.hote.traces) noeuds.push_back(t.size());
    EXPECT_EQ(noeuds, c.noeuds);
    // Each stroke ends on the terrain when its run is over (or cancelled).
    if (c.etat == EtatOutil::repos) {
      EXPECT_FALSE(b.terrain->trace_active);
      EXPECT_TRUE(b.terrain->trace.empty());
      EXPECT_FALSE(b.horloge.armee(Minuterie::execution_differee));
    }
  }
}

// What the waiting run sends is the stroke and the tool it was made with, and
// nothing drawn or recorded while it waited.
TEST(SessionOutil, AWaitingRunIsNotDisturbed) {
  Banc b;
  b.session.choisir_position(1);  // Shape
  for (const Pas& s : trait(12)) b.jouer(s);
  const NoeudCarte premier = b.noeud(b.pixels[0]), dernier = b.noeud(b.pixels[11]);
  const int traits = b.hote.traits;
  EXPECT_EQ(traits, 11);
  EXPECT_TRUE(b.session.en_attente());
  EXPECT_TRUE(b.horloge.armee(Minuterie::execution_differee));
  b.jouer({Ev::outil, 2});  // Cone
  for (const Pas& s : trait(25)) b.jouer(s);  // ignored
  EXPECT_EQ(b.hote.traits, traits);
  EXPECT_FALSE(b.session.sur_terrain());
  b.jouer({Ev::attend, 750});
  ASSERT_EQ(b.hote.traces.size(), 1u);
  EXPECT_EQ(b.hote.traces[0].front(), premier);
  EXPECT_EQ(b.hote.traces[0].back(), dernier);
  EXPECT_EQ(b.hote.arguments[0].outil, OUTIL_FORME);
  // The Cone is the tool from now on.
  for (const Pas& s : clic(4)) b.jouer(s);
  b.jouer({Ev::attend, 750});
  ASSERT_EQ(b.hote.arguments.size(), 2u);
  EXPECT_EQ(b.hote.arguments[1].outil, OUTIL_CONE);
}

// Tree and Color hand their brush to the terrain before they run; a right
// press only reads the node again.
TEST(SessionOutil, BrushesGoToTheTerrainBeforeTheRun) {
  Banc b;
  b.session.choisir_position(9);  // Tree
  b.session.pinceaux.taille_arbre = 33;
  b.session.pinceaux.espece_arbre = 6;
  for (const Pas& s : trait(3)) b.jouer(s);
  EXPECT_EQ(b.terrain->taille_arbre, 33);
  EXPECT_EQ(b.terrain->arbre_courant, 6);
  EXPECT_EQ(b.hote.arbres, 3);  // at the press and at each of the two moves
  b.session.choisir_position(6);  // Color
  b.session.pinceaux.sol = 4;
  b.session.pinceaux.largeur_sol = 8;
  for (const Pas& s : trait(3)) b.jouer(s);
  EXPECT_EQ(b.terrain->sol_courant, 4);
  EXPECT_EQ(b.terrain->largeur_sol, 8);
  EXPECT_EQ(b.hote.disques, 2);
  b.session.enfoncer(false, b.pixels[5]);
  EXPECT_EQ(b.session.etat(), EtatOutil::repos);
  EXPECT_EQ(b.session.noeud(), b.noeud(b.pixels[5]));
}
