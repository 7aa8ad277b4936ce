#include "app/commandes_video.h"

#include "app/commandes_fichier.h"
#include "app/vue.h"
#include "model/echantillons.h"
#include "platform/drapeau_leve.h"
#include "platform/fichiers.h"
#include "video/codecs_video.h"
#include "video/dialogue_reglages.h"
#include "video/fenetre_video.h"
#include "video/reglages_video.h"

namespace {

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

}  // namespace

CommandesVideo::CommandesVideo(etat_documents& etat, HoteVideo& hote) : e_(etat), w_(hote) {
  creer_fenetre_video = [] { return new TVideowindow; };
  creer_dialogue_video = [] { return std::make_unique<TPagesDlg3>(); };
}

CommandesVideo::~CommandesVideo() = default;

int CommandesVideo::nouvelle_video(const std::vector<enregistrement_camera>* cameras) {
  auto& e = e_;
  if (e.nombre_videos >= NOMBRE_MAX_VIDEOS || e.video_libre() == 0) {
    warn("Maximum video number reach, close at least one", "File");
    return 0;
  }
  const int v = e.vue_courante;
  if (!creer_fenetre_video || v < 1 || v > NOMBRE_MAX_VUES || !e.vues[v].utilise) return 0;
  const int m = e.vues[v].montagne;
  if (!e.montagnes[m].type.utilise || !e.montagnes[m].terrain) return 0;
  const int libre = e.video_libre();
  const int source = e.video_courante;
  w_.occuper(true);
  FenetreVideo* fw = creer_fenetre_video();
  fw->setWindowTitle(Q("Video #  " + std::to_string(libre) + " :  " + e.montagnes[m].type.nom.str()).left(50));
  if (FenetreVue* vue = w_.fenetre_vue(v)) vue->fermeture_autorisee = 0;
  if (CarteMontagne* carte = w_.carte(m)) carte->fermeture_autorisee = 0;
  if (!e.informations[0].empty()) fw->informations = e.informations;
  const int w = w_.ajouter_video(fw, v);
  if (!w) {
    delete fw;
    w_.occuper(false);
    return 0;
  }
  const Type_matrice& type = e.montagnes[m].type;
  const std::string extension = extension_film(e.video.type_video);
  std::string film = film_suivant;
  // The window of an opened video document has its file also when no movie
  // lay beside it: it makes the movie, and the closing questions ask about it.
  fw->a_fichier = (ouverture_document_ || !film.empty()) && type.a_fichier && type.genre == 3 ? 1 : 0;
  e.video.vue = e.vue;
  e.video.vue.zoom = e.video.zoom_video;
  // Without a movie named, the opening found none it could read beside the
  // document. A duplicate copies the movie its source shows, made since or not.
  if (fw->a_fichier && !film.empty() && !duplication_demandee) {
    const std::string beside = changer_extension(type.fichier, extension);
    if (fichier_existe(beside)) film = beside;
  }
  // The window renders from its own records: a duplicate takes its source's.
  const std::vector<enregistrement_camera>* origine = cameras ? cameras : w_.cameras_de_travail().get();
  if (duplication_demandee && source && w_.fenetre_video(source)) origine = &w_.fenetre_video(source)->cameras;
  fw->prendre_cameras(origine, e.video.nombre_images);
  if (duplication_demandee) {
    duplication_demandee = false;
    const std::string copie = e.dossier_travail() + "/video" + std::to_string(w) + extension_film(film, e.video);
    // A source without a movie yet: the new window makes its own. The copy
    // is shown as it is, and saved beside a document as its source's would be.
    if (!film.empty() && fichier_existe(film) && copier_fichier(film, copie).empty()) {
      film = copie;
      fw->refaite = w_.fenetre_video(source) ? w_.fenetre_video(source)->refaite : 1;
    } else {
      film.clear();
      fw->a_fichier = 0;
    }
  }
  e.video_courante = w;
  fw->init_video(w_.handle(), e.video, e.montagnes[m].terrain.get(), film, e.dossier_programme);
  film_suivant.clear();
  w_.occuper(false);
  w_.activer(fw);
  return w;
}

int CommandesVideo::ouvrir_video(const std::string& film, const std::vector<enregistrement_camera>* cameras,
                                 const informations_video& informations) {
  // The document's records also become the working table.
  if (cameras) {
    if (!w_.cameras_de_travail()) w_.cameras_de_travail() = std::make_unique<std::vector<enregistrement_camera>>();
    *w_.cameras_de_travail() = *cameras;
    if (w_.cameras_de_travail()->size() < std::size_t(FenetreVideo::kCamerasMax) + 1)
      w_.cameras_de_travail()->resize(std::size_t(FenetreVideo::kCamerasMax) + 1);
  }
  e_.informations = informations;
  film_suivant = film;
  const platform::DrapeauLeve ouverture(ouverture_document_);
  return nouvelle_video(cameras);
}

void CommandesVideo::creer_video() {
  if (!e_.vue_courante) return;
  film_suivant.clear();
  nouvelle_video();
}

void CommandesVideo::dupliquer_video() {
  const int w = e_.video_courante;
  if (!w || !w_.fenetre_video(w)) return;
  film_suivant = w_.fenetre_video(w)->fichier_film;
  duplication_demandee = true;
  nouvelle_video();
  duplication_demandee = false;
}

void CommandesVideo::rafraichir_video() {
  w_.demander_rafraichissement();
  w_.timerthread1().start();
}

