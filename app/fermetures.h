// The closing cascades and the exit questions over the document tables: which
// documents close with a mountain, a view or a video and in which order, which
// questions are asked, what is saved and which document becomes current. The
// main window only carries out what is decided here: it closes the child
// windows and frees their explorer nodes through HoteFermetures. Plain C++.
#pragma once

#include <string>

#include "app/etat_documents.h"

// The child windows as the cascades see them. A slot whose window is gone
// answers false or nullptr.
class HoteFermetures {
 public:
  virtual ~HoteFermetures() = default;

  virtual bool vue_modifiee(int v) = 0;
  virtual bool vue_a_fichier(int v) = 0;
  virtual bool sauvegarde_vue_demandee(int v) = 0;  // the view's own question was answered Yes
  virtual const param_vue* parametres_de_vue(int v) = 0;
  virtual bool video_refaite(int w) = 0;  // the movie was made again since the last save
  virtual bool video_a_fichier(int w) = 0;
  virtual bool sauvegarde_video_demandee(int w) = 0;
  virtual std::string question_video(int w) = 0;  // the question the window asks in its own close
  virtual const Param_video* parametres_de_video(int w) = 0;
  virtual bool edition_ouverte(int m) = 0;
  virtual bool edition_modifiee(int m) = 0;

  virtual void oublier_vue_modifiee(int v) = 0;
  virtual void oublier_video_refaite(int w) = 0;
  virtual void oublier_edition_modifiee(int m) = 0;

  // Closes a window that is still open, without any question of its own, and
  // frees its explorer node; the slot is already free in the tables.
  virtual void fermer_edition(int m) = 0;
  virtual void fermer_fenetre_vue(int v) = 0;
  virtual void fermer_fenetre_video(int w) = 0;
  // Takes away a window that closed itself; its node is freed when asked.
  virtual void retirer_edition(int m, bool liberer_noeud) = 0;
  virtual void retirer_vue(int v, bool liberer_noeud) = 0;
  virtual void retirer_video(int w, bool liberer_noeud) = 0;
  // Frees the card of a closed mountain and its node (and the nodes below it).
  virtual void retirer_carte(int m) = 0;
  // The view's picture is no longer kept once its document is saved.
  virtual void liberer_image_vue(int v) = 0;
  // The tables are being rearranged: the window's own scans wait.
  virtual void occupe(bool actif) = 0;

  // The document commands: "&Save" of the current mountain, and the save of
  // the current mountain's document with the current records. Each is false
  // when the document was not written: a failed write, Cancel in "Save as",
  // No to replacing a file the save would take.
  virtual bool enregistrer() = 0;
  virtual bool sauver_document() = 0;
};

// Yes/No questions to the user; each of them offers to save what No would
// throw away.
class QuestionsFermeture {
 public:
  virtual ~QuestionsFermeture() = default;
  virtual bool oui(const std::string& question) = 0;
};

// The questions as the program's save questions: Yes by default, and only
// Yes or No answers them.
class QuestionsBoites : public QuestionsFermeture {
 public:
  bool oui(const std::string& question) override;
};

class CascadesFermeture {
 public:
  CascadesFermeture(etat_documents& e, HoteFermetures& h, QuestionsFermeture& q) : e_(e), h_(h), q_(q) {}

  // Mountain m closes: its question, then its editor, views and videos close
  // without questions, its slot and terrain are freed and the lowest open
  // mountain becomes current. False when the save its question was answered
  // Yes for wrote nothing: the mountain stays open and current, with its
  // windows, and edited.
  bool fermer_montagne(int m);
  // View v closed itself: saved when its own question was answered Yes; its
  // videos close, each one that would ask in its own close asked the same
  // question first; the lowest open view (and its mountain) becomes current.
  void fermer_vue(int v);
  // Video w closed itself: saved when asked and its movie was remade.
  void fermer_video(int w);
  // The editor of mountain m closed itself and is already marked closed: the
  // mountain's question when it has a file and was changed, asked while the
  // editor still shows its map; then the editor is taken away. The mountain
  // stays edited when its save wrote nothing.
  void fermer_edition(int m);

  // The question of a closing mountain: asked when it has a file and it, the
  // current view, one of its views or videos changed. False when it was
  // answered Yes and the save wrote nothing; the current view then keeps its
  // changed state.
  bool poser_question_montagne(int m);
  // The exit questions, mountain by mountain, for every mountain changed
  // directly or through a view, video or editor. False when a save the user
  // asked for was not made: the exit stops there, the mountain still edited.
  bool fermer_avant_sortie();
  // The exit questions; then no view or video is left changed (their own
  // closing questions would save nothing), and the options file keeps its
  // sections as they are on disk and receives the starting file and the
  // recent list. False when the exit stops.
  bool sortir();

 private:
  // Saves mountain m as "&Save" does, with its own view and video.
  bool sauver_en_sortie(int m);
  // Makes mountain m, its own view and its own video current for its save.
  void rendre_courants_documents(int m);
  // Saves video w's document with its own settings, as its window's Yes asks.
  void sauver_video(int w);
  // The videos that close with view v or with mountain m.
  void fermer_videos(int v, int m);
  void rendre_courante_premiere_vue();

  etat_documents& e_;
  HoteFermetures& h_;
  QuestionsFermeture& q_;
};
