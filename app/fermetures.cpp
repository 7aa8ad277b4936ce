#include "app/fermetures.h"

#include <vector>

#include "app/options.h"
#include "model/interfaces.h"

bool QuestionsBoites::oui(const std::string& question) { return ask_save(question, "Quorvel"); }

bool CascadesFermeture::poser_question_montagne(int m) {
  auto& type = e_.montagnes[m].type;
  const int courante = e_.vue_courante;
  bool modifie = type.modifie_edition || (courante && h_.vue_modifiee(courante));
  // Any view, video or editor change of this mountain counts too: the mountain's save covers them.
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e_.vues[v].utilise && e_.vues[v].montagne == m && h_.vue_modifiee(v)) modifie = true;
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
    if (e_.videos[w].utilise && e_.videos[w].montagne == m && h_.video_refaite(w)) modifie = true;
  if (!type.a_fichier || !modifie) return true;
  if (q_.oui("Save the modifications of " + type.fichier + " ?")) {
    // A video of this mountain current at the close is saved with it, as
    // "&Save" would; with the card active none is, and its own video is.
    const int w = e_.video_courante;
    if (w && e_.videos[w].utilise && e_.videos[w].montagne == m)
      e_.parametres = type.parametres;
    else
      rendre_courants_documents(m);
    if (!h_.sauver_document()) return false;
  }
  if (courante) h_.oublier_vue_modifiee(courante);
  return true;
}

bool CascadesFermeture::fermer_montagne(int m) {
  auto& type = e_.montagnes[m].type;
  e_.montagne_courante = m;
  if (h_.edition_ouverte(m) && h_.edition_modifiee(m)) type.modifie_edition = 1;
  e_.vue_courante = e_.plus_haute_vue(m);
  h_.occupe(true);
  if (!poser_question_montagne(m)) {
    // The user wants the changes kept and nothing holds them yet: the
    // mountain stays, with its editor, views and videos, as the exit does.
    type.modifie_edition = 1;
    h_.occupe(false);
    return false;
  }
  type.modifie_edition = 0;
  if (h_.edition_ouverte(m)) h_.fermer_edition(m);
  // The views and videos of this mountain close without questions of their own.
  // Their slots are freed first, so that no later pass makes the closing mountain current again.
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e_.vues[v].utilise && e_.vues[v].montagne == m) {
      e_.vues[v].utilise = false;
      --e_.nombre_vues;
      h_.fermer_fenetre_vue(v);
      if (e_.vue_courante == v) e_.vue_courante = 0;
    }
  fermer_videos(0, m);
  h_.occupe(false);
  type.a_fichier = 0;
  e_.montagnes[m].terrain.reset();
  type.utilise = 0;
  h_.retirer_carte(m);
  --e_.nombre_montagnes;
  e_.montagne_courante = 0;
  for (int k = 1; k <= NOMBRE_MAX_MONTAGNES; ++k)
    if (e_.montagnes[k].type.utilise) {
      e_.montagne_courante = k;
      break;
    }
  return true;
}

void CascadesFermeture::fermer_videos(int v, int m) {
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w) {
    auto& video = e_.videos[w];
    if (!video.utilise || (v && video.vue != v) || (m && video.montagne != m)) continue;
    // Closing with its view, a video that would ask in its own close asks the
    // same; closing with its mountain, the mountain's question covered it.
    if (v && e_.montagnes[video.montagne].type.utilise && h_.video_a_fichier(w) && h_.video_refaite(w) &&
        q_.oui(h_.question_video(w)))
      sauver_video(w);
    video.utilise = false;
    --e_.nombre_videos;
    h_.fermer_fenetre_video(w);
    if (e_.video_courante == w) e_.video_courante = 0;
  }
}

void CascadesFermeture::rendre_courante_premiere_vue() {
  e_.vue_courante = 0;
  for (int k = 1; k <= NOMBRE_MAX_VUES; ++k)
    if (e_.vues[k].utilise) {
      e_.vue_courante = k;
      e_.montagne_courante = e_.vues[k].montagne;
      break;
    }
}

void CascadesFermeture::fermer_vue(int v) {
  const int m = e_.vues[v].montagne;
  const bool montagne_ouverte = e_.montagnes[m].type.utilise;
  if (h_.vue_modifiee(v) && h_.sauvegarde_vue_demandee(v) && montagne_ouverte) {
    // The view's own mountain becomes current before its document is saved.
    e_.vue_courante = v;
    e_.montagne_courante = m;
    e_.parametres = e_.montagnes[m].type.parametres;
    if (const param_vue* p = h_.parametres_de_vue(v)) e_.vue = *p;
    h_.sauver_document();
    h_.liberer_image_vue(v);
  }
  fermer_videos(v, 0);
  e_.vues[v].utilise = false;
  h_.retirer_vue(v, montagne_ouverte);
  --e_.nombre_vues;
  rendre_courante_premiere_vue();
}

void CascadesFermeture::sauver_video(int w) {
  const int m = e_.videos[w].montagne, v = e_.videos[w].vue;
  e_.montagne_courante = m;
  e_.parametres = e_.montagnes[m].type.parametres;
  e_.vue_courante = v;
  if (const param_vue* p = h_.parametres_de_vue(v)) e_.vue = *p;
  e_.video_courante = w;
  if (const Param_video* p = h_.parametres_de_video(w)) e_.video = *p;
  h_.sauver_document();
  h_.oublier_video_refaite(w);
}

