// A recording host of the closing cascades: it stands for the child windows,
// whose state the test sets, and notes what it is asked to do.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/fermetures.h"

struct FakeHoteFermetures : HoteFermetures {
  etat_documents& e;
  std::vector<std::string> appels;  // what the window was asked to do, in order
  std::set<int> vues_modifiees, vues_avec_fichier, vues_a_sauver, videos_refaites, videos_avec_fichier,
      videos_a_sauver, editions, editions_modifiees;
  std::map<int, param_vue> vues;
  std::map<int, Param_video> videos;
  std::deque<bool> enregistrements;  // whether each save writes, in order; true when none left
  std::vector<int> sauvegardes;      // current mountain at each save
  bool occupe_ = false;

  explicit FakeHoteFermetures(etat_documents& etat) : e(etat) {}
  void note(const std::string& quoi, int k) { appels.push_back(quoi + " " + std::to_string(k)); }

  bool vue_modifiee(int v) override { return vues_modifiees.count(v); }
  bool vue_a_fichier(int v) override { return vues_avec_fichier.count(v); }
  bool sauvegarde_vue_demandee(int v) override { return vues_a_sauver.count(v); }
  const param_vue* parametres_de_vue(int v) override { return vues.count(v) ? &vues[v] : nullptr; }
  bool video_refaite(int w) override { return videos_refaites.count(w); }
  bool video_a_fichier(int w) override { return videos_avec_fichier.count(w); }
  bool sauvegarde_video_demandee(int w) override { return videos_a_sauver.count(w); }
  std::string question_video(int w) override { return "Save updates on video " + std::to_string(w) + " ?"; }
  const Param_video* parametres_de_video(int w) override { return videos.count(w) ? &videos[w] : nullptr; }
  bool edition_ouverte(int m) override { return editions.count(m); }
  bool edition_modifiee(int m) override { return editions_modifiees.count(m); }
  void oublier_vue_modifiee(int v) override { vues_modifiees.erase(v); }
  void oublier_video_refaite(int w) override { videos_refaites.erase(w); }
  void oublier_edition_modifiee(int m) override { editions_modifiees.erase(m); }
  void fermer_edition(int m) override {
    editions.erase(m);
    note("close editor", m);
  }
  void fermer_fenetre_vue(int v) override { note("close view", v); }
  void fermer_fenetre_video(int w) override { note("close video", w); }
  void retirer_edition(int m, bool noeud) override { note(noeud ? "remove editor" : "remove editor, no node", m); }
  void retirer_vue(int v, bool noeud) override { note(noeud ? "remove view" : "remove view, no node", v); }
  void retirer_video(int w, bool noeud) override { note(noeud ? "remove video" : "remove video, no node", w); }
  void retirer_carte(int m) override { note("remove card", m); }
  void liberer_image_vue(int v) override { note("free picture", v); }
  void occupe(bool actif) override { occupe_ = actif; }
  bool enregistrer() override { return sauver("save as"); }
  bool sauver_document() override { return sauver("save"); }
  bool sauver(const std::string& quoi) {
    note(quoi, e.montagne_courante);
    sauvegardes.push_back(e.montagne_courante);
    if (enregistrements.empty()) return true;
    const bool ok = enregistrements.front();
    enregistrements.pop_front();
    return ok;
  }
};
