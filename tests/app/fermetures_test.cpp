// The closing cascades and the exit questions on the document tables alone:
// a recording host stands for the child windows, scripted answers for the user.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <deque>
#include <map>
#include <set>

#include "app/fermetures.h"
#include "app/options.h"
#include "platform/fichiers.h"
#include "tests/support/fake_fermetures.h"

namespace {

struct FakeQuestions : QuestionsFermeture {
  std::vector<std::string> posees;
  std::deque<bool> reponses;  // No when none left
  bool oui(const std::string& q) override {
    posees.push_back(q);
    if (reponses.empty()) return false;
    const bool r = reponses.front();
    reponses.pop_front();
    return r;
  }
};

struct Cascades : ::testing::Test {
  etat_documents e;
  FakeHoteFermetures h{e};
  FakeQuestions q;
  CascadesFermeture c{e, h, q};

  // Mountain m with a file (or without), an 8x8 terrain and a marked key.
  void montagne(int m, bool fichier = true) {
    auto& t = e.montagnes[m].type;
    t.utilise = 1;
    t.a_fichier = fichier;
    t.fichier = fichier ? "/docs/m" + std::to_string(m) + ".mat" : "";
    t.nom = "New #  " + std::to_string(m);
    t.parametres.cle = 1000 + m;
    t.parametres.maillage = 4;
    e.montagnes[m].terrain = std::make_unique<Tmatrice>(t.parametres);
    ++e.nombre_montagnes;
  }
  void vue(int v, int m) {
    e.vues[v] = {true, m};
    h.vues[v].taille = 20 + v;
    ++e.nombre_vues;
  }
  void video(int w, int v) {
    e.videos[w] = {true, v, e.vues[v].montagne};
    h.videos[w].nombre_images = 30 + w;
    ++e.nombre_videos;
  }
};

}  // namespace

TEST_F(Cascades, AMountainClosesItsEditorViewsAndVideosAfterItsQuestion) {
  for (bool oui : {true, false}) {
    SCOPED_TRACE(oui);
    e = etat_documents{};
    h.appels.clear();
    q.posees.clear();
    montagne(1);
    montagne(3);
    vue(1, 3);
    vue(2, 1);
    vue(4, 3);
    video(2, 4);
    video(5, 2);
    h.editions = {3};
    h.editions_modifiees = {3};
    q.reponses = {oui};
    c.fermer_montagne(3);
    ASSERT_EQ(q.posees, std::vector<std::string>{"Save the modifications of /docs/m3.mat ?"});
    std::vector<std::string> attendu = {"close editor 3", "close view 1", "close view 4", "close video 2",
                                        "remove card 3"};
    if (oui) attendu.insert(attendu.begin(), "save 3");
    EXPECT_EQ(h.appels, attendu);
    EXPECT_FALSE(h.occupe_);
    EXPECT_FALSE(e.montagnes[3].type.utilise);
    EXPECT_FALSE(e.montagnes[3].type.a_fichier);
    EXPECT_EQ(e.montagnes[3].type.modifie_edition, 0);
    EXPECT_EQ(e.montagnes[3].terrain, nullptr);
    EXPECT_EQ(e.nombre_montagnes, 1);
    EXPECT_EQ(e.nombre_vues, 1);
    EXPECT_EQ(e.nombre_videos, 1);
    EXPECT_TRUE(e.vues[2].utilise);
    EXPECT_TRUE(e.videos[5].utilise);
    EXPECT_EQ(e.montagne_courante, 1);
    EXPECT_EQ(e.vue_courante, 0);  // the closing mountain's view was current
  }
}

