// Save, open and remove commands with a fake host, scripted dialogs and answers.
#include <gtest/gtest.h>
#include <jpeglib.h>

#include <filesystem>
#include <tuple>

#include "app/commandes_fichier.h"
#include "app/fermetures.h"
#include "app/images_qt.h"
#include "app/options.h"
#include "platform/fichiers.h"
#include "app/sections.h"
#include "render/bmp.h"
#include "render/jpeg.h"
#include "tests/support/fake_documents.h"
#include "tests/support/fake_fermetures.h"
#include "tests/support/fakes.h"
#include "tests/support/films.h"

namespace fs = std::filesystem;

namespace {

class Commandes : public ::testing::Test {
 protected:
  void SetUp() override {
    d_ = fs::temp_directory_path() / ("quorvel-commandes-" + std::to_string(::getpid()));
    fs::remove_all(d_);
    fs::create_directories(d_ / "temp");
    e.dossier_programme = d_.string();
    e.parametres = param_mat_defaut();
    e.vue = param_vue_defaut();
    e.video = param_video_defaut();
  }
  void TearDown() override { fs::remove_all(d_); }

  std::string chemin(const std::string& nom) const { return (d_ / nom).string(); }
  std::string contenu(const std::string& nom) const { return lire_fichier(chemin(nom)).value_or("<missing>"); }

  // A new mountain in slot m (no file), made current.
  void nouvelle_montagne(int m = 1) {
    param_mat p = param_mat_defaut();
    p.maillage = 4;
    e.montagnes[m].type.utilise = 1;
    e.montagnes[m].type.parametres = p;
    e.montagnes[m].terrain = std::make_unique<Tmatrice>(p);
    e.montagnes[m].terrain->hauteurs->ecrire(1, 1, 321);
    e.montagne_courante = m;
    ++e.nombre_montagnes;
  }
  // A view window of the current mountain with a 40 x 30 picture, made current.
  int nouvelle_vue() {
    const int v = hote.creer_vue("");
    hote.images[v] = render::Bitmap(40, 30, render::pixel_rgb(0x33, 0x66, 0x99));
    hote.tailles[v] = {40, 30};
    return v;
  }
  // Saves the current mountain under `nom` as a mountain, view or video.
  void enregistrer_sous(const std::string& nom, bool vue, bool video) {
    dialogues.sauvegardes.push_back(chemin(nom));
    c.nom_document(vue, video);
  }
  std::vector<std::string> questions() const {
    std::vector<std::string> q;
    for (const auto& x : ui.entries)
      if (x.question) q.push_back(x.text);
    return q;
  }

  fs::path d_;
  etat_documents e;
  FakeHoteDocuments hote{e};
  FakeDialoguesDocuments dialogues;
  ScopedFakeUserInterface ui;
  CommandesFichier c{e, hote, dialogues};
};

TEST_F(Commandes, F3OnANewMountainOpensTheRightDialog) {
  nouvelle_montagne();
  c.FileSaveItemClick();
  nouvelle_vue();
  c.FileSaveItemClick();
  e.video_courante = 1;
  c.FileSaveItemClick();
  EXPECT_EQ(dialogues.demandes, (std::vector<DialogueSauvegarde>{DialogueSauvegarde::montagne, DialogueSauvegarde::vue,
                                                                  DialogueSauvegarde::video}));
  EXPECT_FALSE(e.montagnes[1].type.a_fichier) << "Cancel changes nothing";
  EXPECT_EQ(dialogues.attente, 0);
}

TEST_F(Commandes, SaveUnderANewNameSetsTheSlotAndWritesTheParts) {
  nouvelle_montagne();
  const int v = nouvelle_vue();
  enregistrer_sous("vallee.vue", true, false);
  const Type_matrice& t = e.montagnes[1].type;
  EXPECT_EQ(t.fichier, chemin("vallee.vue"));
  EXPECT_EQ(t.nom, "vallee.vue");
  EXPECT_EQ(t.genre, 2);
  EXPECT_TRUE(t.a_fichier);
  EXPECT_EQ(hote.titres_fiches[1], "#  1: " + chemin("vallee.vue"));
  EXPECT_EQ(hote.titres_vues[v], " View # 1 : vallee.vue");
  EXPECT_TRUE(hote.vues_enregistrees.count(v));
  EXPECT_TRUE(hote.fiches_sauvees.count(1));
  EXPECT_EQ(e.recents, std::vector<std::string>{chemin("vallee.vue")});
  document_lu d = lire_document(contenu("vallee.vue"), "x", GenreDocument::vue);
  EXPECT_EQ(d.terrain->hauteurs->lire(1, 1), 321);
  EXPECT_EQ(d.largeur_image, 40);
  EXPECT_EQ(d.hauteur_image, 30);
  // The picture is a 24-bit bitmap: 54-byte header, rows padded to 4 bytes.
  const std::string bmp = contenu("vallee.bmp");
  ASSERT_EQ(bmp.size(), 54u + 120 * 30);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(bmp[14]), 40);
  EXPECT_EQ(static_cast<unsigned char>(bmp[18]), 40);
  EXPECT_EQ(static_cast<unsigned char>(bmp[22]), 30);
  EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24);
  EXPECT_EQ(static_cast<unsigned char>(bmp[54]), 0x99) << "blue first";
  EXPECT_EQ(static_cast<unsigned char>(bmp[56]), 0x33);
}

// The quantisation tables of a JPEG file against libjpeg's for a quality.
void verifier_qualite(const std::string& octets, int qualite) {
  jpeg_decompress_struct d{};
  jpeg_error_mgr err{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, reinterpret_cast<const unsigned char*>(octets.data()), octets.size());
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_compress_struct c{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, qualite, TRUE);
  for (int t = 0; t < 2; ++t) {
    ASSERT_TRUE(d.quant_tbl_ptrs[t]);
    for (int k = 0; k < DCTSIZE2; ++k) EXPECT_EQ(d.quant_tbl_ptrs[t]->quantval[k], c.quant_tbl_ptrs[t]->quantval[k]);
  }
  jpeg_destroy_compress(&c);
  jpeg_destroy_decompress(&d);
}

