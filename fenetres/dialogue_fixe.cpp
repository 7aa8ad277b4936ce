#include "fenetres/dialogue_fixe.h"

#include <QLayout>

Qt::WindowFlags drapeaux_dialogue_fixe(Qt::WindowFlags actuels) {
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
         Qt::WindowCloseButtonHint | (actuels & Qt::WindowStaysOnTopHint);
}

void bordure_dialogue_fixe(QWidget& dialogue, bool taille_du_contenu) {
  dialogue.setWindowFlags(drapeaux_dialogue_fixe(dialogue.windowFlags()));
  if (QLayout* l = dialogue.layout(); l && taille_du_contenu) l->setSizeConstraint(QLayout::SetFixedSize);
}
