#include "app/programme.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTreeWidget>
#include <QWindow>
#include <cstdio>
#include <functional>
#include <ctime>
#include <thread>

#include "app/apropos.h"
#include "app/mainwindow.h"
#include "app/options.h"
#include "app/qt_platform.h"
#include "components/gif_plugin.h"
#include "components/graphiques.h"
#include "controls/application.h"
#include "fenetres/donnees_images.h"
#include "fenetres/dossiers.h"
#include "fenetres/proprietaire_boites.h"
#include "model/interfaces.h"
#include "video/dialogue_fichier_video.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }
std::string S(const QString& s) { return s.toLocal8Bit().toStdString(); }

// Copies `source` to `cible` unless something is already there.
void copier_absent(const QString& source, const QString& cible) {
  if (genre_fichier(S(cible)) == GenreFichier::absent && fichier_existe(S(source))) copier_fichier(S(source), S(cible));
}

}  // namespace

ReglagesDemarrage reglages_du_programme(const QStringList& arguments) {
  ReglagesDemarrage r;
  r.executable = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
  r.inscriptible = [](const QString& dossier) {
    // A new file of its own, removed at once: never one that is there.
    QTemporaryFile essai(dossier + "/.quorvel-write-test-XXXXXX");
    return essai.open();
  };
  r.dossier_utilisateur = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  r.arguments = arguments;
  return r;
}

QString preparer_dossier_programme(const ReglagesDemarrage& r) {
  const QString dossier_exe = QFileInfo(r.executable).absolutePath();
  QString dossier = dossier_exe;
  if (r.inscriptible && !r.inscriptible(dossier_exe) && !r.dossier_utilisateur.isEmpty()) {
    // The program's own folder cannot be written: the per-user folder holds the
    // options file, the sky pictures and the work folder, seeded on first use.
    dossier = r.dossier_utilisateur;
    QDir().mkpath(dossier);
    copier_absent(Q(dossiers::options(S(dossier_exe))), Q(dossiers::options(S(dossier))));
    QDir ciels(Q(dossiers::ciels(S(dossier_exe))));
    if (ciels.exists()) {
      const QString copies = Q(dossiers::ciels(S(dossier)));
      QDir().mkpath(copies);
      for (const QString& n : ciels.entryList(QDir::Files)) copier_absent(ciels.filePath(n), copies + "/" + n);
    }
  }
  QDir().mkpath(Q(dossiers::temporaire(S(dossier))));
  return QDir::cleanPath(dossier);
}

void tables_de_depart(etat_documents& e) {
  e.vue_courante = e.montagne_courante = e.video_courante = 0;
  for (auto& m : e.montagnes) {
    m.type.utilise = 0;
    m.type.a_fichier = 0;
    m.type.modifie_edition = 0;
  }
  for (auto& v : e.vues) v.utilise = false;
  for (auto& w : e.videos) w.utilise = false;
  e.nombre_montagnes = e.nombre_vues = e.nombre_videos = 0;
  e.largeur_defaut = e.largeur_defaut_copie = 400;
  e.hauteur_defaut = e.hauteur_defaut_copie = 300;
  e.informations = {};
}

Ouverture ouverture_par_fin(const std::string& chemin) {
  const QString fin = Q(chemin).right(3).toUpper();
  if (fin == "MAT") return Ouverture::montagne;
  if (fin == "VUE") return Ouverture::vue;
  if (fin == "VID") return Ouverture::video;
  return Ouverture::rien;
}

Ouverture ouverture_deposee(std::string& chemin) {
  const std::size_t barre = chemin.find_last_of('/');
  const std::size_t point = chemin.find_last_of('.');
  if (point == std::string::npos || (barre != std::string::npos && point < barre)) return Ouverture::rien;
  const std::string ext = chemin.substr(point);
  if (ext == ".bmp") {
    chemin = chemin.substr(0, point) + ".vue";
    return Ouverture::vue;
  }
  if (ext == ".mat") return Ouverture::montagne;
  if (ext == ".vue") return Ouverture::vue;
  if (ext == ".vid") return Ouverture::video;
  return Ouverture::rien;
}

