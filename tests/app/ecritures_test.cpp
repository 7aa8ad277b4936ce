// Every writer of the program handed a target that is not a regular file: the
// safe write under documents and pictures, the model's text files, the options
// file, the control library's settings file, the movie encoder and the PDF
// printer. Each refuses, says what is there and replaces nothing; a link to a
// regular file is written through and stays a link.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPrinter>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/options.h"
#include "components/apercu.h"
#include "controls/inictrl.h"
#include "model/texte.h"
#include "platform/fichiers.h"
#include "render/jpeg.h"
#include "tests/support/films.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kTube = "a named pipe is not a regular file";

class Ecritures : public ::testing::Test {
 protected:
  void SetUp() override {
    dossier_ = fs::temp_directory_path() / ("quorvel-ecritures-" + std::to_string(::getpid()));
    fs::remove_all(dossier_);
    fs::create_directories(dossier_);
    ASSERT_EQ(::mkfifo(chemin("tube.dat").c_str(), 0600), 0);
    fs::create_symlink("tube.dat", dossier_ / "vers_tube.dat");
    ASSERT_TRUE(ecrire_fichier(chemin("vrai.dat"), "old").empty());
    fs::create_symlink("vrai.dat", dossier_ / "vers_vrai.dat");
  }
  void TearDown() override { fs::remove_all(dossier_); }
  std::string chemin(const std::string& nom) const { return (dossier_ / nom).string(); }
  // What the folder holds: a writer that refused left nothing of its own.
  std::vector<std::string> contenu() const {
    std::vector<std::string> noms;
    for (const auto& e : fs::directory_iterator(dossier_)) noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
  }
  // The regular file named by the link now holds what a writer put there.
  std::string par_le_lien() const {
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dossier_ / "vers_vrai.dat")));
    return lire_fichier(chemin("vrai.dat")).value_or("<unreadable>");
  }
  fs::path dossier_;
};

// A character device of the test's own, the same as /dev/null, so that a
// faulty write can never replace the system's; /dev/null itself for a user
// who may not make one (and who cannot replace /dev/null either).
std::string peripherique(const std::string& chemin) {
  if (::mknod(chemin.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) return chemin;
  return "/dev/null";
}

// What `f` throws, empty when it throws nothing.
template <class F>
std::string levee(F f) {
  try {
    f();
  } catch (const std::exception& x) {
    return x.what();
  }
  return {};
}

TEST_F(Ecritures, OnlyRegularFilesAreReplaced) {
  fs::create_symlink(peripherique(chemin("nul")), dossier_ / "vers_nul");
  fs::create_directory(dossier_ / "dossier");
  const std::vector<std::string> avant = contenu();

  // The safe write: pipe, link to a pipe, link to a device, directory.
  EXPECT_EQ(ecrire_fichier(chemin("tube.dat"), "x"), kTube);
  EXPECT_EQ(ecrire_fichier(chemin("vers_tube.dat"), "x"), kTube);
  EXPECT_EQ(copier_fichier(chemin("vrai.dat"), chemin("vers_tube.dat")), kTube);
  EXPECT_EQ(ecrire_fichier(chemin("vers_nul"), "x"), "a character device is not a regular file");
  EXPECT_EQ(ecrire_fichier(chemin("dossier"), "x"), "a directory is not a regular file");
  EXPECT_TRUE(fs::is_character_file(fs::status(dossier_ / "vers_nul")));
  EXPECT_TRUE(fs::is_empty(dossier_ / "dossier"));
  // A picture and a text file of the model go the same way.
  EXPECT_FALSE(render::ecrire_jpeg(chemin("vers_tube.dat"), render::Bitmap(8, 8), 90));
  EXPECT_NE(levee([&] { model::TextWriter().save(chemin("vers_tube.dat")); }).find(kTube), std::string::npos);

  // The options file.
  etat_documents e;
  EXPECT_EQ(Sauve_options(e, chemin("vers_tube.dat")), kTube);
  ASSERT_TRUE(Sauve_options(e, chemin("vers_vrai.dat")).empty());
  EXPECT_EQ(par_le_lien().rfind(MARQUE_OPTIONS, 0), 0u);

  // The control library's settings file.
  CtlIniCtrl ini;
  ini.SetTarget(itIniFile);
  ini.SetIniPrefix(ppFixed);
  ini.SetIniFile(QString::fromStdString(chemin("vers_tube.dat")));
  EXPECT_NE(levee([&] { ini.WriteString("Main", "a", "1"); }).find(kTube), std::string::npos);
  ini.SetIniFile(QString::fromStdString(chemin("vers_vrai.dat")));
  ini.WriteString("Main", "a", "1");
  EXPECT_NE(par_le_lien().find("a=1"), std::string::npos);

  // A movie.
  namespace vcv = platform::vcv;
  EXPECT_EQ(test_films::ecrire(chemin("vers_tube.dat"), 2), "");
  EXPECT_EQ(vcv::check_error(), vcv::kCannotCreateOutput);
  EXPECT_NE(vcv::last_error_text().find(kTube), std::string::npos) << vcv::last_error_text();
  ASSERT_EQ(test_films::ecrire(chemin("vers_vrai.dat"), 2), chemin("vers_vrai.dat"));
  EXPECT_EQ(par_le_lien().substr(8, 4), "AVI ");

  // A PDF.
  components::TPrintPreview apercu;
  apercu.BeginDoc();
  apercu.GetCanvas()->fillRect(0, 0, 100, 100, Qt::black);
  apercu.EndDoc();
  QPrinter imprimante;
  imprimante.setOutputFormat(QPrinter::PdfFormat);
  imprimante.setOutputFileName(QString::fromStdString(chemin("vers_tube.dat")));
  apercu.SetPrinter(&imprimante);
  std::string erreur;
  apercu.OnPrintError = [&](const QString& m) { erreur = m.toStdString(); };
  apercu.Print();
  EXPECT_EQ(erreur, std::string("The PDF file cannot be written: ") + kTube);
  imprimante.setOutputFileName(QString::fromStdString(chemin("vers_vrai.dat")));
  apercu.Print();
  EXPECT_FALSE(apercu.Aborted());
  EXPECT_EQ(par_le_lien().rfind("%PDF", 0), 0u);

  EXPECT_TRUE(fs::is_fifo(fs::status(dossier_ / "vers_tube.dat")));
  EXPECT_EQ(contenu(), avant) << "a writer left a file of its own, or replaced one";
}

}  // namespace
