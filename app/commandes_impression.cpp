// "Print ..." and "Printer adjustments ...": the print form set up from the current view, and the printer dialog.
#include "app/commandes_impression.h"

#include <QPrinter>

#include "app/mainwindow.h"

CommandesImpression::CommandesImpression(TBasewindow& w)
    : w_(w), imprimante_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  choisir_imprimante = choisir_imprimante_qt;
  montrer = [](TPreview_print& f) { f.exec(); };
  w.connecter("Print ...", [this] { imprimer(); });
  w.connecter("Printer adjustments ...", [this] { reglages_imprimante(); });
}

CommandesImpression::~CommandesImpression() { delete formulaire_.data(); }

namespace {

QImage image_qt(const image_rgb32* i) {
  if (!i || i->largeur < 1 || i->hauteur < 1 ||
      i->pixels.size() < static_cast<std::size_t>(i->largeur) * static_cast<std::size_t>(i->hauteur))
    return QImage();
  return QImage(reinterpret_cast<const uchar*>(i->pixels.data()), i->largeur, i->hauteur, i->largeur * 4,
                QImage::Format_RGB32)
      .copy();
}

}  // namespace

void CommandesImpression::imprimer() {
  const int v = w_.etat.vue_courante;
  if (v < 1 || v > NOMBRE_MAX_VUES || !w_.fenetres_vues[v]) return;
  FenetreVue* vue = w_.fenetres_vues[v];
  if (!formulaire_) formulaire_ = new TPreview_print(&w_);
  TPreview_print& f = *formulaire_;
  f.utiliser_imprimante(imprimante_.get(), [this](QPrinter& p, QWidget* parent) {
    return choisir_imprimante && choisir_imprimante(p, parent);
  });
  const QString taille =
      "(" + QString::number(vue->largeur_image) + " x " + QString::number(vue->hauteur_image) + ")";
  f.Setup(titre_impression(vue->windowTitle()), taille, image_qt(w_.image_vue(v)));
  for (const std::string& ligne : w_.etat.parametres.texte) {
    if (ligne.empty()) break;
    f.AddLine(QString::fromLatin1(ligne.data(), static_cast<qsizetype>(ligne.size())));
  }
  f.FormActivate();
  if (montrer) montrer(f);
}

void CommandesImpression::reglages_imprimante() {
  if (choisir_imprimante) choisir_imprimante(*imprimante_, &w_);
}