TEST_F(Commandes, PictureKindChangeReplacesTheBitmapByAJpeg) {
  nouvelle_montagne();
  nouvelle_vue();
  enregistrer_sous("v.vue", true, false);
  ASSERT_TRUE(fichier_existe(chemin("v.bmp")));
  e.vue.type_image = 2;
  c.FileSaveItemClick();
  EXPECT_FALSE(fichier_existe(chemin("v.bmp")));
  verifier_qualite(contenu("v.jpg"), 90);
  EXPECT_TRUE(questions().empty());
  // Without a picture at that moment the files beside the document stay.
  hote.images.clear();
  e.vue.type_image = 1;
  c.FileSaveItemClick();
  EXPECT_TRUE(fichier_existe(chemin("v.jpg")));
  EXPECT_FALSE(fichier_existe(chemin("v.bmp")));
}

// A view showing the picture file it read, unchanged, writes that file's
// bytes again: a JPEG encoded anew would lose a little at every save. A
// picture of the other kind, or one drawn since, is encoded.
TEST_F(Commandes, APictureShownAsItWasReadIsWrittenAsItWasRead) {
  nouvelle_montagne();
  const int v = nouvelle_vue();
  const std::string jpeg = *render::octets_jpeg(hote.images[v], 40), bmp = render::octets_bmp(hote.images[v]);
  // The view's picture kind; the file it read (empty: drawn since); written as read.
  const std::tuple<int, std::string, bool> cas[] = {
      {2, jpeg, true}, {1, bmp, true}, {2, bmp, false}, {1, jpeg, false}, {2, "", false}};
  for (const auto& [type, lue, comme_lue] : cas) {
    SCOPED_TRACE(std::to_string(type) + (lue.empty() ? " drawn" : lue == jpeg ? " read from a JPEG" : " read from a BMP"));
    e.vue.type_image = type;
    hote.lues.erase(v);
    if (!lue.empty()) hote.lues[v] = lue;
    enregistrer_sous("lue.vue", true, false);
    const std::string ecrit = contenu(type == 1 ? "lue.bmp" : "lue.jpg");
    EXPECT_EQ(ecrit == lue, comme_lue);
    EXPECT_EQ(ecrit, comme_lue ? lue : type == 1 ? bmp : *render::octets_jpeg(hote.images[v], 90));
  }
}

TEST_F(Commandes, QuestionsAndTheirAnswers) {
  nouvelle_montagne();
  enregistrer_sous("m.mat", false, false);
  const std::string avant = contenu("m.mat");
  const int v = nouvelle_vue();
  // No to the view still saves the mountain, as the mountain document it is.
  e.montagnes[1].terrain->hauteurs->ecrire(4, 4, 321);
  ui.answers = {false};
  c.sauver_document();
  ASSERT_EQ(questions().size(), 1u);
  EXPECT_EQ(questions()[0], "The file " + chemin("m.mat") +
                                " owns a view, do you want to save the view ?  (extension \"VUE\" instead of \"MAT\" )");
  EXPECT_TRUE(contenu("m.mat") != avant);
  EXPECT_EQ(contenu("m.mat").find("[PARAMETRES VUE]"), std::string::npos);
  EXPECT_FALSE(fichier_existe(chemin("m.vue")));
  EXPECT_EQ(e.montagnes[1].type.fichier, chemin("m.mat"));
  EXPECT_EQ(e.montagnes[1].type.genre, 1);

  ui.answers = {true};
  c.sauver_document();
  EXPECT_EQ(e.montagnes[1].type.fichier, chemin("m.vue"));
  EXPECT_EQ(e.montagnes[1].type.genre, 2);
  EXPECT_TRUE(fichier_existe(chemin("m.vue")));
  EXPECT_EQ(e.fichier_courant, chemin("m.vue"));
  EXPECT_EQ(hote.titres_vues[v], " View # 1 : m.vue");

  // A video current on a view document: No keeps the view document, written again.
  e.video_courante = 2;
  e.videos[2] = {true, v, 1};
  const std::string vue_avant = contenu("m.vue");
  e.montagnes[1].terrain->hauteurs->ecrire(4, 4, 123);
  ui.answers = {false};
  c.sauver_document();
  EXPECT_EQ(e.montagnes[1].type.genre, 2);
  EXPECT_TRUE(contenu("m.vue") != vue_avant);
  EXPECT_FALSE(fichier_existe(chemin("m.vid")));
  ui.answers = {true};
  c.sauver_document();
  EXPECT_EQ(questions().back(), "The file " + chemin("m.vue") +
                                    " is a video, do you want to save the video and all associated files ?  "
                                    "(extension \"VID\")");
  EXPECT_EQ(e.montagnes[1].type.genre, 3);
  EXPECT_EQ(e.montagnes[1].type.no_video, 2);
  EXPECT_EQ(hote.titres_videos[2], "Video N\xC2\xB0 2 : m.vid");

  // The view alone (m.vue, written before, is replaced after a second Yes).
  e.video_courante = 0;
  ui.answers = {true, true};
  c.sauver_document();
  EXPECT_EQ(questions()[questions().size() - 2],
            "The file " + chemin("m.vid") + " owns a video, do you want to save the view alone ?  (extension \"VUE\")");
  EXPECT_EQ(hote.titres_vues[v], " View # 1: m.vue");
  EXPECT_EQ(e.montagnes[1].type.genre, 2);

  // No view current: saved as a mountain.
  e.montagnes[1].terrain->hauteurs->ecrire(3, 3, 77);
  e.vues[v].utilise = false;
  e.vue_courante = 0;
  ui.answers = {true, true};
  c.sauver_document();
  EXPECT_EQ(questions()[questions().size() - 2],
            "The file " + chemin("m.vue") +
                " must have a view, do you want to save it as a mountain ?  (extension \"MAT\" instead of \"VUE\" )");
  EXPECT_EQ(questions().back(), "The file " + chemin("m.mat") + " already exists. Do you want to replace it ?");
  EXPECT_EQ(e.montagnes[1].type.genre, 1);
  EXPECT_EQ(e.montagnes[1].type.nom, "m.mat");
  EXPECT_TRUE(contenu("m.mat") != avant);
}

