// The program's file dialogs: the toolkit's file dialog whose lists neither
// start a drag nor take a drop. The toolkit's lists move a file dropped on a
// folder at once, without a question, so that a slip of the mouse while
// choosing a file would move the user's files; here a drag moves, copies or
// links nothing, and choosing, typing, New Folder, rename and delete stay.
#pragma once

#include <QFileDialog>

namespace fenetres {

// Every file dialog the program builds is one of these (a dialog for one
// file derives from it).
class DialogueFichier : public QFileDialog {
 public:
  DialogueFichier(QWidget* parent, const QString& titre);
  // The toolkit may build the dialog's lists only when it is shown (a
  // native dialog that failed): they are guarded then as well.
  void setVisible(bool visible) override;
};

// Turns drag and drop off in every list of `d`: none starts a drag or takes
// a drop; idempotent.
void sans_glisser_deposer(QFileDialog& d);

// Guards the file dialogs the toolkit builds itself under `racine` (the print
// dialog's choice of a PDF file) as they are shown.
void garder_dialogues_fichier(QWidget& racine);

}  // namespace fenetres
