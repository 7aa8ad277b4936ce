#include "app/commandes_fichier.h"

#include <algorithm>
#include <cctype>
#include <tuple>

#include "app/images_qt.h"
#include "platform/fichiers.h"
#include "model/erreur.h"
#include "model/interfaces.h"
#include "render/bmp.h"
#include "render/image.h"
#include "render/jpeg.h"
#include "video/codecs_video.h"
#include "video/lecteur.h"

// GCC 12 reports false out-of-bounds copies in string concatenations here.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wstringop-overflow"
#endif

namespace {

const std::string LEGENDE = "Quorvel";

std::string extension_de(const std::string& chemin) {
  const auto barre = chemin.find_last_of('/');
  const auto point = chemin.find_last_of('.');
  if (point == std::string::npos || (barre != std::string::npos && point < barre)) return {};
  return chemin.substr(point);
}

std::string minuscules(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Whether `extension` (lower-case) is one of the files the program writes:
// a document of any kind, a view's picture, a movie.
bool extension_du_programme(const std::string& extension) {
  static const std::vector<std::string> connues = [] {
    std::vector<std::string> x{".mat", ".vue", ".vid", ".bmp", ".jpg", ".jpeg"};
    for (const std::string& f : extensions_films()) x.push_back(f);
    return x;
  }();
  return std::find(connues.begin(), connues.end(), extension) != connues.end();
}

// The path a document with the extension `propre` (".vue") is written to. A
// name typed with the extension of another file the program writes takes the
// document's own in its place: the picture or movie beside the document,
// whose path is the document's with their extension, is then never the
// document itself. Any other extension is kept and the document's added.
std::string chemin_du_genre(const std::string& chemin, const std::string& propre) {
  const std::string e = minuscules(extension_de(chemin));
  if (e == propre) return chemin;
  if (e.size() <= 1 || extension_du_programme(e)) return changer_extension(chemin, propre);
  return chemin + propre;
}

std::string question_remplacement(const std::string& chemin) {
  return "The file " + chemin + " already exists. Do you want to replace it ?";
}

}  // namespace

std::string extension_film(const std::string& film, const Param_video& p) {
  const std::string e = extension_de(film);
  if (!e.empty()) return e;
  return extension_film(p.type_video);
}

// What a failed save puts back.
struct CommandesFichier::Instantane {
  int m = 0;
  Type_matrice type;
  std::string fichier_courant;
  std::string document_precedent;
};

CommandesFichier::Instantane CommandesFichier::prendre_instantane(int m) const {
  return Instantane{m, e_.montagnes[m].type, e_.fichier_courant, e_.document_precedent};
}

CommandesFichier::Travail CommandesFichier::noter_travail() const {
  const int m = e_.montagne_courante;
  return Travail{e_.courants(), m ? e_.montagnes[m].type.nom.str() : std::string(), e_.vue, e_.video};
}

// While a modal window is up the main window follows the activation, which
// may make other documents current; the closing of documents waits, but a
// save checks all the same that it still writes what it began with.
bool CommandesFichier::reprendre(const Travail& t) {
  if (!e_.reprendre_courants(t.documents)) {
    warn("The document " + t.nom + " was closed while the save was under way: nothing was written.", LEGENDE);
    return false;
  }
  e_.vue = t.vue;
  e_.video = t.video;
  return true;
}

void CommandesFichier::restaurer(const Instantane& s) {
  e_.montagnes[s.m].type = s.type;
  e_.fichier_courant = s.fichier_courant;
  e_.document_precedent = s.document_precedent;
}

std::string CommandesFichier::titre_fiche(int m) const {
  return "#  " + std::to_string(m) + ": " + e_.montagnes[m].type.fichier;
}

std::string CommandesFichier::titre_vue(int v, int m, bool court) const {
  return " View # " + std::to_string(v) + (court ? ": " : " : ") + e_.montagnes[m].type.nom.str();
}

std::string CommandesFichier::titre_video(int w, int m) const {
  return "Video N\xC2\xB0 " + std::to_string(w) + " : " + e_.montagnes[m].type.nom.str();
}

void CommandesFichier::recents() {
  if (maj_fichiers_recents(e_)) hote_.recents_modifies();
}

// ---------------------------------------------------------------- saving

bool CommandesFichier::FileSaveItemClick() {
  const int m = e_.montagne_courante;
  if (m == 0 || !e_.montagnes[m].type.utilise) return false;
  if (!e_.montagnes[m].type.a_fichier)
    return nom_document(e_.vue_courante != 0 || e_.video_courante != 0, e_.video_courante != 0);
  return sauver_document();
}

void CommandesFichier::FileSaveAsItemClick() {
  if (e_.montagne_courante != 0) nom_document(false, false);
}

void CommandesFichier::Enregistrervuesous() {
  if (e_.vue_courante != 0 && e_.video_courante == 0) nom_document(true, false);
}

void CommandesFichier::Enregistrervidosous1Click() {
  if (e_.vue_courante != 0 && e_.video_courante != 0) nom_document(true, true);
}

bool CommandesFichier::nom_document(bool vue, bool video) {
  const int m = e_.montagne_courante;
  if (m == 0 || !e_.montagnes[m].type.utilise || !e_.montagnes[m].terrain) return false;
  const Travail travail = noter_travail();
  const auto chemin = chemin_choisi(vue, video, travail);
  if (!chemin) return false;
  const Instantane avant = prendre_instantane(m);
  dialogues_.curseur_attente(true);
  Type_matrice& t = e_.montagnes[m].type;
  e_.fichier_courant = *chemin;
  e_.document_precedent = t.fichier;
  t.fichier = *chemin;
  t.nom = nom_sans_dossier(*chemin);
  t.a_fichier = 1;
  t.genre = video ? 3 : vue ? 2 : 1;
  t.modifie_edition = 0;
  // The captions take the new name only once the document is written.
  const Ecrit ecrit = ecrire(m, vue, video, avant);
  if (ecrit != Ecrit::rien) {
    hote_.titre_fiche(m, titre_fiche(m));
    if (vue && e_.vue_courante != 0 && e_.video_courante == 0)
      hote_.titre_vue(e_.vue_courante, titre_vue(e_.vue_courante, m));
    if (video && e_.video_courante != 0) hote_.titre_video(e_.video_courante, titre_video(e_.video_courante, m));
    recents();
  }
  if (ecrit == Ecrit::incomplet) t.modifie_edition = 1;
  dialogues_.curseur_attente(false);
  // A picture or movie that could not be written is a save not made: the exit stops on it.
  return ecrit == Ecrit::tout;
}

std::optional<std::string> CommandesFichier::chemin_choisi(bool vue, bool video, const Travail& travail) {
  const auto choisi = dialogues_.chemin_sauvegarde(video ? DialogueSauvegarde::video
                                                   : vue ? DialogueSauvegarde::vue
                                                         : DialogueSauvegarde::montagne);
  if (!choisi || !reprendre(travail)) return std::nullopt;
  const std::string chemin = chemin_du_genre(*choisi, video ? ".vid" : vue ? ".vue" : ".mat");
  const Type_matrice& t = e_.montagnes[e_.montagne_courante].type;
  const NouveauNom n{chemin, video ? 3 : vue ? 2 : 1, t.a_fichier ? t.fichier : std::string(),
                     t.a_fichier ? t.genre : 0, t.fichier, *choisi};
  const auto oui = [&](const std::string& q) { return ask_yes_no(q, LEGENDE) && reprendre(travail); };
  if (!accord_nouveau_nom(n, travail, oui)) return std::nullopt;
  return chemin;
}

bool CommandesFichier::accord_nouveau_nom(const NouveauNom& n, const Travail& t,
                                          const std::function<bool(const std::string&)>& oui) {
  // All of them are known before the first is asked: a question is a modal
  // window, under which other documents may become current. Beside another
  // document, which the user agrees to replace, its pictures and movie go
  // with it.
  std::vector<std::string> questions;
  if (!fichier_existe(n.chemin))
    questions = questions_joints(n, t);
  else if (n.chemin != n.deja && n.chemin != n.ancien)
    questions.push_back(question_remplacement(n.chemin));
  return std::all_of(questions.begin(), questions.end(), oui);
}

std::vector<std::string> CommandesFichier::questions_joints(const NouveauNom& n, const Travail& t) {
  // A file of the name the document already had, of a part it already had,
  // is the program's: plain "&Save" replaces it without a question too.
  auto etranger = [&](const std::string& p, int partie) {
    const bool propre = n.genre_ancien >= partie && changer_extension(n.ancien, extension_de(p)) == p;
    return !propre && p != n.deja && genre_fichier(p) == GenreFichier::ordinaire;
  };
  std::vector<std::string> x;
  const Type_matrice& type = e_.montagnes[t.documents.montagne.numero].type;
  const int v = t.documents.vue.numero ? t.documents.vue.numero : type.no_vue;
  const int w = t.documents.video.numero ? t.documents.video.numero : type.no_video;
  if (n.genre >= 2 && v != 0 && hote_.image_vue(v)) {
    const bool bmp = t.vue.type_image == 1;
    const std::string image = changer_fin(n.chemin, bmp ? "bmp" : "jpg");
    const std::string autre = changer_fin(n.chemin, bmp ? "jpg" : "bmp");
    if (etranger(image, 2) && lire_image_vue(image)) x.push_back(question_remplacement(image));
    if (etranger(autre, 2) && lire_image_vue(autre))
      x.push_back("The file " + autre + " already exists. Saving the view's picture as " + image +
                  " deletes it. Do you want to delete it ?");
  }
  if (n.genre == 3 && w != 0) {
    const std::string film = changer_extension(n.chemin, extension_film(hote_.film(w), t.video));
    if (etranger(film, 3) && !source_film(w, film, n.precedent).empty() && raison_film_illisible(film).empty())
      x.push_back(question_remplacement(film));
  }
  return x;
}

// The save under way: the slot and the view and video it began with, what it
// puts back, and the answers so far.
struct CommandesFichier::Sauvegarde {
  int m = 0;
  int v = 0;
  int w = 0;
  Travail travail;
  Instantane avant;
  bool reponse = true;
  bool refus_remplacement = false;
  // The kind changed: the captions take the new name once it is written.
  bool titres = false;
  bool vue_seule = false;  // a video's view saved alone
  // A document closed while a question was up ends the questions: the slot
  // is no longer this save's to change.
  bool perdu = false;
};

bool CommandesFichier::sauver_document() {
  const int m = e_.montagne_courante;
  if (m == 0 || !e_.montagnes[m].type.utilise || !e_.montagnes[m].type.a_fichier || !e_.montagnes[m].terrain)
    return false;
  Instantane avant = prendre_instantane(m);
  dialogues_.curseur_attente(true);
  e_.fichier_courant = e_.montagnes[m].type.fichier;
  e_.montagnes[m].type.modifie_edition = 0;
  chercher_vue(m);
  Sauvegarde s{m, e_.vue_courante, e_.video_courante, noter_travail(), avant};
  poser_questions(s);
  const bool fait = retrouver_documents(s) && ecrire_selon_reponse(s) == Ecrit::tout;
  dialogues_.curseur_attente(false);
  return fait;
}

void CommandesFichier::chercher_vue(int m) {
  if (e_.vue_courante != 0) return;
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v) {
    if (e_.vues[v].utilise && e_.vues[v].montagne == m) e_.vue_courante = v;
  }
  if (e_.vue_courante != 0) e_.vue = hote_.parametres_vue(e_.vue_courante);
}