void CascadesFermeture::fermer_video(int w) {
  const bool montagne_ouverte = e_.montagnes[e_.videos[w].montagne].type.utilise;
  if (h_.sauvegarde_video_demandee(w) && h_.video_refaite(w) && montagne_ouverte) sauver_video(w);
  e_.videos[w].utilise = false;
  h_.retirer_video(w, montagne_ouverte);
  --e_.nombre_videos;
  e_.video_courante = 0;
  for (int k = 1; k <= NOMBRE_MAX_VIDEOS; ++k)
    if (e_.videos[k].utilise) {
      e_.video_courante = k;
      e_.vue_courante = e_.videos[k].vue;
      e_.montagne_courante = e_.videos[k].montagne;
      break;
    }
}

void CascadesFermeture::fermer_edition(int m) {
  auto& type = e_.montagnes[m].type;
  if (h_.edition_modifiee(m)) type.modifie_edition = 1;
  // The editor still shows its map while the question is asked.
  bool sauvee = true;
  if (type.a_fichier && type.modifie_edition && q_.oui("Save the modifications of " + type.fichier + " ?")) {
    const int garde = e_.montagne_courante;
    e_.montagne_courante = m;
    e_.parametres = type.parametres;
    sauvee = h_.sauver_document();
    e_.montagne_courante = garde;
  }
  // Without a file nothing was asked or saved, and a save may have written
  // nothing: the mountain stays edited, and the exit asks about it.
  if (type.a_fichier && sauvee) type.modifie_edition = 0;
  h_.retirer_edition(m, type.utilise != 0);
}

bool CascadesFermeture::fermer_avant_sortie() {
  for (int m = 1; m <= NOMBRE_MAX_MONTAGNES; ++m) {
    auto& type = e_.montagnes[m].type;
    std::vector<int> vues_marquees, videos_marquees;
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
      if (e_.vues[v].utilise && e_.vues[v].montagne == m && h_.vue_a_fichier(v) && h_.vue_modifiee(v)) {
        type.modifie_edition = 1;
        vues_marquees.push_back(v);
      }
    for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
      if (e_.videos[w].utilise && e_.videos[w].montagne == m && h_.video_a_fichier(w) && h_.video_refaite(w)) {
        type.modifie_edition = 1;
        videos_marquees.push_back(w);
      }
    if (h_.edition_ouverte(m) && h_.edition_modifiee(m)) {
      type.modifie_edition = 1;
      h_.oublier_edition_modifiee(m);
    }
    // A mountain without a file is asked about too once it was changed after
    // its creation (an import or a copy counts as changed): its terrain can
    // no longer be made again from its key, and leaving would lose it.
    if (type.utilise && type.modifie_edition) {
      const std::string nom = type.a_fichier ? type.fichier : type.nom.str();
      const std::string question =
          "Before exit, do you want to save modifications on  N\u00b0" + std::to_string(m) + "  " + nom + " ?";
      if (q_.oui(question) && !sauver_en_sortie(m)) return false;
    }
    for (int v : vues_marquees) h_.oublier_vue_modifiee(v);
    for (int w : videos_marquees) h_.oublier_video_refaite(w);
    type.modifie_edition = 0;
  }
  return true;
}

bool CascadesFermeture::sauver_en_sortie(int m) {
  rendre_courants_documents(m);
  return h_.enregistrer();
}

void CascadesFermeture::rendre_courants_documents(int m) {
  const auto& type = e_.montagnes[m].type;
  e_.montagne_courante = m;
  e_.parametres = type.parametres;
  // The document receives its own view and video, never another mountain's.
  const int v = type.no_vue && e_.vues[type.no_vue].utilise && e_.vues[type.no_vue].montagne == m
                    ? type.no_vue
                    : e_.plus_haute_vue(m);
  if (const param_vue* p = v ? h_.parametres_de_vue(v) : nullptr) e_.vue = *p;
  const int w =
      type.no_video && e_.videos[type.no_video].utilise && e_.videos[type.no_video].vue == v ? type.no_video : 0;
  if (const Param_video* p = w ? h_.parametres_de_video(w) : nullptr) e_.video = *p;
  // With a file the save finds the view itself; "Save as" takes the kind of
  // document from the current view and video.
  e_.vue_courante = type.a_fichier ? 0 : v;
  e_.video_courante = w;
}

bool CascadesFermeture::sortir() {
  h_.occupe(true);
  if (!fermer_avant_sortie()) {
    // A save the user asked for did not happen: the program stays, with the
    // document open and still edited.
    h_.occupe(false);
    return false;
  }
  // Every change was asked about, or goes as the rule says: the windows that
  // close now ask nothing, since nothing would carry out their save.
  for (int v = 1; v <= NOMBRE_MAX_VUES; ++v)
    if (e_.vues[v].utilise) h_.oublier_vue_modifiee(v);
  for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w)
    if (e_.videos[w].utilise) h_.oublier_video_refaite(w);
  // Read the sections back first: the file keeps them as they are on disk.
  const std::string chemin = e_.chemin_options();
  Lire_options(e_, chemin, true);
  Sauve_options_ou_avertir(e_, chemin);
  return true;
}