TEST_F(Commandes, VideoKindWithoutViewAsksWithVid) {
  nouvelle_montagne();
  enregistrer_sous("f.vid", true, true);
  ASSERT_EQ(e.montagnes[1].type.genre, 3);
  const std::string avant = contenu("f.vid");
  ui.answers = {false};
  c.sauver_document();
  ASSERT_EQ(questions().size(), 1u);
  EXPECT_EQ(questions()[0], "The file " + chemin("f.vid") +
                                " must have a view, do you want to save it as a mountain ?  (extension \"MAT\" "
                                "instead of \"VID\" )");
  EXPECT_EQ(contenu("f.vid"), avant);
}

TEST_F(Commandes, ReplacingAnotherDocumentNeedsAYes) {
  nouvelle_montagne();
  enregistrer_sous("a.mat", false, false);
  ASSERT_TRUE(ecrire_fichier(chemin("a.vue"), "someone else's view").empty());
  nouvelle_vue();
  ui.answers = {true, false};
  c.sauver_document();
  EXPECT_EQ(questions().back(), "The file " + chemin("a.vue") + " already exists. Do you want to replace it ?");
  EXPECT_EQ(contenu("a.vue"), "someone else's view");
  EXPECT_EQ(e.montagnes[1].type.fichier, chemin("a.mat"));
  EXPECT_EQ(e.montagnes[1].type.genre, 1);
  // With a video current too, the refusal ends the questions.
  e.video_courante = 1;
  e.videos[1] = {true, 1, 1};
  ui.entries.clear();
  ui.answers = {true, false, true};
  c.sauver_document();
  EXPECT_EQ(questions().size(), 2u);
  EXPECT_EQ(contenu("a.vue"), "someone else's view");
  EXPECT_FALSE(fichier_existe(chemin("a.vid")));
  EXPECT_EQ(e.montagnes[1].type.genre, 1);
}

// A name typed with the extension of a picture, a movie or another kind of
// document takes the document's own: the picture or movie lies beside the
// document, never in its place. Any other extension is kept and the
// document's added. A file the name so made gives, which the dialog did not
// ask about, is replaced only on Yes.
TEST_F(Commandes, ATypedExtensionNeverPutsTheDocumentWhereItsPictureOrMovieGoes) {
  nouvelle_montagne();
  e.vue_courante = nouvelle_vue();
  const int w = hote.creer_video("", nullptr, {});
  for (const char* n : {"temp/video1.avi", "temp/video1.mpg"}) ASSERT_TRUE(ecrire_fichier(chemin(n), "movie").empty());
  fs::create_directory(chemin("d.v2"));
  // Typed; the document; the file beside it; the picture's or movie's type.
  const std::tuple<const char*, const char*, const char*, int> cas[] = {
      {"paysage.bmp", "paysage.vue", "paysage.bmp", 1},      {"photo.JPG", "photo.vue", "photo.jpg", 2},
      {"film.avi", "film.vid", "film.avi", 2},               {"mpeg.mpg", "mpeg.vid", "mpeg.mpg", 7},
      {"m.vue", "m.mat", "", 0},                             {"d.v2/carte", "d.v2/carte.vue", "d.v2/carte.bmp", 1},
      {"carte.2024", "carte.2024.vue", "carte.2024.bmp", 1}};
  for (const auto& [tape, document, joint, type] : cas) {
    SCOPED_TRACE(tape);
    const GenreDocument g = genre_par_extension(document);
    (g == GenreDocument::video ? e.video.type_video : e.vue.type_image) = type;
    hote.refaits.insert(w);
    enregistrer_sous(tape, g != GenreDocument::montagne, g == GenreDocument::video);
    EXPECT_NO_THROW(lire_document(contenu(document), document, g));
    EXPECT_TRUE(g == GenreDocument::video ? contenu(joint) == "movie" : !*joint || lire_image_vue(chemin(joint)));
    EXPECT_EQ(fs::exists(chemin(tape)), std::string(tape) == joint);
  }
  EXPECT_TRUE(questions().empty());
  ASSERT_TRUE(ecrire_fichier(chemin("pris.vue"), "someone else's").empty());
  enregistrer_sous("pris.bmp", true, false);
  EXPECT_EQ(questions(), std::vector<std::string>{"The file " + chemin("pris.vue") +
                                                  " already exists. Do you want to replace it ?"});
  EXPECT_EQ(contenu("pris.vue"), "someone else's");
  EXPECT_FALSE(fs::exists(chemin("pris.bmp")));
}

// The doors through which a document is saved under a name it did not have.
enum class Porte { montagne_sous, vue_sous, film_sous, f3, sortie, carte };

struct CasPorte {
  const char* nom;
  const char* depart;  // the document open before ("" for a new mountain)
  Porte porte;
  const char* tape;  // typed in the save dialog, which asked about that name
  std::vector<bool> reponses;
  std::vector<const char*> demandes;  // the pictures and movie asked about, in order
  std::vector<const char*> joints;    // those replaced or deleted when the save goes through
  const char* document;               // the document written
  bool ecrit;
};

class Portes : public Commandes, public ::testing::WithParamInterface<CasPorte> {
 protected:
  // The closing cascades, whose saves are the real commands.
  struct HoteSauvegarde : FakeHoteFermetures {
    CommandesFichier& c;
    HoteSauvegarde(etat_documents& e, CommandesFichier& commandes) : FakeHoteFermetures(e), c(commandes) {}
    bool enregistrer() override { return c.FileSaveItemClick(); }
    bool sauver_document() override { return c.sauver_document(); }
  };
  HoteSauvegarde hote_fermetures{e, c};
  QuestionsBoites boites;
  CascadesFermeture cascades{e, hote_fermetures, boites};