void CommandesFichier::poser_questions(Sauvegarde& s) {
  Type_matrice& t = e_.montagnes[s.m].type;
  const int v = s.v, w = s.w;
  if (v == 0 && (t.genre == 2 || t.genre == 3)) {
    const std::string fin = t.genre == 2 ? "VUE" : "VID";
    const std::string phrase =
        " must have a view, do you want to save it as a mountain ?  (extension \"MAT\" instead of \"" + fin + "\" )";
    if (demander(s, phrase) && prendre_extension(s, ".mat", 1)) {
      t.genre = 1;
      adopter_chemin(s);
    }
  }
  // No to the view (or the video) keeps the document's own kind: it is still
  // written, without the part it was offered, so that the edits are not lost.
  if (v != 0 && t.genre == 1) {
    if (demander(s, " owns a view, do you want to save the view ?  (extension \"VUE\" instead of \"MAT\" )") &&
        prendre_extension(s, ".vue", 2)) {
      t.genre = 2;
      adopter_chemin(s);
    } else if (!s.refus_remplacement && !s.perdu) {
      s.reponse = true;
    }
  }
  if (v != 0 && w == 0 && t.genre == 3 &&
      demander(s, " owns a video, do you want to save the view alone ?  (extension \"VUE\")") &&
      prendre_extension(s, ".vue", 2)) {
    t.genre = 2;
    s.vue_seule = true;
    adopter_chemin(s);
  }
  if (w != 0 && t.genre == 2) {
    if (demander(s, " is a video, do you want to save the video and all associated files ?  (extension \"VID\")") &&
        prendre_extension(s, ".vid", 3)) {
      t.no_video = static_cast<std::uint16_t>(w);
      t.genre = 3;
      adopter_chemin(s);
    } else if (!s.refus_remplacement && !s.perdu) {
      s.reponse = true;
    }
  }
}

