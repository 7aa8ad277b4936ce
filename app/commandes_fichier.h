// The save, open and remove commands of the File menu, on the document-table
// state, through the host and dialogs interfaces. Questions and warnings go
// through the process-wide UserInterface. Plain C++, no Qt.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/etat_documents.h"
#include "app/hote_documents.h"

class CommandesFichier {
 public:
  CommandesFichier(etat_documents& etat, HoteDocuments& hote, DialoguesDocuments& dialogues)
      : e_(etat), hote_(hote), dialogues_(dialogues) {}

  // "&Save" (F3): under the slot's own path, or under a new name when the
  // current mountain has no file yet. True when the document was written.
  bool FileSaveItemClick();
  // "Save &Mountain under...", "Save &View under ...", "Save Movie under ...".
  void FileSaveAsItemClick();
  void Enregistrervuesous();
  void Enregistrervidosous1Click();
  // Save under a new name, with or without the view and video parts. True
  // when written; Cancel, a refusal or a failed write give false.
  bool nom_document(bool vue, bool video);
  // Save the current mountain under its own path, after the questions. True
  // when written.
  bool sauver_document();
  // "Remove": the current file and its pictures and movies, after questions.
  void SupprimerClick();

  // "&Open ...".
  void FileOpenItemClick();
  // A recent-file entry: focuses the document's windows when it is open.
  void FileprecItemClick(const std::string& chemin);
  // Open the current file name as a mountain, view or video document. True
  // when the document was opened.
  bool ouvrir_montagne();
  bool ouvrir_vue();
  bool ouvrir_video();
  // By the upper-cased last four characters of the current file name.
  bool ouvrir_par_extension();