  std::map<std::string, std::string> fichiers() const {
    std::map<std::string, std::string> x;
    for (const auto& f : fs::directory_iterator(d_))
      if (f.is_regular_file()) x[f.path().filename().string()] = contenu(f.path().filename().string());
    return x;
  }
};

void PrintTo(const CasPorte& k, std::ostream* o) { *o << k.nom; }

// Saved under a name it did not have, by any door, a view or video finds the
// user's own picture or movie of that name: each one is replaced (or, the
// other kind of picture, deleted) only on Yes, and No writes nothing. Beside
// a document the user agreed to replace, and under the document's own name,
// they are the program's and go without a question; a name the dialog asked
// about is not asked about again.
TEST_P(Portes, TheUsersPicturesAndMovieOfANewNameAreAskedAboutOnce) {
  const CasPorte& k = GetParam();
  nouvelle_montagne();
  const std::string depart = k.depart;
  const bool vue_avant = depart.ends_with(".vue");
  if (!depart.empty() && !vue_avant) enregistrer_sous(depart, false, false);
  const int v = nouvelle_vue();
  if (vue_avant) enregistrer_sous(depart, true, false);
  if (std::string(k.document).ends_with(".vid")) {
    hote.refaits.insert(hote.creer_video("", nullptr, {}));
    e.video.type_video = 2;  // .avi
    ASSERT_FALSE(test_films::ecrire(chemin("temp/video1.avi"), 2).empty());
  }
  const std::string photo = render::octets_bmp(render::Bitmap(4, 3, render::pixel_rgb(200, 0, 0)));
  ASSERT_TRUE(ecrire_fichier(chemin("carte.vue"), "a view").empty());
  for (const char* n : {"vacances.bmp", "vacances.jpg", "carte.bmp"}) ASSERT_TRUE(ecrire_fichier(chemin(n), photo).empty());
  ASSERT_FALSE(test_films::ecrire(chemin("perso.avi"), 3).empty());
  ui.entries.clear();
  ui.answers.assign(k.reponses.begin(), k.reponses.end());
  const auto avant = fichiers();
  const auto titres = std::tuple(hote.titres_fiches, hote.titres_vues, hote.titres_videos);
  e.montagnes[1].type.modifie_edition = 1;
  hote_fermetures.vues_modifiees.insert(v);
  switch (k.porte) {
    case Porte::montagne_sous:
    case Porte::vue_sous:
    case Porte::film_sous:
      enregistrer_sous(k.tape, k.porte != Porte::montagne_sous, k.porte == Porte::film_sous);
      break;
    case Porte::f3: c.FileSaveItemClick(); break;
    case Porte::sortie: cascades.fermer_avant_sortie(); break;
    case Porte::carte: cascades.fermer_montagne(1); break;
  }
  std::vector<std::string> attendues, posees;
  for (const char* n : k.demandes)
    attendues.push_back("The file " + chemin(n) +
                        (std::string(n).ends_with(".jpg")
                             ? " already exists. Saving the view's picture as " + changer_fin(chemin(n), "bmp") +
                                   " deletes it. Do you want to delete it ?"
                             : " already exists. Do you want to replace it ?"));
  for (const std::string& q : questions())
    if (q.find(" already exists. ") != std::string::npos) posees.push_back(q);
  EXPECT_EQ(posees, attendues);
  auto apres = fichiers();
  EXPECT_TRUE(k.ecrit || apres == avant) << "No writes nothing";
  EXPECT_TRUE(k.ecrit || std::tie(hote.titres_fiches, hote.titres_vues, hote.titres_videos) == titres) << "captions";
  EXPECT_EQ(apres.count(k.document) != 0, k.ecrit);
  for (const char* n : k.joints) EXPECT_TRUE(apres.count(n) == 0 || apres[n] != avant.at(n)) << n;
}

const CasPorte kPortes[] = {
    {"SaveMountainUnder", "", Porte::montagne_sous, "vacances", {}, {}, {}, "vacances.mat", true},
    {"SaveViewUnderYes", "", Porte::vue_sous, "vacances", {true, true}, {"vacances.bmp", "vacances.jpg"},
     {"vacances.bmp", "vacances.jpg"}, "vacances.vue", true},
    {"SaveViewUnderNoToTheDeletion", "", Porte::vue_sous, "vacances", {true, false}, {"vacances.bmp", "vacances.jpg"},
     {}, "vacances.vue", false},
    {"SaveViewUnderTheTypedPicture", "", Porte::vue_sous, "vacances.bmp", {true}, {"vacances.jpg"},
     {"vacances.bmp", "vacances.jpg"}, "vacances.vue", true},
    {"SaveViewUnderAnotherDocument", "", Porte::vue_sous, "carte.vue", {}, {}, {"carte.bmp"}, "carte.vue", true},
    {"SaveMovieUnderNo", "", Porte::film_sous, "perso", {false}, {"perso.avi"}, {}, "perso.vid", false},
    {"SaveMovieUnderYes", "", Porte::film_sous, "perso", {true}, {"perso.avi"}, {"perso.avi"}, "perso.vid", true},
    {"F3MountainToViewYes", "vacances.mat", Porte::f3, "", {true, true, true}, {"vacances.bmp", "vacances.jpg"},
     {"vacances.bmp", "vacances.jpg"}, "vacances.vue", true},
    {"F3MountainToViewNo", "vacances.mat", Porte::f3, "", {true, false}, {"vacances.bmp"}, {}, "vacances.vue", false},
    {"F3ViewToVideoYes", "perso.vue", Porte::f3, "", {true, true}, {"perso.avi"}, {"perso.avi"}, "perso.vid", true},
    {"F3ViewToVideoNo", "perso.vue", Porte::f3, "", {true, false}, {"perso.avi"}, {}, "perso.vid", false},
    {"ExitYes", "vacances.mat", Porte::sortie, "", {true, true, true, true}, {"vacances.bmp", "vacances.jpg"},
     {"vacances.bmp", "vacances.jpg"}, "vacances.vue", true},
    {"ExitNo", "vacances.mat", Porte::sortie, "", {true, true, false}, {"vacances.bmp"}, {}, "vacances.vue", false},
    {"ClosingYes", "vacances.mat", Porte::carte, "", {true, true, true, true}, {"vacances.bmp", "vacances.jpg"},
     {"vacances.bmp", "vacances.jpg"}, "vacances.vue", true},
    {"ClosingNo", "vacances.mat", Porte::carte, "", {true, true, false}, {"vacances.bmp"}, {}, "vacances.vue", false},
    {"F3UnderItsOwnName", "vacances.vue", Porte::f3, "", {}, {}, {"vacances.bmp", "vacances.jpg"}, "vacances.vue",
     true},
};
INSTANTIATE_TEST_SUITE_P(Doors, Portes, ::testing::ValuesIn(kPortes),
                         [](const auto& i) { return std::string(i.param.nom); });