// ---------------------------------------------------------------- the main window's start-up

bool TBasewindow::FormCreate(const ReglagesDemarrage& r) {
  // Program folder, start-up state.
  etat.dossier_programme = S(preparer_dossier_programme(r));
  etat.demarrage = true;
  etat.demarrer_sur_fichier = false;
  // Splash.
  splash_ = new TAboutBox(nullptr, {}, web_address(), false);  // its window; filled in later
  splash_->setModal(false);
  // Its timer frees it, whatever is open then: it owns no message box.
  marquer_passagere(*splash_);
  splash_->show();
  Timer2_.start();
  // The options file.
  if (!QFileInfo::exists(Q(etat.chemin_options()))) {
    Timer1_.stop();
    Timer2_.stop();
    delete splash_;
    warn("The default parameters file \"Montagne.ini\" could not be found. The file \"montagne.ini\" must be in the "
         "same directory as the executing file " + S(QFileInfo(r.executable).absoluteFilePath()),
         "Quorvel");
    return false;
  }
  Lire_options();
  setAcceptDrops(true);
  // Tables and the settings of the commands.
  tables_de_depart(etat);
  edition_ouverte.fill(0);
  aide_contextuelle = 0;
  image_brute = occupe = rafraichir_demande = nouveau_demande = options_seules = vue_sans_rendu = 0;
  galerie_ouverte = import_ouvert = courbes_niveau = 0;
  cocher_options();
  tableau_cameras.reset();
  resize(width(), 660);
  TreeView1_->clear();
  // A command-line file takes the place of the starting file.
  if (!r.arguments.isEmpty()) {
    Timer1_.start();
    etat.fichier_courant = S(QFileInfo(r.arguments.first()).absoluteFilePath());
  }
  return true;
}

void TBasewindow::Timer2Timer() {
  Timer2_.stop();
  delete splash_;
}

void TBasewindow::ouvrir_fichier() {
  if (etat.fichier_courant.empty()) return;
  Timer1_.stop();
  ouvrir_par_extension(Q(etat.fichier_courant));
}

void TBasewindow::ouvrir_document(Ouverture genre) {
  std::function<void()>* commande = nullptr;
  switch (genre) {
    case Ouverture::montagne: commande = &documents.ouvrir_montagne; break;
    case Ouverture::vue: commande = &documents.ouvrir_vue; break;
    case Ouverture::video: commande = &documents.ouvrir_video; break;
    case Ouverture::rien: break;
  }
  if (commande && *commande) (*commande)();
  UpdateItems();
}

void TBasewindow::ouvrir_par_extension(const QString& chemin) {
  etat.fichier_courant = S(chemin);
  ouvrir_document(ouverture_par_fin(etat.fichier_courant));
}

void TBasewindow::fichiers_deposes(const QStringList& chemins) {
  if (chemins.isEmpty()) return;
  // The name is taken whole, however long.
  etat.fichier_courant = S(QFileInfo(chemins.first()).absoluteFilePath());
  if (!QFileInfo::exists(Q(etat.fichier_courant))) return;
  ouvrir_document(ouverture_deposee(etat.fichier_courant));
}

// ---------------------------------------------------------------- options commands

void TBasewindow::Lire_options() {
  const bool au_demarrage = etat.demarrage;
  const Echec ec = ::Lire_options(etat, etat.chemin_options(), options_seules);
  if (!ec.empty()) {
    // A pipe, a directory or a file too large to be an options file: the
    // records keep what they hold.
    warn("The options file " + etat.chemin_options() + " cannot be read: " + ec, "Quorvel");
    return;
  }
  if (!options_seules && au_demarrage && etat.demarrer_sur_fichier) Timer1_.start();
  reconstruire_recents();
}

void TBasewindow::Sauve_options() {
  Sauve_options_ou_avertir(etat, etat.chemin_options());
}

