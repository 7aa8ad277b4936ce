// Controls as the creation options dialog's pages make them: the page's
// tiled background, a short number field and a transparent check box sized to
// its caption (it shows the background of the panel it is put on).
#pragma once

#include <QString>

class CtlBackPanel;
class CtlCheckBox;
class QLineEdit;
class QWidget;

namespace dialogs {

// A page's background: the dialogs' tile, without bevels.
void habiller_fond(CtlBackPanel* fond);
QLineEdit* champ_creation(QWidget* parent, int largeur = 44);
CtlCheckBox* case_creation(QWidget* parent, const QString& texte, const QString& indication = {});

}  // namespace dialogs