TEST_F(Commandes, AFailedWriteKeepsTheOldDocumentAndTheSlot) {
  nouvelle_montagne();
  const int v = nouvelle_vue();
  enregistrer_sous("w.vue", true, false);
  const std::string avant = contenu("w.vue");
  hote.vues_enregistrees.clear();
  e.montagnes[1].type.modifie_edition = 1;
  e.montagnes[1].terrain->hauteurs->ecrire(2, 2, 999);
  simuler_echec_ecriture(100);
  c.FileSaveItemClick();
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(contenu("w.vue"), avant);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_FALSE(ui.entries[0].question);
  EXPECT_EQ(ui.entries[0].caption, "Quorvel");
  EXPECT_NE(ui.entries[0].text.find(chemin("w.vue")), std::string::npos);
  EXPECT_NE(ui.entries[0].text.find("No space left"), std::string::npos);
  EXPECT_NE(ui.entries[0].text.find(". The previous file is unchanged."), std::string::npos);
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  EXPECT_EQ(e.montagnes[1].type.genre, 2);
  EXPECT_FALSE(hote.vues_enregistrees.count(v));
  // Under a new name: the slot keeps its old path, and no previous file is
  // spoken of where there was none.
  simuler_echec_ecriture(10);
  enregistrer_sous("x.mat", false, false);
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(e.montagnes[1].type.fichier, chemin("w.vue"));
  EXPECT_EQ(e.montagnes[1].type.nom, "w.vue");
  EXPECT_EQ(hote.titres_fiches[1], "#  1: " + chemin("w.vue"));
  EXPECT_FALSE(fichier_existe(chemin("x.mat")));
  EXPECT_EQ(e.recents.size(), 1u);
  ASSERT_EQ(ui.entries.size(), 2u);
  EXPECT_EQ(ui.entries[1].text.find("previous file"), std::string::npos) << ui.entries[1].text;
  // A failed "Save View under": the captions and the saved state stay.
  hote.titres_vues[v] = "View #  1 :  w.vue";
  hote.titres_fiches[1] = "card caption";
  simuler_echec_ecriture(10);
  enregistrer_sous("y.vue", true, false);
  simuler_echec_ecriture(std::nullopt);
  EXPECT_EQ(hote.titres_vues[v], "View #  1 :  w.vue");
  EXPECT_EQ(hote.titres_fiches[1], "card caption");
  EXPECT_EQ(e.montagnes[1].type.fichier, chemin("w.vue"));
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  EXPECT_FALSE(hote.vues_enregistrees.count(v));
}

TEST_F(Commandes, MoviesFollowTheDocument) {
  nouvelle_montagne();
  const int v = nouvelle_vue();
  e.vue_courante = v;
  const int w = hote.creer_video("", nullptr, {});
  hote.table_cameras = std::vector<enregistrement_camera>(3, enregistrement_camera{1, 2, 3, 4, 5, 6});  // frames 1, 2
  hote.infos[w][0] = "File Name = x";
  // After a remake the movie comes from the work folder.
  ASSERT_TRUE(ecrire_fichier(chemin("temp/video1.avi"), "movie one").empty());
  hote.refaits.insert(w);
  enregistrer_sous("a.vid", true, true);
  EXPECT_EQ(contenu("a.avi"), "movie one");
  EXPECT_TRUE(hote.videos_enregistrees.count(w));
  EXPECT_TRUE(e.document_precedent.empty());
  document_lu d = lire_document(contenu("a.vid"), "a", GenreDocument::video);
  EXPECT_EQ(d.cameras->size(), 361u) << "missing records are written as zeros";
  EXPECT_EQ((*d.cameras)[2].cible_z, 6.0);
  EXPECT_EQ((*d.cameras)[3].cible_z, 0.0);
  EXPECT_EQ(d.informations[0], "File Name = x");
  // Saved under another name without a remake: the old movie is copied.
  enregistrer_sous("b.vid", true, true);
  EXPECT_EQ(contenu("b.avi"), "movie one");
  // A remake whose work file is missing keeps the movie beside the document.
  fs::remove(chemin("temp/video1.avi"));
  hote.refaits.insert(w);
  ui.answers = {};
  c.sauver_document();
  EXPECT_EQ(contenu("b.avi"), "movie one");
  // The codec now says MPEG while the movie is an AVI: the AVI is kept and found.
  e.video.type_video = 7;
  hote.films[w] = chemin("b.avi");
  enregistrer_sous("c.vid", true, true);
  EXPECT_EQ(contenu("c.avi"), "movie one");
  EXPECT_FALSE(fichier_existe(chemin("c.mpg")));
  FakeHoteDocuments autre_hote(e);
  e.montagnes[1] = emplacement_montagne{};
  e.nombre_montagnes = 0;
  e.vues = {};
  e.videos = {};
  e.nombre_vues = e.nombre_videos = 0;
  CommandesFichier autre(e, autre_hote, dialogues);
  e.fichier_courant = chemin("c.vid");
  // Only a movie the reader takes is found; the words above are none.
  ASSERT_EQ(test_films::ecrire(chemin("c.avi"), 2), chemin("c.avi"));
  ASSERT_TRUE(autre.ouvrir_video());
  EXPECT_EQ(autre_hote.films[1], chemin("c.avi"));
}

