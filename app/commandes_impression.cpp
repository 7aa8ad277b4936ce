// "Print ..." and "Printer adjustments ...": the print form set up from the current view, and the printer dialog.
#include "app/commandes_impression.h"

#include <QPrinter>

#include "app/hote_documents.h"
#include "fenetres/image_qt.h"
#include "fenetres/page_de_code_qt.h"

CommandesImpression::CommandesImpression(etat_documents& etat, HoteImpression& hote)
    : e_(etat), w_(hote) {
  choisir_imprimante = choisir_imprimante_qt;
  montrer = [](TPreview_print& f) { f.exec(); };
}

CommandesImpression::~CommandesImpression() { delete formulaire_.data(); }

QPrinter& CommandesImpression::imprimante() {
  if (!imprimante_) imprimante_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  return *imprimante_;
}

namespace {

QImage copie_qt(const render::Bitmap* i) { return i ? image_qt(*i).copy() : QImage(); }

}  // namespace

void CommandesImpression::imprimer() {
  const int v = e_.vue_courante;
  if (v < 1 || v > NOMBRE_MAX_VUES || !w_.fenetre_vue(v)) return;
  FenetreVue* vue = w_.fenetre_vue(v);
  if (!formulaire_) formulaire_ = new TPreview_print(w_.fenetre_principale());
  TPreview_print& f = *formulaire_;
  f.utiliser_imprimante(&imprimante(), [this](QPrinter& p, QWidget* parent) {
    return choisir_imprimante && choisir_imprimante(p, parent);
  });
  const QString taille =
      "(" + QString::number(vue->largeur_image) + " x " + QString::number(vue->hauteur_image) + ")";
  f.Setup(titre_impression(vue->windowTitle()), taille, copie_qt(w_.image_vue(v)));
  for (const std::string& ligne : e_.parametres.texte) {
    if (ligne.empty()) break;
    f.AddLine(fenetres::texte_du_document(ligne));
  }
  f.FormActivate();
  if (montrer) montrer(f);
}

void CommandesImpression::reglages_imprimante() {
  if (choisir_imprimante) choisir_imprimante(imprimante(), w_.fenetre_principale());
}
