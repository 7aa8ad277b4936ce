// Fakes of the document commands' host and dialogs (header only: the app
// tests link the document core).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/hote_documents.h"

// Keeps its windows in maps and takes view and video slots in the state as the
// main window does. Video windows are made only when `videos_disponibles`.
class FakeHoteDocuments : public HoteDocuments {
 public:
  explicit FakeHoteDocuments(etat_documents& e) : e_(e) {}

  std::vector<std::string> appels;  // "focus card 3", "card 1", ...
  std::map<int, std::string> titres_fiches, titres_vues, titres_videos;
  std::map<int, render::Bitmap> images;
  std::map<int, std::string> lues;  // the picture files the views show unchanged
  std::map<int, std::pair<std::int32_t, std::int32_t>> tailles;
  std::map<int, param_vue> vues;
  std::map<int, std::string> images_ouvertes;  // picture file given to each new view
  std::map<int, std::string> films;
  std::set<int> refaits, vues_enregistrees, videos_enregistrees, fiches_sauvees;
  std::map<int, informations_video> infos;
  std::optional<std::vector<enregistrement_camera>> table_cameras;
  bool videos_disponibles = true;
  int recents = 0;

  void titre_fiche(int m, const std::string& t) override { titres_fiches[m] = t; }
  void marquer_sauvee(int m) override { fiches_sauvees.insert(m); }
  void effacer_modification_edition(int m) override { appels.push_back("editor saved " + std::to_string(m)); }
  bool creer_fiche(int m, const std::string& t, long long) override {
    titres_fiches[m] = t;
    appels.push_back("card " + std::to_string(m));
    return true;
  }
  int creer_vue(const std::string& image) override {
    const int v = e_.vue_libre();
    if (v == 0) return 0;
    e_.prendre_vue(v, e_.montagne_courante);
    ++e_.nombre_vues;
    e_.vue_courante = v;
    images_ouvertes[v] = image;
    vues[v] = e_.vue;
    tailles[v] = {e_.largeur_defaut, e_.hauteur_defaut};
    appels.push_back("view " + std::to_string(v));
    return v;
  }
  int creer_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                  const informations_video& informations) override {
    if (!videos_disponibles) return 0;
    const int w = e_.video_libre();
    if (w == 0) return 0;
    e_.prendre_video(w, e_.vue_courante, e_.montagne_courante);
    ++e_.nombre_videos;
    e_.video_courante = w;
    films[w] = film;
    infos[w] = informations;
    if (cameras) table_cameras = *cameras;
    appels.push_back("video " + std::to_string(w));
    return w;
  }
  void focaliser_fiche(int m) override { appels.push_back("focus card " + std::to_string(m)); }
  void focaliser_vue(int v) override { appels.push_back("focus view " + std::to_string(v)); }
  void focaliser_video(int w) override { appels.push_back("focus video " + std::to_string(w)); }
  const render::Bitmap* image_vue(int v) override {
    auto i = images.find(v);
    return i == images.end() ? nullptr : &i->second;
  }
  const std::string* image_vue_lue(int v) override {
    auto i = lues.find(v);
    return i == lues.end() ? nullptr : &i->second;
  }
  std::pair<std::int32_t, std::int32_t> taille_image_vue(int v) override { return tailles[v]; }
  param_vue parametres_vue(int v) override { return vues[v]; }
  void titre_vue(int v, const std::string& t) override { titres_vues[v] = t; }
  void marquer_vue_enregistree(int v) override { vues_enregistrees.insert(v); }
  std::string film(int w) override { return films[w]; }
  bool film_refait(int w) override { return refaits.count(w) != 0; }
  informations_video informations(int w) override { return infos[w]; }
  const std::vector<enregistrement_camera>* cameras(int) override {
    return table_cameras ? &*table_cameras : nullptr;
  }
  void titre_video(int w, const std::string& t) override { titres_videos[w] = t; }
  void marquer_video_enregistree(int w) override {
    videos_enregistrees.insert(w);
    refaits.erase(w);
  }
  void recents_modifies() override { ++recents; }

 private:
  etat_documents& e_;
};

// Answers the file dialogs from scripts (Cancel when a script runs out).
class FakeDialoguesDocuments : public DialoguesDocuments {
 public:
  std::deque<std::optional<std::string>> sauvegardes, ouvertures;
  std::vector<DialogueSauvegarde> demandes;
  int attente = 0;  // wait cursor depth
  // Runs while a save dialog is up, as the dialog's own event loop would.
  std::function<void()> pendant_sauvegarde;

  std::optional<std::string> chemin_sauvegarde(DialogueSauvegarde genre) override {
    demandes.push_back(genre);
    if (pendant_sauvegarde) pendant_sauvegarde();
    if (sauvegardes.empty()) return std::nullopt;
    auto r = sauvegardes.front();
    sauvegardes.pop_front();
    return r;
  }
  std::optional<std::string> chemin_ouverture() override {
    if (ouvertures.empty()) return std::nullopt;
    auto r = ouvertures.front();
    ouvertures.pop_front();
    return r;
  }
  void curseur_attente(bool actif) override { attente += actif ? 1 : -1; }
  std::vector<std::string> parcours;  // the next "Scan ..." answer
  std::vector<std::string> chemins_parcours() override { return std::exchange(parcours, {}); }
  std::deque<std::optional<std::string>> imports;  // the "Import ..." answers
  int demandes_import = 0;
  std::optional<std::string> chemin_import() override {
    ++demandes_import;
    if (imports.empty()) return std::nullopt;
    auto r = imports.front();
    imports.pop_front();
    return r;
  }
};