// A Yes that writes the video document but not its movie is no save: the
// user is told why, the video is still to save, and the next save copies it.
TEST_F(Commandes, AMovieThatCannotBeWrittenLeavesTheVideoToSave) {
  nouvelle_montagne();
  e.vue_courante = nouvelle_vue();
  const int w = hote.creer_video("", nullptr, {});
  ASSERT_TRUE(ecrire_fichier(chemin("temp/video1.avi"), "movie one").empty());
  hote.refaits.insert(w);
  fs::create_directory(chemin("a.avi"));  // where the movie goes, nothing can be written
  enregistrer_sous("a.vid", true, true);
  EXPECT_TRUE(fichier_existe(chemin("a.vid")));
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_NE(ui.entries[0].text.find("The movie " + chemin("a.avi") + " could not be written"), std::string::npos)
      << ui.entries[0].text;
  EXPECT_FALSE(hote.videos_enregistrees.count(w));
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  fs::remove(chemin("a.avi"));
  EXPECT_TRUE(c.sauver_document());
  EXPECT_EQ(contenu("a.avi"), "movie one");
  EXPECT_TRUE(hote.videos_enregistrees.count(w));
}

// Every document the program writes can be opened again. Camera records far
// beyond the terrain, as a hand-edited document may hold them, stay short and
// read back the same; a memo that would take the document past the reader's
// limit is refused with the size, the old file and the edited flag kept.
TEST_F(Commandes, NothingIsWrittenThatTheReaderWouldRefuse) {
  nouvelle_montagne();
  e.vue_courante = nouvelle_vue();
  hote.creer_video("", nullptr, {});
  e.video.nombre_images = 9999;
  hote.table_cameras = std::vector<enregistrement_camera>(10000, {1e300, -1.7e308, 1e18, 12345.5, -0.25, 99999.0});
  enregistrer_sous("loin.vid", true, true);
  const std::string texte = contenu("loin.vid");
  EXPECT_LT(texte.size(), 2'000'000u);
  EXPECT_NE(texte.find(std::string("\r\n 1.00000000000000E+0300") + "   -1.70000000000000E+0308" +
                       "    1.00000000000000E+0018" + "  12345.5000" + "    -0.2500" + "  99999.0000\r\n"),
            std::string::npos);
  const enregistrement_camera loin = lire_document(texte, "loin.vid", GenreDocument::video).cameras->back();
  EXPECT_EQ(std::tie(loin.observateur_x, loin.observateur_y), std::tuple(1e300, -1.7e308));
  // The widest value still written in fixed point takes 23 characters.
  EXPECT_EQ(texte_fixe(1e17, 9) + texte_fixe(-1e17, 9), "100000000000000000.0000-1.00000000000000E+0017");

  e.montagnes[1].type.parametres.texte[0] = std::string(TAILLE_MAX_DOCUMENT, 'x');
  e.montagnes[1].type.modifie_edition = 1;
  ui.entries.clear();
  EXPECT_FALSE(c.FileSaveItemClick());
  EXPECT_EQ(contenu("loin.vid"), texte);
  EXPECT_EQ(e.montagnes[1].type.modifie_edition, 1);
  ASSERT_EQ(ui.entries.size(), 1u);
  const std::string& message = ui.entries[0].text;
  EXPECT_EQ(message.find("The file " + chemin("loin.vid") + " could not be written: it would be too large to be a "
                         "document ("),
            0u)
      << message.substr(0, 200);
  EXPECT_GT(std::stoull(message.substr(message.find(" (") + 2)), TAILLE_MAX_DOCUMENT + texte.size());
  EXPECT_NE(message.find(" bytes; at most 67108864). The previous file is unchanged."), std::string::npos);
  // A document of the limit itself is written, and read.
  EXPECT_TRUE(ecrire_document(chemin("juste.mat"), std::string(TAILLE_MAX_DOCUMENT, ' ')).empty());
  EXPECT_TRUE(lire_fichier(chemin("juste.mat"), nullptr, kLectureDocument).has_value());
}

TEST_F(Commandes, RemoveAsksForEachFile) {
  for (const char* n : {"r.vue", "r.jpg", "r.avi"}) ASSERT_TRUE(ecrire_fichier(chemin(n), "x").empty());
  e.fichier_courant = chemin("r.vue");
  ui.answers = {true, false, true};
  c.SupprimerClick();
  EXPECT_EQ(questions(), (std::vector<std::string>{"Do you want to destroy the file " + chemin("r.vue") + " ?",
                                                   "Do you want to destroy the image file " + chemin("r.jpg") + " ?",
                                                   "Do you want to delete the video file ? " + chemin("r.avi") + " ?"}));
  EXPECT_FALSE(fichier_existe(chemin("r.vue")));
  EXPECT_TRUE(fichier_existe(chemin("r.jpg")));
  EXPECT_FALSE(fichier_existe(chemin("r.avi")));
  ui.entries.clear();
  c.SupprimerClick();
  EXPECT_TRUE(ui.entries.empty()) << "nothing asked once the file is gone";
}

class Ouverture : public Commandes {
 protected:
  // A saved view document "o.vue" with a JPEG picture beside it.
  void SetUp() override {
    Commandes::SetUp();
    nouvelle_montagne();
    nouvelle_vue();
    e.vue.type_image = 2;
    e.vue.zoom = 55;
    enregistrer_sous("o.vue", true, false);
    e = etat_documents{};
    e.dossier_programme = d_.string();
    ui.entries.clear();
    hote.appels.clear();
  }
};

