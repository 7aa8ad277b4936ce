// Start-up without a window: the program folder and its seeding, the tables
// start-up leaves, and which document a file name opens.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/programme.h"
#include "platform/fichiers.h"

namespace {

void ecrire(const QString& chemin, const std::string& octets) {
  QFile f(chemin);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(octets.data(), static_cast<qint64>(octets.size()));
}

std::string lire(const QString& chemin) { return lire_fichier(chemin.toStdString()).value_or(""); }

}  // namespace

// The per-user folder is seeded only with what it lacks: an options file or a
// sky picture the user already has is kept as it is.
TEST(DossierProgramme, TheUserFolderIsSeededOnlyWithWhatItLacks) {
  QTemporaryDir d;
  const QString exe = d.path() + "/bin", user = d.path() + "/user";
  QDir().mkpath(exe + "/ciels");
  ecrire(exe + "/montagne.ini", "shipped");
  ecrire(exe + "/ciels/a.jpg", "shipped a");
  ecrire(exe + "/ciels/b.jpg", "shipped b");
  QDir().mkpath(user + "/ciels");
  ecrire(user + "/montagne.ini", "the user's");
  ecrire(user + "/ciels/a.jpg", "the user's a");
  ReglagesDemarrage r;
  r.executable = exe + "/quorvel";
  r.inscriptible = [&](const QString& dossier) { return dossier != exe; };
  r.dossier_utilisateur = user + "/";
  EXPECT_EQ(preparer_dossier_programme(r), user);
  EXPECT_EQ(lire(user + "/montagne.ini"), "the user's");
  EXPECT_EQ(lire(user + "/ciels/a.jpg"), "the user's a");
  EXPECT_EQ(lire(user + "/ciels/b.jpg"), "shipped b");
  EXPECT_TRUE(QFileInfo(user + "/temp").isDir());
  EXPECT_FALSE(QFileInfo::exists(exe + "/temp"));
  // A writable program folder, or no per-user folder: the executable's folder.
  r.inscriptible = [](const QString&) { return true; };
  EXPECT_EQ(preparer_dossier_programme(r), exe);
  EXPECT_TRUE(QFileInfo(exe + "/temp").isDir());
  r.inscriptible = [](const QString&) { return false; };
  r.dossier_utilisateur.clear();
  EXPECT_EQ(preparer_dossier_programme(r), exe);
}

TEST(DossierProgramme, StartTablesHoldNoDocumentAndKeepTheOptions) {
  etat_documents e;
  e.montagnes[2].type.utilise = e.montagnes[2].type.a_fichier = e.montagnes[2].type.modifie_edition = 1;
  e.vues[10].utilise = e.videos[1].utilise = true;
  e.montagne_courante = 2;
  e.vue_courante = 10;
  e.video_courante = 1;
  e.nombre_montagnes = e.nombre_vues = e.nombre_videos = 1;
  e.largeur_defaut = e.largeur_defaut_copie = e.hauteur_defaut = e.hauteur_defaut_copie = 9;
  e.informations[10] = "line";
  e.recents = {"/a.mat"};
  e.vue.largeur_image = 800;
  tables_de_depart(e);
  for (const auto& m : e.montagnes) EXPECT_FALSE(m.type.utilise || m.type.a_fichier || m.type.modifie_edition);
  for (const auto& v : e.vues) EXPECT_FALSE(v.utilise);
  for (const auto& w : e.videos) EXPECT_FALSE(w.utilise);
  EXPECT_EQ(e.montagne_courante + e.vue_courante + e.video_courante, 0);
  EXPECT_EQ(e.nombre_montagnes + e.nombre_vues + e.nombre_videos, 0);
  EXPECT_EQ(e.largeur_defaut, 400);
  EXPECT_EQ(e.largeur_defaut_copie, 400);
  EXPECT_EQ(e.hauteur_defaut, 300);
  EXPECT_EQ(e.hauteur_defaut_copie, 300);
  EXPECT_EQ(e.informations[10], "");
  EXPECT_EQ(e.recents.size(), 1u);
  EXPECT_EQ(e.vue.largeur_image, 800);
}

// The command line goes by the last three letters in any case; a drop goes by
// the extension in lower case, and a picture opens the view document beside it.
TEST(DossierProgramme, WhatAFileNameOpens) {
  EXPECT_EQ(ouverture_par_fin("/d/a.mat"), Ouverture::montagne);
  EXPECT_EQ(ouverture_par_fin("/d/X.VUE"), Ouverture::vue);
  EXPECT_EQ(ouverture_par_fin("/d/b.Vid"), Ouverture::video);
  EXPECT_EQ(ouverture_par_fin("/d/c.bmp"), Ouverture::rien);
  EXPECT_EQ(ouverture_par_fin(""), Ouverture::rien);
  struct Cas {
    std::string chemin;
    Ouverture genre;
    std::string ouvert;
  };
  for (const Cas& c : {Cas{"/d/x.bmp", Ouverture::vue, "/d/x.vue"}, Cas{"/d/x.mat", Ouverture::montagne, "/d/x.mat"},
                       Cas{"/d/x.vue", Ouverture::vue, "/d/x.vue"}, Cas{"/d/x.vid", Ouverture::video, "/d/x.vid"},
                       Cas{"/d/X.VUE", Ouverture::rien, "/d/X.VUE"}, Cas{"/d/x.BMP", Ouverture::rien, "/d/x.BMP"},
                       Cas{"/d.mat/x", Ouverture::rien, "/d.mat/x"}, Cas{"/d/x.txt", Ouverture::rien, "/d/x.txt"}}) {
    std::string chemin = c.chemin;
    EXPECT_EQ(ouverture_deposee(chemin), c.genre) << c.chemin;
    EXPECT_EQ(chemin, c.ouvert);
  }
}
