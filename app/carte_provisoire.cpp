#include "app/carte_provisoire.h"

#include <QFileInfo>
#include <QPainter>

#include "app/document.h"
#include "app/fichiers.h"
#include "app/mainwindow.h"
#include "model/interfaces.h"

CarteProvisoire::CarteProvisoire(QWidget* parent) : CarteMontagne(parent) {
  setMinimumSize(260, 150);
  resize(300, 170);
}

void CarteProvisoire::initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date) {
  CarteMontagne::initialiser_fiche(proprietaire, a_fichier, date);
  update();
}

void CarteProvisoire::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(216, 208, 184));
  p.setPen(Qt::black);
  QString texte = QString("Mountain N° %1\n%2\nMesh degree %3\nKey %4")
                      .arg(no_matrice)
                      .arg(windowTitle())
                      .arg(parametres.maillage)
                      .arg(parametres.cle);
  p.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texte);
}

void ouvrir_montagne_provisoire(TBasewindow& w) {
  auto& e = w.etat;
  const std::string chemin = e.fichier_courant;
  if (e.montagne_libre() == 0) {
    warn("No room for a new mountain (>5)", "Mountain ");
    return;
  }
  auto octets = lire_fichier(chemin);
  if (!octets) return;
  document_lu d;
  try {
    d = lire_document(std::move(*octets), chemin, GenreDocument::montagne);
  } catch (const ErreurDocument& err) {
    warn(err.what(), "Quorvel");
    return;
  }
  param_mat p = d.parametres;
  const std::string nom = QFileInfo(QString::fromLocal8Bit(chemin.c_str())).fileName().toLocal8Bit().toStdString();
  int m = w.prendre_montagne(nom, QString::fromLocal8Bit(chemin.c_str()), QString::fromLocal8Bit(nom.c_str()), p);
  if (!m) return;
  auto& slot = e.montagnes[m];
  slot.type.fichier = chemin;
  slot.type.a_fichier = 1;
  slot.type.genre = 1;
  slot.terrain = std::move(d.terrain);
  if (auto* c = dynamic_cast<CarteProvisoire*>(w.cartes[m].data())) c->fichier = chemin;
  w.cartes[m]->initialiser_fiche(w.handle(), true, 0);
  e.montagne_courante = m;
  w.maj_fichiers_recents();
  w.activer(w.cartes[m]);
}