// Unchanged, or changed without a file: nothing is asked and nothing saved.
// A change of one of its views or videos counts as a change of the mountain.
TEST_F(Cascades, TheMountainsQuestionOnlyWhenItHasAFileAndChanged) {
  struct Cas {
    bool fichier, modifiee, vue_modifiee, video_refaite, question;
  };
  for (Cas cas : {Cas{true, false, false, false, false}, Cas{false, true, true, true, false},
                  Cas{true, true, false, false, true}, Cas{true, false, true, false, true},
                  Cas{true, false, false, true, true}}) {
    SCOPED_TRACE(testing::Message() << cas.fichier << cas.modifiee << cas.vue_modifiee << cas.video_refaite);
    e = etat_documents{};
    h.appels.clear();
    q.posees.clear();
    montagne(2, cas.fichier);
    vue(1, 2);
    vue(3, 2);
    video(1, 3);
    e.montagnes[2].type.modifie_edition = cas.modifiee;
    h.vues_modifiees = cas.vue_modifiee ? std::set<int>{1} : std::set<int>{};
    h.videos_refaites = cas.video_refaite ? std::set<int>{1} : std::set<int>{};
    q.reponses = {true};
    c.fermer_montagne(2);
    EXPECT_EQ(q.posees.size(), cas.question ? 1u : 0u);
    EXPECT_EQ(h.appels.front() == "save 2", cas.question);
    EXPECT_EQ(e.nombre_montagnes, 0);
    EXPECT_EQ(e.montagne_courante, 0);
  }
}

TEST_F(Cascades, AClosedViewIsSavedWhenItsQuestionSaidYesAndTakesItsVideos) {
  montagne(1);
  montagne(2);
  vue(2, 1);
  vue(5, 2);
  vue(7, 2);
  video(1, 5);
  video(3, 7);
  e.montagnes[2].type.parametres.cle = 77;
  h.vues_modifiees = {5};
  h.vues_a_sauver = {5};
  e.montagne_courante = 1;
  c.fermer_vue(5);
  EXPECT_EQ(h.appels, (std::vector<std::string>{"save 2", "free picture 5", "close video 1", "remove view 5"}));
  EXPECT_EQ(e.parametres.cle, 77);
  EXPECT_EQ(e.vue.taille, 25);
  EXPECT_TRUE(q.posees.empty());
  EXPECT_FALSE(e.videos[1].utilise);
  EXPECT_EQ(e.nombre_vues, 2);
  EXPECT_EQ(e.nombre_videos, 1);
  // The lowest open view and its mountain become current.
  EXPECT_EQ(e.vue_courante, 2);
  EXPECT_EQ(e.montagne_courante, 1);
  // Modified but the user said No to its own question: nothing saved.
  h.appels.clear();
  h.vues_modifiees = {7};
  c.fermer_vue(7);
  EXPECT_EQ(h.appels, (std::vector<std::string>{"close video 3", "remove view 7"}));
  // A view whose mountain is gone keeps its node out of the tree.
  h.appels.clear();
  e.montagnes[1].type.utilise = 0;
  c.fermer_vue(2);
  EXPECT_EQ(h.appels, (std::vector<std::string>{"remove view, no node 2"}));
  EXPECT_EQ(e.vue_courante, 0);
  EXPECT_EQ(e.nombre_vues, 0);
}

TEST_F(Cascades, AClosedVideoIsSavedOnlyWhenAskedAndRemade) {
  montagne(1);
  vue(2, 1);
  video(4, 2);
  video(6, 2);
  for (bool refaite : {false, true}) {
    h.appels.clear();
    e.videos[4] = {true, 2, 1};
    e.nombre_videos = 2;
    h.videos_a_sauver = {4};
    h.videos_refaites = refaite ? std::set<int>{4} : std::set<int>{};
    c.fermer_video(4);
    std::vector<std::string> attendu = {"remove video 4"};
    if (refaite) attendu.insert(attendu.begin(), "save 1");
    EXPECT_EQ(h.appels, attendu);
    EXPECT_TRUE(h.videos_refaites.empty());
    EXPECT_EQ(e.nombre_videos, 1);
    EXPECT_EQ(e.video_courante, 6);
    EXPECT_EQ(e.vue_courante, 2);
  }
  EXPECT_EQ(e.video.nombre_images, 34);  // the saved video's own settings
}

