// The program's file dialogs, whose lists neither drag nor take drops.
#include "fenetres/dialogue_fichier.h"

#include <QAbstractItemView>
#include <QChildEvent>

namespace fenetres {

namespace {

// Guards each file dialog polished under the widgets it watches.
class GardeDialogues : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* objet, QEvent* e) override {
    if (e->type() == QEvent::ChildPolished)
      if (auto* d = qobject_cast<QFileDialog*>(static_cast<QChildEvent*>(e)->child())) sans_glisser_deposer(*d);
    return QObject::eventFilter(objet, e);
  }
};

}  // namespace

DialogueFichier::DialogueFichier(QWidget* parent, const QString& titre) : QFileDialog(parent, titre) {
  sans_glisser_deposer(*this);
}

void DialogueFichier::setVisible(bool visible) {
  QFileDialog::setVisible(visible);
  if (visible) sans_glisser_deposer(*this);
}

void sans_glisser_deposer(QFileDialog& d) {
  // The toolkit hands a drop only to a widget that accepts drops; the file
  // lists' own moves start only from a drag of theirs. Their model is left
  // as it is: the dialog's selection of typed names assumes it is the lists'
  // model, and a read-only one would also turn New Folder, rename and delete off.
  for (QAbstractItemView* v : d.findChildren<QAbstractItemView*>()) {
    v->setDragDropMode(QAbstractItemView::NoDragDrop);  // neither drags nor takes drops
    v->viewport()->setAcceptDrops(false);
  }
}

void garder_dialogues_fichier(QWidget& racine) {
  auto* garde = new GardeDialogues(&racine);
  racine.installEventFilter(garde);
  for (QWidget* w : racine.findChildren<QWidget*>()) w->installEventFilter(garde);
}

}  // namespace fenetres