bool CommandesFichier::oui(Sauvegarde& s, const std::string& question) {
  const bool r = ask_yes_no(question, LEGENDE);
  s.perdu = s.perdu || !e_.toujours_la(s.travail.documents);
  return r && !s.perdu;
}

// A refused replacement ends the questions: nothing is saved.
bool CommandesFichier::demander(Sauvegarde& s, const std::string& phrase) {
  if (s.refus_remplacement || s.perdu) return false;
  s.reponse = oui(s, "The file " + e_.montagnes[s.m].type.fichier + phrase);
  return s.reponse;
}

bool CommandesFichier::prendre_extension(Sauvegarde& s, const char* extension, int genre) {
  Type_matrice& t = e_.montagnes[s.m].type;
  s.titres = true;
  const NouveauNom n{changer_extension(t.fichier, extension), genre, t.fichier, t.genre, e_.document_precedent, {}};
  t.fichier = n.chemin;
  t.nom = changer_extension(t.nom.str(), extension);
  if (!accord_nouveau_nom(n, s.travail, [&](const std::string& q) { return oui(s, q); })) {
    s.reponse = false;
    s.refus_remplacement = !s.perdu;
  }
  return !s.perdu;
}

void CommandesFichier::adopter_chemin(Sauvegarde& s) {
  e_.fichier_courant = e_.montagnes[s.m].type.fichier;
  if (s.reponse) recents();
}