 private:
  struct Instantane;
  Instantane prendre_instantane(int m) const;
  // What a save works on, noted before its first modal window (a file
  // dialog, a question): the current mountain, view and video, and the
  // records written from them.
  struct Travail {
    documents_courants documents;
    std::string nom;
    param_vue vue;
    Param_video video;
  };
  Travail noter_travail() const;
  // The path chosen in the save dialog, with the extension of the document
  // saved, once the files it would take were agreed to. nullopt on Cancel,
  // No, or when the save's documents were closed meanwhile.
  std::optional<std::string> chemin_choisi(bool vue, bool video, const Travail& travail);
  // A save under a name the document did not have: `chemin`, of kind `genre`
  // (1 to 3), where the document was `ancien` of kind `genre_ancien` (0 when
  // it had no file); a movie not made again comes from beside `precedent`;
  // `deja` is a name the file dialog asked about.
  struct NouveauNom {
    std::string chemin;
    int genre = 1;
    std::string ancien;
    int genre_ancien = 0;
    std::string precedent;
    std::string deja;
  };
  // The one guard of every door that saves under a new name: another file at
  // `chemin`, or else each picture or movie beside it that the save would
  // replace or delete, that the program can read and that is not the
  // document's own, is asked about through `oui` (the unreadable ones are
  // asked about as they are written). False at the first No.
  bool accord_nouveau_nom(const NouveauNom& n, const Travail& t, const std::function<bool(const std::string&)>& oui);
  // The questions about the pictures and movie of a new name, in the order
  // the save touches them.
  std::vector<std::string> questions_joints(const NouveauNom& n, const Travail& t);
  // After a modal window: the documents noted become current again with their
  // records; when one of them was closed meanwhile, false after saying that
  // nothing was written.
  bool reprendre(const Travail& t);
  void restaurer(const Instantane& s);
  // The document file was deleted: the slots that had it have no file now.
  void oublier_fichier(const std::string& chemin);
  // What a write left on disk: nothing, the document without the view's
  // picture or the movie it should have had beside it, or everything.
  enum class Ecrit { rien, incomplet, tout };
  // Writes the current mountain's document with the parts asked; on failure
  // restores `avant` and warns.
  Ecrit ecrire(int m, bool avec_vue, bool avec_video, const Instantane& avant);
  // The picture of view v and the movie of video w beside the written
  // document (each when its part was written and its window is known); the
  // slot's path follows the current file name.
  Ecrit ecrire_joints(int m, int v, int w, bool avec_vue, bool avec_video);
  // The steps of `sauver_document`, on the save under way.
  struct Sauvegarde;
  // No view current: the last open view of mountain m becomes current, with
  // its parameters.
  void chercher_vue(int m);
  // The questions that apply, in their order; the answer of the last one
  // asked decides.
  void poser_questions(Sauvegarde& s);
  // One question; false for No, and for a Yes when the save's documents were
  // closed while it was up.
  bool oui(Sauvegarde& s, const std::string& question);
  // "The file " + path + `phrase`, unless a refused replacement or a closed
  // document already ended the questions.
  bool demander(Sauvegarde& s, const std::string& phrase);
  // After a Yes that changes the kind: the path and name take `extension`,
  // and what the save would take there is agreed to first. False when the
  // save's documents were closed meanwhile.
  bool prendre_extension(Sauvegarde& s, const char* extension, int genre);
  // After a Yes: the current file name takes the slot's path, and the recent
  // list follows while the answer is still Yes.
  void adopter_chemin(Sauvegarde& s);
  // After the questions: the save's documents are current again; false (the
  // mountain, when still there, as it was) when one was closed meanwhile.
  bool retrouver_documents(Sauvegarde& s);
  // Writes what the answer asks for, and leaves the edited flag as the files
  // on disk make it.
  Ecrit ecrire_selon_reponse(Sauvegarde& s);
  // After a write that changed the kind: the captions of its windows.
  void renommer_fenetres(const Sauvegarde& s);
  // The view's picture beside the document; false (after a warning) when it
  // could not be written.
  bool ecrire_image(int v);
  // After a question about `fichier` ("The movie <path>") beside the
  // document: false, after saying so, when the window it comes from was
  // closed meanwhile.
  bool encore_la(const temoin_document& t, const std::string& fichier, const char* fenetre);
  // The video's movie beside the document; false (after a warning) when it
  // could not be written. A No to replacing a file there that is not a movie
  // keeps that file and counts as done: the user chose it.
  bool ecrire_film(int w);
  // The movie a video saved as `nouveau` takes: the one it made, or the one
  // beside its `precedent` document; empty when there is none.
  std::string source_film(int w, const std::string& nouveau, const std::string& precedent);
  // A regular file at `chemin` that cannot be read as a movie is not the
  // program's: it is replaced only on the user's Yes. True to replace.
  bool remplacer_film(const std::string& chemin);
  // The same for a picture beside a view document, which `action` ("replace
  // it with this view's picture", "delete it") would destroy.
  bool toucher_image(const std::string& chemin, const std::string& action);
  // The question for a file beside the document that cannot be read, by
  // `raison`; true without asking when `raison` is empty.
  bool accord_illisible(const std::string& fichier, const std::string& raison, const std::string& action);
  // Takes `chemin` out of the recent list.
  void retirer_recent(const std::string& chemin);
  // Reads the current file name (a regular file no larger than a document);
  // nullopt after a warning.
  std::optional<document_lu> lire(GenreDocument genre, const char* titre);
  // Fills a free mountain slot with the document and makes its card.
  bool installer_montagne(document_lu& d, int genre);
  void installer_vue(document_lu& d);
  // Reads a document that holds a view (`genre` 2, or 3 with a video) and,
  // under the waiting cursor, installs its mountain and its view, then runs
  // `suite` on it; false when reading or installing failed.
  bool ouvrir_avec_vue(GenreDocument lu, const char* titre, int genre, const std::function<void(document_lu&)>& suite);
  std::string titre_fiche(int m) const;
  std::string titre_vue(int v, int m, bool court = false) const;
  std::string titre_video(int w, int m) const;
  void recents();

  etat_documents& e_;
  HoteDocuments& hote_;
  DialoguesDocuments& dialogues_;
};

// The movie extension of a video: that of its movie file when it has one,
// else ".mpg" for a codec type above 5 and ".avi" otherwise.
std::string extension_film(const std::string& film, const Param_video& p);
