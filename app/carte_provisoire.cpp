#include "app/carte_provisoire.h"

#include <QFileInfo>
#include <QPainter>

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
                      .arg(parametres().maillage)
                      .arg(parametres().cle);
  p.drawText(rect().adjusted(10, 10, -10, -10), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, texte);
}