// A document closed meanwhile: nothing is written (reprendre says so), and
// the mountain, when it is still there, is as it was.
bool CommandesFichier::retrouver_documents(Sauvegarde& s) {
  if (!(s.perdu || s.reponse) || reprendre(s.travail)) return true;
  if (e_.toujours_la(s.travail.documents.montagne)) restaurer(s.avant);
  return false;
}

CommandesFichier::Ecrit CommandesFichier::ecrire_selon_reponse(Sauvegarde& s) {
  Type_matrice& t = e_.montagnes[s.m].type;
  Ecrit ecrit = Ecrit::rien;
  if (s.reponse) {
    ecrit = ecrire(s.m, s.v != 0 && t.genre > 1, s.w != 0 && t.genre == 3, s.avant);
  } else if (s.refus_remplacement) {
    restaurer(s.avant);
  }
  if (ecrit != Ecrit::rien && s.titres) renommer_fenetres(s);
  // Nothing written: the document is still edited; written without its
  // picture, it differs from what the user has.
  if (ecrit == Ecrit::rien) t.modifie_edition = s.avant.type.modifie_edition;
  if (ecrit == Ecrit::incomplet) t.modifie_edition = 1;
  return ecrit;
}

// On the windows that still hold the save's documents: under the modal
// questions of the write, one may have been closed and its slot taken.
void CommandesFichier::renommer_fenetres(const Sauvegarde& s) {
  const auto& [montagne, vue, video] = s.travail.documents;
  if (!e_.toujours_la(montagne)) return;
  const int genre = e_.montagnes[s.m].type.genre;
  hote_.titre_fiche(s.m, titre_fiche(s.m));
  if (s.v != 0 && genre >= 2 && e_.toujours_la(vue)) hote_.titre_vue(s.v, titre_vue(s.v, s.m, s.vue_seule));
  if (s.w != 0 && genre == 3 && e_.toujours_la(video)) hote_.titre_video(s.w, titre_video(s.w, s.m));
}

