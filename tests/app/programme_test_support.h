// A started main window in a temporary program folder, with fake children.
#pragma once

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "platform/fichiers.h"
#include "video/dialogue_reglages.h"
#include "app/carte_provisoire.h"
#include "fenetres/donnees_images.h"
#include "fenetres/fenetres.h"
#include "app/mainwindow.h"
#include "model/aleatoire.h"
#include "tests/support/fake_documents.h"
#include "tests/support/fakes.h"

inline std::string lire_tout(const QString& chemin) {
  QFile f(chemin);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

inline void ecrire_tout(const QString& chemin, const std::string& octets) {
  QFile f(chemin);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(octets.data(), static_cast<qint64>(octets.size()));
}

// The shipped options file with the view's picture width set to 800.
inline std::string options_exemple(const std::vector<std::string>& tete = {}) {
  std::string ini = lire_tout(QUORVEL_SOURCE_DIR "/app/data/montagne.ini");
  auto pos = ini.find("Largeur image      =         640");
  if (pos != std::string::npos) ini.replace(pos, 32, "Largeur image      =         800");
  std::string lignes;
  for (const auto& l : tete) lignes += l + "\r\n";
  ini.insert(ini.find("\r\n") + 2, lignes);
  return ini;
}

struct FakeVue : FenetreVue {
  int rendus = 0;
  void rafraichir_vue() override { ++rendus; }
};
// Records what the main window asks of a video window.
struct FakeVideo : FenetreVideo {
  int inits = 0, regenerations = 0, informations_montrees = 0;
  std::string film_init;
  bool film_present_a_l_init = false;
  std::vector<enregistrement_camera> cameras_regenerees;
  void init_video(platform::WindowHandle h, const Param_video& p, Tmatrice* t, const std::string& film,
                  const std::string& dossier) override {
    ++inits;
    film_init = film;
    film_present_a_l_init = !film.empty() && fichier_existe(film);
    FenetreVideo::init_video(h, p, t, film, dossier);
  }
  void regenerer_video() override {
    ++regenerations;
    cameras_regenerees = cameras;
  }
  void Informations1Click() override { ++informations_montrees; }
};

// The video settings dialog: records what it was given and answers as told.
struct FakeDialogueVideo : DialogueReglagesVideo {
  int executions = 0;
  EntreesReglagesVideo recu;
  std::function<int(const EntreesReglagesVideo&, SortiesReglagesVideo&)> reponse;
  int executer(const EntreesReglagesVideo& in, SortiesReglagesVideo& out) override {
    ++executions;
    recu = in;
    return reponse ? reponse(in, out) : 2;
  }
};
struct FakeEditeur : FenetreEdition {};

struct Programme {
  QTemporaryDir dossier;
  ScopedFakeUserInterface ui;
  TData data;
  std::unique_ptr<TBasewindow> w;
  std::vector<std::string> ouverts;  // "mat:", "vue:", "vid:" + path
  std::vector<int> sauvegardes;      // current mountain at each save
  std::vector<std::string> precedents;
  FakeDialoguesDocuments* dialogues = nullptr;
  std::function<bool()> sauver_reel;   // the document command, before the counting hook
  std::function<bool()> enregistrer_reel;  // "&Save", before the counting hook
  CommandesDocuments reels;                // every document command, before the hooks

  QString chemin(const QString& nom) const { return dossier.path() + "/" + nom; }

  // Starts with `ini` as the options file (none when empty) and the given command line.
  bool demarrer(const std::string& ini, QStringList args = {}, bool inscriptible = true,
                QString utilisateur = {}) {
    if (!ini.empty()) ecrire_tout(chemin("montagne.ini"), ini);
    w = std::make_unique<TBasewindow>(&data);
    w->creer_carte = [] { return new CarteProvisoire; };
    auto d = std::make_unique<FakeDialoguesDocuments>();
    dialogues = d.get();
    w->utiliser_dialogues(std::move(d));
    reels = w->documents;
    sauver_reel = w->documents.sauver_document;
    enregistrer_reel = w->documents.enregistrer;
    w->documents.ouvrir_vue = [this] { ouverts.push_back("vue:" + w->etat.fichier_courant); };
    w->documents.ouvrir_video = [this] { ouverts.push_back("vid:" + w->etat.fichier_courant); };
    auto mat = w->documents.ouvrir_montagne;
    w->documents.ouvrir_montagne = [this, mat] {
      ouverts.push_back("mat:" + w->etat.fichier_courant);
      mat();
    };
    w->documents.sauver_document = [this] {
      sauvegardes.push_back(w->etat.montagne_courante);
      return true;
    };
    w->documents.enregistrer = [this] {
      sauvegardes.push_back(w->etat.montagne_courante);
      return true;
    };
    w->documents.FileprecItemClick = [this](const std::string& c) { precedents.push_back(c); };
    ReglagesDemarrage r;
    r.executable = chemin("quorvel");
    r.inscriptible = [inscriptible](const QString&) { return inscriptible; };
    r.dossier_utilisateur = utilisateur;
    r.arguments = args;
    bool ok = w->FormCreate(r);
    if (ok) {
      w->show();
      w->activateWindow();
    }
    return ok;
  }

  // A mountain document on disk, opened with "&Open ...".
  int ouvrir(const QString& nom) {
    QString c = chemin(nom);
    ecrire_tout(c, lire_tout(QUORVEL_SOURCE_DIR "/tests/data/plat.mat"));
    dialogues->ouvertures.push_back(c.toStdString());
    w->action(Commande::ouvrir)->trigger();
    return w->etat.montagne_courante;
  }

  FakeVue* vue(int m, const QString& titre = "view") {
    auto* v = new FakeVue;
    v->setWindowTitle(titre);
    v->resize(200, 150);
    if (!w->ajouter_vue(v, m)) {
      delete v;
      return nullptr;
    }
    return v;
  }
  FakeVideo* video(int vue, const QString& titre = "video") {
    auto* f = new FakeVideo;
    f->setWindowTitle(titre);
    if (!w->ajouter_video(f, vue)) {
      delete f;
      return nullptr;
    }
    return f;
  }
  void activer(QWidget* enfant) {
    w->activer(enfant);
    QApplication::processEvents();
  }
  // Lets deferred deletions run.
  static void vider() {
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
};