TEST_F(Ouverture, AViewDocumentOpensWithItsPicture) {
  dialogues.ouvertures.push_back(chemin("o.vue"));
  c.FileOpenItemClick();
  EXPECT_EQ(e.nombre_montagnes, 1);
  EXPECT_EQ(e.montagnes[1].type.genre, 2);
  EXPECT_EQ(e.montagnes[1].type.no_vue, 1);
  EXPECT_EQ(e.vue.zoom, 55);
  EXPECT_EQ(hote.images_ouvertes[1], chemin("o.jpg"));
  // The window is made for the stored picture: the default drops by 14 x 6.
  EXPECT_EQ(e.largeur_defaut, 26);
  EXPECT_EQ(e.hauteur_defaut + 6, e.hauteur_defaut_copie);
  EXPECT_EQ(e.largeur_defaut_copie, 40);
  EXPECT_EQ(e.recents, std::vector<std::string>{chemin("o.vue")});
  EXPECT_FALSE(e.demarrage);
  EXPECT_EQ(hote.titres_fiches[1], "#  1: " + chemin("o.vue"));
}

TEST_F(Ouverture, AViewWithoutItsPictureIsRendered) {
  fs::remove(chemin("o.jpg"));
  e.fichier_courant = chemin("o.vue");
  ASSERT_TRUE(c.ouvrir_vue());
  EXPECT_EQ(hote.images_ouvertes[1], "");
  EXPECT_EQ(e.largeur_defaut, 26) << "drawn again at the stored size, as with its picture";
}

TEST_F(Ouverture, FullTablesRefuseAndChangeNothing) {
  for (int m = 1; m <= 5; ++m) e.montagnes[m].type.utilise = 1;
  e.nombre_montagnes = 5;
  e.fichier_courant = chemin("o.vue");
  for (auto [ouvrir, texte, legende] :
       {std::tuple{&CommandesFichier::ouvrir_montagne, "Too many mountains in memory: close one first.", "Mountain "},
        std::tuple{&CommandesFichier::ouvrir_vue, "Too many views, close one at least", "View "},
        std::tuple{&CommandesFichier::ouvrir_video, "Maximum video number reach, close at least one", "Video "}}) {
    ui.entries.clear();
    EXPECT_FALSE((c.*ouvrir)());
    ASSERT_EQ(ui.entries.size(), 1u);
    EXPECT_EQ(ui.entries[0].text, texte);
    EXPECT_EQ(ui.entries[0].caption, legende);
  }
  e = etat_documents{};
  for (int v = 1; v <= 10; ++v) e.vues[v].utilise = true;
  e.nombre_vues = 10;
  e.fichier_courant = chemin("o.vue");
  EXPECT_FALSE(c.ouvrir_vue());
  e = etat_documents{};
  for (int w = 1; w <= 10; ++w) e.videos[w].utilise = true;
  e.nombre_videos = 10;
  e.fichier_courant = chemin("o.vid");
  ui.entries.clear();
  EXPECT_FALSE(c.ouvrir_video());
  EXPECT_EQ(ui.entries.at(0).text, "Maximum video number reach, close at least one");
  EXPECT_EQ(e.nombre_montagnes, 0);
  EXPECT_TRUE(hote.appels.empty() || hote.appels.back() != "card 1");
}

TEST_F(Ouverture, DamagedDocumentsTakeNoSlot) {
  ASSERT_TRUE(ecrire_fichier(chemin("bad.mat"), "not a document\r\n").empty());
  e.fichier_courant = chemin("bad.mat");
  EXPECT_FALSE(c.ouvrir_montagne());
  EXPECT_EQ(ui.entries.at(0).text, chemin("bad.mat") + " is not a mountain document");
  EXPECT_EQ(ui.entries.at(0).caption, "Mountain ");
  EXPECT_EQ(e.nombre_montagnes, 0);
  EXPECT_FALSE(e.montagnes[1].type.utilise);
  EXPECT_TRUE(hote.appels.empty());
  EXPECT_TRUE(e.demarrage);
}

TEST_F(Ouverture, RecentEntryOfAnOpenDocumentFocusesIt) {
  e.montagnes[2] = emplacement_montagne{};
  e.montagnes[1].type.utilise = 1;
  e.montagnes[3].type.utilise = 1;
  e.montagnes[3].type.fichier = chemin("o.vue");
  e.nombre_montagnes = 2;
  e.vues[4] = {true, 3};
  e.vues[6] = {true, 1};
  e.vues[7] = {true, 3};
  c.FileprecItemClick(chemin("o.vue"));
  EXPECT_EQ(hote.appels, (std::vector<std::string>{"focus view 4", "focus view 7"}));
  EXPECT_EQ(e.nombre_montagnes, 2);
  EXPECT_FALSE(e.montagnes[2].type.utilise);
  // A mountain document open in slot 3.
  ASSERT_TRUE(copier_fichier(chemin("o.vue"), chemin("o.mat")).empty());
  e.montagnes[3].type.fichier = chemin("o.mat");
  hote.appels.clear();
  c.FileprecItemClick(chemin("o.mat"));
  EXPECT_EQ(hote.appels, std::vector<std::string>{"focus card 3"});
  // Not open: it is opened into the lowest free slot.
  hote.appels.clear();
  c.FileprecItemClick(chemin("o.vue"));
  EXPECT_EQ(hote.appels.front(), "card 2");
  EXPECT_EQ(e.montagnes[2].type.fichier, chemin("o.vue"));
  EXPECT_EQ(e.nombre_montagnes, 3);
}

// A recent entry whose file is gone says so; Yes drops it from the list,
// No keeps it; neither opens anything.
TEST_F(Ouverture, RecentEntryOfAMissingFileOffersToDropIt) {
  const std::string parti = chemin("parti.mat");
  e.recents = {chemin("o.vue"), parti, chemin("autre.mat")};
  const int avant = hote.recents;
  ui.answers = {false};
  c.FileprecItemClick(parti);
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_TRUE(ui.entries[0].question);
  EXPECT_NE(ui.entries[0].text.find(parti + " cannot be found"), std::string::npos);
  EXPECT_NE(ui.entries[0].text.find("remove it from the list of recent files"), std::string::npos);
  EXPECT_EQ(e.recents.size(), 3u);
  EXPECT_EQ(hote.recents, avant);
  ui.answers = {true};
  c.FileprecItemClick(parti);
  EXPECT_EQ(e.recents, (std::vector<std::string>{chemin("o.vue"), chemin("autre.mat")}));
  EXPECT_EQ(hote.recents, avant + 1);
  EXPECT_EQ(e.nombre_montagnes, 0);
  EXPECT_TRUE(hote.appels.empty());
  EXPECT_TRUE(e.fichier_courant.empty() || e.fichier_courant != parti);
}