CommandesFichier::Ecrit CommandesFichier::ecrire(int m, bool avec_vue, bool avec_video, const Instantane& avant) {
  emplacement_montagne& s = e_.montagnes[m];
  Type_matrice& t = s.type;
  const int v = avec_vue ? (e_.vue_courante != 0 ? e_.vue_courante : t.no_vue) : 0;
  const int w = avec_video ? (e_.video_courante != 0 ? e_.video_courante : t.no_video) : 0;
  Echec echec;
  try {
    Sortie f;
    // The slot holds the mountain's own record: the card writes its memo there
    // as it is typed, and every option change is kept there too.
    ecrire_montagne(f, t.parametres, *s.terrain);
    e_.parametres = t.parametres;
    if (avec_vue) {
      std::int32_t largeur = e_.vue.largeur_image, hauteur = e_.vue.hauteur_image;
      if (v != 0) std::tie(largeur, hauteur) = hote_.taille_image_vue(v);
      ecrire_vue(f, e_.vue, largeur, hauteur);
    }
    if (avec_video) {
      ecrire_video(f, e_.video, w != 0 ? hote_.cameras(w) : nullptr,
                   w != 0 ? hote_.informations(w) : informations_video{});
    }
    echec = ecrire_document(t.fichier, f.octets());
  } catch (const ModelError& x) {
    echec = x.what();
  }
  if (!echec.empty()) {
    const std::string chemin = t.fichier;
    restaurer(avant);
    // The safe write leaves a file that existed as it was.
    const std::string suite = fichier_existe(chemin) ? ". The previous file is unchanged." : ".";
    warn("The file " + chemin + " could not be written: " + echec + suite, LEGENDE);
    return Ecrit::rien;
  }
  hote_.effacer_modification_edition(m);
  hote_.marquer_sauvee(m);
  return ecrire_joints(m, v, w, avec_vue, avec_video);
}

CommandesFichier::Ecrit CommandesFichier::ecrire_joints(int m, int v, int w, bool avec_vue, bool avec_video) {
  Type_matrice& t = e_.montagnes[m].type;
  // A view whose picture, or a video whose movie, could not be written stays
  // modified: it is asked about again. Their questions are modal windows: a
  // window closed meanwhile is not marked (its slot may hold another).
  bool joints = true;
  const temoin_document tv = e_.temoin_vue(v), tw = e_.temoin_video(w);
  if (avec_vue) {
    if (v != 0) {
      const bool image = ecrire_image(v);
      if (image && e_.toujours_la(tv)) hote_.marquer_vue_enregistree(v);
      joints = joints && image;
    }
    t.fichier = e_.fichier_courant;
  }
  if (avec_video) {
    if (w != 0) {
      const bool film = ecrire_film(w);
      if (film && e_.toujours_la(tw)) hote_.marquer_video_enregistree(w);
      joints = joints && film;
    }
    t.fichier = e_.fichier_courant;
    e_.document_precedent.clear();
  }
  return joints ? Ecrit::tout : Ecrit::incomplet;
}

bool CommandesFichier::ecrire_image(int v) {
  if (!hote_.image_vue(v)) return true;  // no picture now: the files beside the document stay
  const temoin_document vue = e_.temoin_vue(v);
  const bool bmp = e_.vue.type_image == 1;
  const std::string chemin = changer_fin(e_.fichier_courant, bmp ? "bmp" : "jpg");
  const std::string autre = changer_fin(e_.fichier_courant, bmp ? "jpg" : "bmp");
  // A file there that is not a picture is the user's: No keeps it, and the
  // document is saved all the same.
  if (!toucher_image(chemin, "replace it with this view's picture")) return true;
  // The picture is asked for after the question, from the same view.
  if (!encore_la(vue, "The picture " + chemin, "view")) return false;
  const render::Bitmap* image = hote_.image_vue(v);
  if (!image) return true;
  // A picture shown as it was read from a file of this kind is written as it
  // was read, from the view's own bytes.
  const std::string* lue = hote_.image_vue_lue(v);
  const render::GenreImage genre = bmp ? render::GenreImage::bmp : render::GenreImage::jpeg;
  if (lue && render::genre_image(*lue) != genre) lue = nullptr;
  std::optional<std::string> encodee;
  if (!lue) encodee = bmp ? std::optional(render::octets_bmp(*image)) : render::octets_jpeg(*image, 90);
  const std::string* octets = lue ? lue : encodee ? &*encodee : nullptr;
  Echec echec = !octets || octets->empty() ? "the picture could not be encoded" : ecrire_fichier(chemin, *octets);
  if (!echec.empty()) {
    warn("The picture " + chemin + " could not be written: " + echec, LEGENDE);
    return false;
  }
  if (genre_fichier(autre) == GenreFichier::ordinaire && toucher_image(autre, "delete it")) supprimer_fichier(autre);
  return true;
}

bool CommandesFichier::encore_la(const temoin_document& t, const std::string& fichier, const char* fenetre) {
  if (e_.toujours_la(t)) return true;
  warn(fichier + " could not be written: its " + fenetre + " was closed meanwhile.", LEGENDE);
  return false;
}