void TBasewindow::Fic_defClick() {
  etat.demarrer_sur_fichier = !etat.demarrer_sur_fichier;
  action(Commande::fichier_depart)->setChecked(etat.demarrer_sur_fichier);
}

void TBasewindow::maj_fichiers_recents() {
  if (::maj_fichiers_recents(etat)) reconstruire_recents();
}

// ---------------------------------------------------------------- program entry

namespace {

// The font database: the system's font configuration (fontconfig) reads its
// XML files and font caches, and Qt lists every font, the first time a font is
// measured, which the main window does early in its construction. That work
// runs on a thread of its own from the moment the application object exists,
// while the picture lists and the window's first controls are made; Qt's
// font database is guarded by its own lock, so a font asked for meanwhile
// waits for it. The thread ends by itself and is joined at the end.
class BasePolicesEnAvance {
 public:
  BasePolicesEnAvance() : fil_([] { QFontDatabase::families(); }) {}
  ~BasePolicesEnAvance() { fil_.join(); }
  BasePolicesEnAvance(const BasePolicesEnAvance&) = delete;
  BasePolicesEnAvance& operator=(const BasePolicesEnAvance&) = delete;

 private:
  std::thread fil_;
};

// Runs `suite` once `fenetre` has handled its first exposure (painted and
// flushed): posted from the exposure, so that it runs after it.
class ApresPremiereExposition : public QObject {
 public:
  ApresPremiereExposition(QWidget& fenetre, std::function<void()> suite)
      : QObject(&fenetre), suite_(std::move(suite)) {
    if (fenetre.windowHandle()) fenetre.windowHandle()->installEventFilter(this);
  }
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* natif = qobject_cast<QWindow*>(o);
    if (e->type() == QEvent::Expose && natif && natif->isExposed()) {
      o->removeEventFilter(this);
      QMetaObject::invokeMethod(this, suite_, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  std::function<void()> suite_;
};

// For the start-up benchmark (bench/demarrage_bench.cpp): with the environment
// variable QUORVEL_QUIT_WHEN_SHOWN set, the program writes the line "shown" and
// its CPU time so far (ms, every thread) on its standard output once its main
// window has handled its first exposure, then leaves its message loop. Read
// here only.
void quitter_une_fois_montree(QWidget& w) {
  if (!qEnvironmentVariableIsSet("QUORVEL_QUIT_WHEN_SHOWN")) return;
  new ApresPremiereExposition(w, [] {
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::printf("shown %.3f\n", double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) * 1e-6);
    std::fflush(stdout);
    QCoreApplication::exit(0);
  });
}

}  // namespace

bool montrer_au_demarrage(TBasewindow& w, const ReglagesDemarrage& r) {
  if (!w.FormCreate(r)) return false;
  w.show();
  // The splash, on the screen before the main window, is filled in once
  // the main window has appeared.
  new ApresPremiereExposition(w, [&w] {
    if (TAboutBox* s = w.splash()) s->Complete();
  });
  // The splash stays in front of the main window for its two seconds.
  if (TAboutBox* s = w.splash()) {
    s->move(w.geometry().center() - s->rect().center());
    s->raise();
  }
  return true;
}

int executer_programme(int argc, char** argv) {
  QApplication app(argc, argv);
  BasePolicesEnAvance polices;
  QApplication::setApplicationName("Quorvel");
  // The library's application object, with the mutex named after the executable.
  CtlApplication::Instance();
  components::RegisterGifPictureFormat();
  components::RegisterCursors();
  install_message_pump();
  QtUserInterface ui;
  set_user_interface(&ui);
  installer_dialogue_fichier_video();
  int rc = 1;
  {
    TData data;
    QApplication::setWindowIcon(data.ProgramIcon());  // also for windows without an owner
    TBasewindow w(&data);
    ui.fixer_principale(&w);
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (montrer_au_demarrage(w, reglages_du_programme(args))) {
      quitter_une_fois_montree(w);
      rc = app.exec();
    }
  }
  set_user_interface(nullptr);
  return rc;
}