TEST_F(Cascades, AClosedEditorAsksForItsMountainAndKeepsTheCurrentOne) {
  montagne(1);
  montagne(2);
  e.montagne_courante = 1;
  h.editions_modifiees = {2};
  q.reponses = {true};
  c.fermer_edition(2);
  EXPECT_EQ(q.posees, std::vector<std::string>{"Save the modifications of /docs/m2.mat ?"});
  EXPECT_EQ(h.appels, (std::vector<std::string>{"save 2", "remove editor 2"}));
  EXPECT_EQ(e.montagne_courante, 1);
  EXPECT_EQ(e.montagnes[2].type.modifie_edition, 0);
  // Unchanged: no question.
  h.appels.clear();
  h.editions_modifiees.clear();
  c.fermer_edition(1);
  EXPECT_EQ(q.posees.size(), 1u);
  EXPECT_EQ(h.appels, std::vector<std::string>{"remove editor 1"});
  // A Yes whose save wrote nothing leaves the mountain edited.
  h.editions_modifiees = {2};
  q.reponses = {true};
  h.enregistrements = {false};
  c.fermer_edition(2);
  EXPECT_EQ(e.montagnes[2].type.modifie_edition, 1);
}

// An editor closed on a mountain without a file asks nothing and saves
// nothing: the mountain stays edited, and the exit asks about it.
TEST_F(Cascades, AnEditedMountainWithoutAFileStaysEditedOnceItsEditorCloses) {
  montagne(1, false);
  h.editions_modifiees = {1};
  c.fermer_edition(1);
  EXPECT_TRUE(q.posees.empty());
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  h.editions_modifiees.clear();
  q.reponses = {true};
  ASSERT_TRUE(c.fermer_avant_sortie());
  EXPECT_EQ(q.posees, std::vector<std::string>{"Before exit, do you want to save modifications on  N\u00b01  New #  1 ?"});
  EXPECT_EQ(h.sauvegardes, std::vector<int>{1});
}

// Once the exit goes through, no view or video is left changed: their own
// closing questions would come after everything is decided, and nothing
// would carry out their Yes.
TEST_F(Cascades, AnExitThatGoesThroughLeavesNoWindowChanged) {
  QTemporaryDir dossier;
  e.dossier_programme = dossier.path().toStdString();
  montagne(1, false);  // made from its key alone: not asked about
  vue(1, 1);
  vue(2, 1);
  video(3, 1);
  h.vues_modifiees = {1, 2};
  h.videos_refaites = {3};
  ASSERT_TRUE(c.sortir());
  EXPECT_TRUE(q.posees.empty());
  EXPECT_TRUE(h.vues_modifiees.empty());
  EXPECT_TRUE(h.videos_refaites.empty());
}