bool CommandesFichier::ecrire_film(int w) {
  const temoin_document video = e_.temoin_video(w);
  const std::string film = hote_.film(w);
  const std::string extension = extension_film(film, e_.video);
  const std::string nouveau = changer_extension(e_.fichier_courant, extension);
  const std::string source = source_film(w, nouveau, e_.document_precedent);
  if (source.empty() || !remplacer_film(nouveau)) return true;
  // The work file is the one of the video slot: the same video still holds it.
  if (!encore_la(video, "The movie " + nouveau, "video")) return false;
  const Echec echec = copier_fichier(source, nouveau);
  if (!echec.empty()) warn("The movie " + nouveau + " could not be written: " + echec, LEGENDE);
  return echec.empty();
}

std::string CommandesFichier::source_film(int w, const std::string& nouveau, const std::string& precedent) {
  const std::string extension = extension_de(nouveau);
  const std::string travail = e_.dossier_travail() + "/video" + std::to_string(w) + extension;
  if (hote_.film_refait(w) && fichier_existe(travail)) return travail;
  if (precedent.empty()) return {};
  const std::string ancien = changer_extension(precedent, extension);
  return ancien != nouveau && fichier_existe(ancien) ? ancien : std::string();
}

bool CommandesFichier::remplacer_film(const std::string& chemin) {
  if (genre_fichier(chemin) != GenreFichier::ordinaire) return true;
  return accord_illisible("The movie " + chemin, raison_film_illisible(chemin), "replace it with this video's movie");
}

bool CommandesFichier::toucher_image(const std::string& chemin, const std::string& action) {
  if (genre_fichier(chemin) != GenreFichier::ordinaire) return true;
  std::string raison;
  if (lire_image_vue(chemin, &raison)) return true;
  return accord_illisible("The picture " + chemin, raison, action);
}

bool CommandesFichier::accord_illisible(const std::string& fichier, const std::string& raison,
                                        const std::string& action) {
  if (raison.empty()) return true;
  return ask_yes_no(fichier + " beside the document cannot be read: " + raison + ". Do you want to " + action + " ?",
                    LEGENDE);
}

void CommandesFichier::SupprimerClick() {
  const std::string chemin = e_.fichier_courant;
  if (!fichier_existe(chemin)) return;
  if (ask_yes_no("Do you want to destroy the file " + chemin + " ?", LEGENDE) && supprimer_fichier(chemin))
    oublier_fichier(chemin);
  for (const char* ext : {".bmp", ".jpg"}) {
    const std::string p = changer_extension(chemin, ext);
    if (fichier_existe(p) && ask_yes_no("Do you want to destroy the image file " + p + " ?", LEGENDE))
      supprimer_fichier(p);
  }
  for (const char* ext : {".avi", ".mpg"}) {
    const std::string p = changer_extension(chemin, ext);
    if (fichier_existe(p) && ask_yes_no("Do you want to delete the video file ? " + p + " ?", LEGENDE))
      supprimer_fichier(p);
  }
}

void CommandesFichier::oublier_fichier(const std::string& chemin) {
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) {
    Type_matrice& t = e_.montagnes[m].type;
    if (!t.utilise || !t.a_fichier || t.fichier != chemin) continue;
    // The windows stay open; what they hold now exists only in memory, so
    // the exit asks about it and "&Save" asks for a name.
    t.a_fichier = 0;
    t.modifie_edition = 1;
    hote_.marquer_sans_fichier(m);
  }
}

// ---------------------------------------------------------------- opening

namespace {

// The caption of the opening's messages, by the document's extension.
const char* legende_ouverture(const std::string& chemin) {
  switch (genre_par_extension(chemin)) {
    case GenreDocument::montagne: return "Mountain ";
    case GenreDocument::vue: return "View ";
    case GenreDocument::video: return "Video ";
    case GenreDocument::aucun: break;
  }
  return "Quorvel";
}

// "<path> cannot be opened: a named pipe is not a regular file", or empty when
// the path names a regular file or nothing. Asked by name: the file is not
// opened.
std::string refus_non_ordinaire(const std::string& chemin) {
  const std::string raison = raison_non_ordinaire(chemin);
  return raison.empty() ? raison : chemin + " cannot be opened: " + raison;
}

}  // namespace