void CommandesVideo::parametres_detailles() {
  auto& e = e_;
  e.video.detail = e.video.detail ? 0 : 1;
  w_.cocher(Commande::parametres_detailles, e.video.detail != 0);
  if (e.video_courante && w_.fenetre_video(e.video_courante))
    w_.fenetre_video(e.video_courante)->parametres = e.video;
}

void CommandesVideo::informations() {
  const int w = e_.video_courante;
  if (w && w_.fenetre_video(w) && !w_.fenetre_video(w)->informations[0].empty())
    w_.fenetre_video(w)->Informations1Click();
}

void CommandesVideo::reglages_video() {
  auto& e = e_;
  const int m = e.montagne_courante;
  if (!m || !(e.vue_courante || e.video_courante) || !creer_dialogue_video) return;
  w_.occuper(true);
  std::unique_ptr<DialogueReglagesVideo> dialogue = creer_dialogue_video();
  const bool videos = e.video_courante != 0;
  if (!videos) e.video.vue = e.vue;
  EntreesReglagesVideo in;
  in.video = e.video;
  in.numero_courant = static_cast<std::uint16_t>(videos ? e.video_courante : e.vue_courante);
  in.montagne_courante = static_cast<std::uint16_t>(m);
  in.liste_videos = videos ? 1 : 0;
  auto image = [this](int v) -> const render::Bitmap* {
    auto* vue = dynamic_cast<TVuewindow*>(w_.fenetre_vue(v));
    return vue && vue->image_existe() ? &vue->image() : nullptr;
  };
  auto echantillon = [&](int montagne) {
    if (montagne >= 1 && montagne <= NOMBRE_MAX_MONTAGNES && e.montagnes[montagne].terrain &&
        !in.echantillons[montagne])
      in.echantillons[montagne] = echantillonner_36(*e.montagnes[montagne].terrain);
  };
  if (videos) {
    for (int w = 1; w <= NOMBRE_MAX_VIDEOS; ++w) {
      FenetreVideo* fw = w_.fenetre_video(w);
      if (!e.videos[w].utilise || !fw) continue;
      const int v = e.videos[w].vue;
      in.images[v] = image(v);
      echantillon(e.videos[w].montagne);
      in.documents.push_back({fw->windowTitle().toLocal8Bit().toStdString(), fw->parametres,
                              static_cast<std::uint16_t>(e.videos[w].montagne), static_cast<std::uint16_t>(w),
                              static_cast<std::uint16_t>(v)});
    }
  } else {
    for (int v = 1; v <= NOMBRE_MAX_VUES; ++v) {
      FenetreVue* fv = w_.fenetre_vue(v);
      if (!e.vues[v].utilise || !fv) continue;
      in.images[v] = image(v);
      echantillon(e.vues[v].montagne);
      Param_video p = e.video;
      p.vue = fv->parametres;
      in.documents.push_back({fv->windowTitle().toLocal8Bit().toStdString(), p,
                              static_cast<std::uint16_t>(e.vues[v].montagne), static_cast<std::uint16_t>(v),
                              static_cast<std::uint16_t>(v)});
    }
  }
  in.dossier_programme = e.dossier_programme;
  in.vue_courante = static_cast<std::uint16_t>(e.vue_courante);
  for (int k = 1; k <= NOMBRE_MAX_MONTAGNES; ++k)
    if (e.montagnes[k].type.utilise) in.terrains[k] = e.montagnes[k].terrain.get();
  if (!w_.cameras_de_travail())
    w_.cameras_de_travail() =
        std::make_unique<std::vector<enregistrement_camera>>(std::size_t(FenetreVideo::kCamerasMax) + 1);
  in.cameras = w_.cameras_de_travail().get();
  in.parametres = e.parametres;
  SortiesReglagesVideo out;
  const documents_notes notes = e.noter_documents();
  const bool ok = dialogue->executer(in, out) == 1;
  // What the dialog was given must still be there: the current documents and the one chosen in it.
  const auto table = videos ? temoin_document::Table::video : temoin_document::Table::vue;
  if (ok && !e.reprendre_courants(notes, table, out.numero_choisi)) {
    warn("A view or video was closed while the video settings were open: the settings were not applied.", "Video ");
  } else if (ok) {
    e.video = out.video;
    const int n = out.numero_choisi;
    if (videos && n >= 1 && n <= NOMBRE_MAX_VIDEOS && e.videos[n].utilise) {
      e.video_courante = n;
      e.vue_courante = e.videos[n].vue;
      w_.focaliser_video(n);
    } else if (!videos && n >= 1 && n <= NOMBRE_MAX_VUES && e.vues[n].utilise) {
      e.vue_courante = n;
      w_.focaliser_vue(n);
    }
    if (e.vue_courante && e.vues[e.vue_courante].utilise) e.montagne_courante = e.vues[e.vue_courante].montagne;
    if (e.video_courante && w_.fenetre_video(e.video_courante) && out.action <= 1) {
      FenetreVideo* fw = w_.fenetre_video(e.video_courante);
      fw->parametres = e.video;
      fw->prendre_cameras(w_.cameras_de_travail().get(), e.video.nombre_images);
    }
    if (out.action == 1) w_.demander_rafraichissement();
    if (out.action == 2) w_.demander_nouveau(true);
    w_.UpdateItems();
    w_.timerthread1().start();
  }
  dialogue.reset();
  if (!w_.timerthread1().isActive()) w_.occuper(false);
}