// Every mountain changed directly or through a view with a file, a remade
// video with a file or its editor is asked about, in slot order; a save that
// was not made (failed write, Cancel in "Save as") stops the exit there.
TEST_F(Cascades, ExitQuestionsInSlotOrderAndAFailedSaveStops) {
  for (bool echec : {false, true}) {
    SCOPED_TRACE(echec);
    e = etat_documents{};
    h.appels.clear();
    h.sauvegardes.clear();
    q.posees.clear();
    montagne(1);
    montagne(2, false);
    montagne(3);
    montagne(4);
    montagne(5);
    vue(1, 1);
    vue(2, 3);
    video(1, 2);
    h.vues_avec_fichier = {1};
    h.vues_modifiees = {1, 2};  // view 2 has no file: it does not count
    h.videos_avec_fichier = {1};
    h.videos_refaites = {1};
    h.editions = {4};
    h.editions_modifiees = {4};
    e.montagnes[2].type.modifie_edition = 1;
    q.reponses = {false, true, true, true};
    h.enregistrements = {true, true, !echec};
    EXPECT_EQ(c.fermer_avant_sortie(), !echec);
    std::vector<std::string> questions = {
        "Before exit, do you want to save modifications on  N\u00b01  /docs/m1.mat ?",
        "Before exit, do you want to save modifications on  N\u00b02  New #  2 ?",
        "Before exit, do you want to save modifications on  N\u00b03  /docs/m3.mat ?",
        "Before exit, do you want to save modifications on  N\u00b04  /docs/m4.mat ?"};
    EXPECT_EQ(q.posees, questions);
    EXPECT_EQ(h.sauvegardes, (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(e.montagnes[1].type.modifie_edition, 0);
    EXPECT_FALSE(h.vues_modifiees.count(1));
    EXPECT_TRUE(h.vues_modifiees.count(2));
    EXPECT_TRUE(h.editions_modifiees.empty());
    EXPECT_EQ(e.montagnes[4].type.modifie_edition, echec ? 1 : 0);
    EXPECT_EQ(e.montagnes[4].type.utilise, 1);
  }
}

// The exit's save writes the mountain with its own view and video, never
// another mountain's, even when the slot still names them.
TEST_F(Cascades, TheExitSaveTakesTheMountainsOwnViewAndVideo) {
  montagne(1);
  montagne(2, false);
  vue(1, 1);
  vue(3, 2);
  vue(4, 2);
  video(2, 3);
  video(5, 1);
  e.montagnes[2].type.no_vue = 1;  // another mountain's view
  e.montagnes[2].type.no_video = 5;
  e.montagnes[2].type.modifie_edition = 1;
  e.montagnes[2].type.parametres.cle = 88;
  q.reponses = {true};
  ASSERT_TRUE(c.fermer_avant_sortie());
  EXPECT_EQ(h.sauvegardes, std::vector<int>{2});
  EXPECT_EQ(e.parametres.cle, 88);
  EXPECT_EQ(e.vue.taille, 24);
  EXPECT_EQ(e.vue_courante, 4);  // no file: "Save as" takes the kind from the current view
  EXPECT_EQ(e.video_courante, 0);
  // With its own view and video named and a file, the save finds the view itself.
  e.montagnes[1].type.no_vue = 1;
  e.montagnes[1].type.no_video = 5;
  e.montagnes[1].type.modifie_edition = 1;
  q.reponses = {true};
  ASSERT_TRUE(c.fermer_avant_sortie());
  EXPECT_EQ(e.vue.taille, 21);
  EXPECT_EQ(e.video.nombre_images, 35);
  EXPECT_EQ(e.vue_courante, 0);
  EXPECT_EQ(e.video_courante, 5);
}

// The exit keeps the sections on disk and writes the starting file and the
// recent list; a stopped exit leaves the options file as it was.
TEST_F(Cascades, TheExitRewritesTheOptionsFileOnlyWhenItGoesThrough) {
  QTemporaryDir dossier;
  e.dossier_programme = dossier.path().toStdString();
  etat_documents disque;
  disque.vue.largeur_image = 555;
  ASSERT_TRUE(Sauve_options(disque, e.chemin_options()).empty());
  const std::string avant = *lire_fichier(e.chemin_options());
  montagne(1);
  e.montagnes[1].type.modifie_edition = 1;
  e.vue.largeur_image = 999;
  e.recents = {"/docs/m1.mat"};
  e.fichier_courant = "/docs/m1.mat";
  e.demarrer_sur_fichier = true;
  q.reponses = {true};
  h.enregistrements = {false};
  EXPECT_FALSE(c.sortir());
  EXPECT_FALSE(h.occupe_);
  EXPECT_EQ(*lire_fichier(e.chemin_options()), avant);
  q.reponses = {false};
  EXPECT_TRUE(c.sortir());
  EXPECT_TRUE(h.occupe_);
  const std::string apres = *lire_fichier(e.chemin_options());
  const std::string tete = "22222\r\n/docs/m1.mat\r\n>/docs/m1.mat\r\n";
  EXPECT_EQ(apres.substr(0, tete.size()), tete);
  EXPECT_EQ(apres.substr(tete.size()), avant.substr(7));  // the sections on disk, not the run's
}
