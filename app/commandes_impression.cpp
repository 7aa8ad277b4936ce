// "Print ..." and "Printer adjustments ...": the print form set up from the current view, and the printer dialog.
#include "app/commandes_impression.h"

#include <QPrinter>

#include "app/hote_documents.h"

CommandesImpression::CommandesImpression(etat_documents& etat, HoteImpression& hote)
    : e_(etat), w_(hote), imprimante_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  choisir_imprimante = choisir_imprimante_qt;
  montrer = [](TPreview_print& f) { f.exec(); };
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
  const int v = e_.vue_courante;
  if (v < 1 || v > NOMBRE_MAX_VUES || !w_.fenetre_vue(v)) return;
  FenetreVue* vue = w_.fenetre_vue(v);
  if (!formulaire_) formulaire_ = new TPreview_print(w_.fenetre_principale());
  TPreview_print& f = *formulaire_;
  f.utiliser_imprimante(imprimante_.get(), [this](QPrinter& p, QWidget* parent) {
    return choisir_imprimante && choisir_imprimante(p, parent);
  });
  const QString taille =
      "(" + QString::number(vue->largeur_image) + " x " + QString::number(vue->hauteur_image) + ")";
  f.Setup(titre_impression(vue->windowTitle()), taille, image_qt(w_.image_vue(v)));
  for (const std::string& ligne : e_.parametres.texte) {
    if (ligne.empty()) break;
    f.AddLine(QString::fromLatin1(ligne.data(), static_cast<qsizetype>(ligne.size())));
  }
  f.FormActivate();
  if (montrer) montrer(f);
}

void CommandesImpression::reglages_imprimante() {
  if (choisir_imprimante) choisir_imprimante(*imprimante_, w_.fenetre_principale());
}