// The largest document the program writes (the largest mesh with every part
// of its body, the most features and camera records) opens; a document or an
// options file larger than the bound is refused by its size, before anything
// is read (sparse files: no disk is used), and a file that turns out longer
// than its size said is refused while it is read.
TEST_F(Ouverture, NothingLargerThanTheLargestDocumentIsRead) {
  document_lu d;
  d.parametres = param_mat_defaut();
  d.parametres.maillage = 11;
  d.parametres.deformation = d.parametres.photo_aerienne = 1;
  d.terrain = std::make_unique<Tmatrice>(d.parametres);
  Tmatrice& t = *d.terrain;
  for (std::int32_t i = 1; i <= t.n; ++i)
    for (std::int32_t j = 1; i + j <= t.n + 1; ++j) {
      t.hauteurs->ecrire(i, j, j % 2 ? -2000 : 4000);  // every difference "-6000" or "6000"
      t.dx->ecrire(i, j, 255);
      t.photo->ecrire(i, j, 0xFFFFFFu);
    }
  for (std::int32_t k = 0; k < t.capacite_liste; ++k) {
    t.liste_i[k] = t.liste_j[k] = 1000;
    t.liste_type[k] = 19;
    t.liste_attribut[k] = 63;
  }
  t.nombre_elements = t.capacite_liste;
  d.video = param_video_defaut();
  d.video.nombre_images = 9999;
  d.cameras.emplace(10000, enregistrement_camera{-99999.5, -99999.5, -99999.5, -99999.5, -99999.5, -99999.5});
  const std::string plus_grand = texte_document(d, GenreDocument::video);
  EXPECT_LT(plus_grand.size() * 3 / 2, TAILLE_MAX_DOCUMENT) << "the bound leaves room to spare";
  ASSERT_TRUE(ecrire_fichier(chemin("grand.vid"), plus_grand).empty());
  e.fichier_courant = chemin("grand.vid");
  EXPECT_TRUE(c.ouvrir_video());
  EXPECT_TRUE(ui.entries.empty());

  // One byte more than the bound, after a sound view document.
  ASSERT_TRUE(copier_fichier(chemin("o.vue"), chemin("enorme.vue")).empty());
  fs::resize_file(chemin("enorme.vue"), TAILLE_MAX_DOCUMENT + 1);
  e = etat_documents{};
  ui.entries.clear();
  e.fichier_courant = chemin("enorme.vue");
  EXPECT_FALSE(c.ouvrir_vue());
  ASSERT_EQ(ui.entries.size(), 1u);
  EXPECT_EQ(ui.entries[0].text, chemin("enorme.vue") +
                                    " cannot be opened: it is too large to be a document (67108865 bytes; at most "
                                    "67108864)");
  EXPECT_EQ(ui.entries[0].caption, "View ");
  EXPECT_EQ(e.nombre_montagnes, 0);

  // An options file of 3 GB leaves the records as they were.
  ASSERT_TRUE(copier_fichier(std::string(QUORVEL_SOURCE_DIR) + "/app/data/montagne.ini", chemin("montagne.ini")).empty());
  fs::resize_file(chemin("montagne.ini"), 3'000'000'000);
  e.parametres.relief = 77;
  EXPECT_EQ(Lire_options(e, chemin("montagne.ini")), "it is too large to be a document (3000000000 bytes; at most 67108864)");
  EXPECT_EQ(e.parametres.relief, 77);

  // A file whose size says nothing (the system's files say 0): the bound
  // holds while it is read.
  std::string raison;
  EXPECT_FALSE(lire_fichier("/proc/self/status", &raison, LimiteLecture{16, "a document"}));
  EXPECT_EQ(raison, "it is too large to be a document (more than 16 bytes)");
}

TEST_F(Ouverture, VideoWithMoreFrameLinesKeepsTheFrameCount) {
  std::string film = lire_fichier((fs::path(QUORVEL_SOURCE_DIR) / "tests" / "data" / "hauteurs_aleatoires.vid").string()).value();
  const auto info = film.find(" [INFORMATION]");
  film = film.substr(0, info) + "1 2 3 4 5 6\r\n7 8 9 10 11 12\r\n" + film.substr(info);
  ASSERT_TRUE(ecrire_fichier(chemin("film.vid"), film).empty());
  ASSERT_EQ(test_films::ecrire(chemin("film.mpg"), 2, 64, 48, {}, platform::vcv::kContainerMpeg, 0), chemin("film.mpg"));
  e.fichier_courant = chemin("film.vid");
  ASSERT_TRUE(c.ouvrir_video());
  ASSERT_TRUE(hote.table_cameras);
  EXPECT_EQ(hote.table_cameras->size(), 201u);
  EXPECT_EQ(hote.films[1], chemin("film.mpg")) << "the other extension when the computed one is missing";
  EXPECT_EQ(e.montagnes[1].type.genre, 3);
  EXPECT_EQ(e.montagnes[1].type.no_video, 1);
  EXPECT_EQ(e.informations[4], "Number of frames = 200");
  // Without video windows the mountain and the view are still opened.
  hote.videos_disponibles = false;
  e.fichier_courant = chemin("film.vid");
  ASSERT_TRUE(c.ouvrir_video());
  EXPECT_EQ(e.montagnes[2].type.no_video, 0);
  EXPECT_EQ(e.nombre_vues, 2);
}

}  // namespace