void CommandesFichier::FileOpenItemClick() {
  const auto chemin = dialogues_.chemin_ouverture();
  if (!chemin) return;
  if (const std::string refus = refus_non_ordinaire(*chemin); !refus.empty()) {
    warn(refus, legende_ouverture(*chemin));
    return;
  }
  if (!fichier_existe(*chemin)) return;
  e_.fichier_courant = *chemin;
  if (ouvrir_par_extension()) recents();
}

bool CommandesFichier::ouvrir_par_extension() {
  switch (genre_par_extension(e_.fichier_courant)) {
    case GenreDocument::montagne:
      return ouvrir_montagne();
    case GenreDocument::vue:
      return ouvrir_vue();
    case GenreDocument::video:
      return ouvrir_video();
    case GenreDocument::aucun:
      break;
  }
  return false;
}

void CommandesFichier::FileprecItemClick(const std::string& chemin) {
  if (const std::string refus = refus_non_ordinaire(chemin); !refus.empty()) {
    // Something is there, but not a document: say what, and let the user
    // drop it from the list.
    if (ask_yes_no(refus + ". Do you want to remove it from the list of recent files ?", LEGENDE))
      retirer_recent(chemin);
    return;
  }
  if (!fichier_existe(chemin)) {
    // Moved or deleted since it entered the list: say so, and let the user
    // drop it from the list.
    if (ask_yes_no("The file " + chemin +
                       " cannot be found: it was moved, renamed or deleted. Do you want to remove it from the list "
                       "of recent files ?",
                   LEGENDE))
      retirer_recent(chemin);
    return;
  }
  e_.fichier_courant = chemin;
  int m = 0;
  for (int k = 1; k <= NOMBRE_MAX_MONTAGNES && m == 0; ++k) {
    if (e_.montagnes[k].type.utilise && e_.montagnes[k].type.fichier == chemin) m = k;
  }
  const GenreDocument g = genre_par_extension(chemin);
  if (m == 0) {
    ouvrir_par_extension();
    return;
  }
  if (g == GenreDocument::montagne) {
    hote_.focaliser_fiche(m);
  } else if (g == GenreDocument::vue) {
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
      if (e_.vues[v].utilise && e_.vues[v].montagne == m) hote_.focaliser_vue(v);
  } else if (g == GenreDocument::video) {
    for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
      if (e_.videos[w].utilise && e_.videos[w].montagne == m) hote_.focaliser_video(w);
  }
}

void CommandesFichier::retirer_recent(const std::string& chemin) {
  auto& r = e_.recents;
  r.erase(std::remove(r.begin(), r.end(), chemin), r.end());
  hote_.recents_modifies();
}

std::optional<document_lu> CommandesFichier::lire(GenreDocument genre, const char* titre) {
  std::string raison;
  auto octets = lire_fichier(e_.fichier_courant, &raison, kLectureDocument);
  if (!octets) {
    warn(e_.fichier_courant + " cannot be opened: " + raison, titre);
    return std::nullopt;
  }
  try {
    return lire_document(std::move(*octets), e_.fichier_courant, genre);
  } catch (const ErreurDocument& x) {
    warn(x.what(), titre);
  } catch (const std::exception& x) {
    warn(e_.fichier_courant + " cannot be opened: " + x.what(), titre);
  }
  return std::nullopt;
}

bool CommandesFichier::installer_montagne(document_lu& d, int genre) {
  const int m = e_.montagne_libre();
  if (m == 0) return false;
  emplacement_montagne& s = e_.montagnes[m];
  s.type = Type_matrice{};
  s.type.fichier = e_.fichier_courant;
  s.type.nom = nom_sans_dossier(e_.fichier_courant);
  s.type.a_fichier = 1;
  e_.prendre_montagne(m);
  s.type.genre = static_cast<std::uint8_t>(genre);
  s.type.parametres = d.parametres;
  s.terrain = std::move(d.terrain);
  e_.parametres = d.parametres;
  e_.montagne_courante = m;
  e_.vue_courante = 0;
  e_.video_courante = 0;
  ++e_.nombre_montagnes;
  e_.demarrage = false;
  if (!hote_.creer_fiche(m, titre_fiche(m), date_fichier(e_.fichier_courant).value_or(0))) {
    s.type = Type_matrice{};
    s.terrain.reset();
    --e_.nombre_montagnes;
    e_.montagne_courante = 0;
    return false;
  }
  return true;
}

void CommandesFichier::installer_vue(document_lu& d) {
  const int m = e_.montagne_courante;
  e_.vue = d.vue;
  e_.largeur_defaut = e_.largeur_defaut_copie = d.largeur_image;
  e_.hauteur_defaut = e_.hauteur_defaut_copie = d.hauteur_image;
  std::string image = changer_fin(e_.fichier_courant, d.vue.type_image == 1 ? "bmp" : "jpg");
  if (!fichier_existe(image)) image.clear();
  // The new view's window grows the default by 12 x 6 and adds its frame:
  // what is left inside is the stored picture itself, so that drawing the
  // view again makes a picture of the same size, its picture beside the
  // document or not.
  e_.largeur_defaut = static_cast<std::uint16_t>(std::max(e_.largeur_defaut - 14, 0));
  e_.hauteur_defaut = static_cast<std::uint16_t>(std::max(e_.hauteur_defaut - 6, 0));
  const int v = hote_.creer_vue(image);
  e_.montagnes[m].type.no_vue = static_cast<std::uint16_t>(v);
  // A view read from its document stands as saved: its later changes count
  // at exit.
  if (v) hote_.marquer_vue_enregistree(v);
}

bool CommandesFichier::ouvrir_montagne() {
  if (e_.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || e_.montagne_libre() == 0) {
    warn("Too many mountains in memory: close one first.", "Mountain ");
    return false;
  }
  auto d = lire(GenreDocument::montagne, "Mountain ");
  if (!d) return false;
  return installer_montagne(*d, 1);
}

bool CommandesFichier::ouvrir_vue() {
  if (e_.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || e_.nombre_vues >= NOMBRE_MAX_VUES || e_.montagne_libre() == 0 ||
      e_.vue_libre() == 0) {
    warn("Too many views, close one at least", "View ");
    return false;
  }
  return ouvrir_avec_vue(GenreDocument::vue, "View ", 2, [](document_lu&) {});
}

bool CommandesFichier::ouvrir_avec_vue(GenreDocument lu, const char* titre, int genre,
                                       const std::function<void(document_lu&)>& suite) {
  auto d = lire(lu, titre);
  if (!d) return false;
  dialogues_.curseur_attente(true);
  const bool fait = installer_montagne(*d, genre);
  if (fait) {
    installer_vue(*d);
    suite(*d);
  }
  dialogues_.curseur_attente(false);
  return fait;
}

bool CommandesFichier::ouvrir_video() {
  if (e_.nombre_montagnes >= NOMBRE_MAX_MONTAGNES || e_.nombre_vues >= NOMBRE_MAX_VUES ||
      e_.nombre_videos >= NOMBRE_MAX_VIDEOS || e_.montagne_libre() == 0 || e_.vue_libre() == 0 ||
      e_.video_libre() == 0) {
    warn("Maximum video number reach, close at least one", "Video ");
    return false;
  }
  return ouvrir_avec_vue(GenreDocument::video, "Video ", 3, [this](document_lu& d) {
    const int m = e_.montagne_courante;
    e_.video = d.video;
    e_.informations = d.informations;
    // The movie beside the document: the one of the document's codec, else
    // one of another kind.
    std::vector<std::string> extensions = extensions_films();
    std::stable_partition(extensions.begin(), extensions.end(),
                          [&](const std::string& x) { return x == extension_film(e_.video.type_video); });
    // One that cannot be read counts as missing: without another, the video
    // window makes the movie again.
    std::string film, illisible;
    for (const std::string& x : extensions) {
      const std::string chemin = changer_extension(e_.fichier_courant, x);
      if (!fichier_existe(chemin)) continue;
      if (const std::string raison = raison_film_illisible(chemin); !raison.empty()) {
        if (illisible.empty()) illisible = "The movie " + chemin + " beside the document cannot be read: " + raison + ".";
        continue;
      }
      film = chemin;
      break;
    }
    if (!illisible.empty())
      warn(illisible + (film.empty() ? " It is made again; Save asks before it replaces that file."
                                     : " Save asks before it replaces that file."),
           "Video ");
    const int w = hote_.creer_video(film, d.cameras ? &*d.cameras : nullptr, e_.informations);
    e_.montagnes[m].type.no_vue = static_cast<std::uint16_t>(e_.vue_courante);
    e_.montagnes[m].type.no_video = static_cast<std::uint16_t>(w);
  });
}
