#include "video/creation.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "fenetres/donnees_images.h"
#include "fenetres/fonds.h"
#include "fenetres/operation_longue.h"
#include "fenetres/rendu.h"
#include "controls/button.h"
#include "controls/fill.h"
#include "controls/labels.h"
#include "controls/progress.h"
#include "model/aleatoire.h"
#include "model/interfaces.h"
#include "platform/page_de_code.h"
#include "render/calcul_image.h"
#include "render/jpeg.h"
#include "video/codecs_video.h"

namespace vcv = platform::vcv;

namespace {

bool g_fabrication = false;  // one making at a time, for the whole program

// The range of a video's zoom.
constexpr std::int32_t kZoomMin = 10, kZoomMax = 80;

// Events are let in at most this often while the making runs.
constexpr qint64 kIntervalleTraitement = 30;

QString Q(const std::string& s) { return QString::fromLocal8Bit(s.c_str()); }

QFont police_etiquette() {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(12);
  f.setBold(true);
  return f;
}

// Thousands with "," whatever the locale.
std::string milliers(std::int64_t v) {
  std::string s = std::to_string(v < 0 ? -v : v);
  for (int i = int(s.size()) - 3; i > 0; i -= 3) s.insert(std::size_t(i), ",");
  return v < 0 ? "-" + s : s;
}

// `v` printed by the printf `format`, with a dot for the decimals whatever the locale.
std::string avec_point(const char* format, double v) {
  char b[64];
  std::snprintf(b, sizeof b, format, v);
  std::string s = b;
  std::replace(s.begin(), s.end(), ',', '.');
  return s;
}

std::string fixe_2(double v) { return avec_point("%.2f", v); }

std::string general(double v) { return avec_point("%.15g", v); }

// Clears the one-making flag on every path out.
struct Fabrication {
  Fabrication() { g_fabrication = true; }
  ~Fabrication() { g_fabrication = false; }
};

// The layer's handles of one making, released on every path.
struct Poignees {
  vcv::Handle& conv;
  vcv::Handle& img;
  vcv::Handle& liste;
  ~Poignees() {
    if (liste) vcv::list_free(liste);
    if (conv) vcv::free(conv);
    if (img) vcv::free(img);
    conv = img = liste = 0;
  }
};

}  // namespace

PlageImages plage_images(std::int32_t n, std::int32_t p1, std::int32_t p2) {
  n = std::clamp(n, 200, 9999);
  p1 = std::clamp(p1, 1, 200);
  p2 = std::clamp(p2, p1, 200);
  PlageImages r;
  r.nombre = Round(double(p2) * n / 200) + 1 - Round(double(p1 - 1) * n / 200);
  const std::int32_t f = Round(double(p1 - 1) * n / 200);
  r.premiere = std::max(f, 1);
  r.derniere = std::min(f + r.nombre - 1, n);
  return r;
}

LignesInformations lignes_informations(const vcv::FileInfo& i) {
  return {"File Name = " + platform::utf8_vers_page_de_code(i.file_name),  // document text
          "File Format = " + i.file_format,
          "File size in Bytes = " + milliers(std::int64_t(i.file_size)),
          "Video Format = " + i.video_format,
          "Number of frames = " + std::to_string(i.frames),
          "Playing time in seconds = " + fixe_2(i.playing_time),
          "Number of frames per second = " + general(i.frames_per_second),
          "Frame width = " + std::to_string(i.width),
          "Frame Height = " + std::to_string(i.height),
          "Number of Bytes per pixel = " + std::to_string(i.bytes_per_pixel),
          "Number of bits par pixel = " + std::to_string(i.bits_per_pixel)};
}

std::int64_t estimer_temps_restant(std::int64_t ecoule, std::int32_t faites, std::int32_t total) {
  if (faites <= 0 || ecoule <= 0 || total <= faites) return 0;
  return std::int64_t(double(ecoule) / faites * (total - faites) + 0.5);
}

std::string texte_duree(std::int64_t ms) {
  const std::int64_t s = std::max<std::int64_t>(0, ms) / 1000;
  char b[48];
  std::snprintf(b, sizeof b, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>((s / 60) % 60), static_cast<long long>(s % 60));
  return b;
}

void ApercuImage::montrer(const render::Bitmap& image) {
  if (image.empty() || width() <= 0 || height() <= 0) return;
  const QImage vue(reinterpret_cast<const uchar*>(image.pixels().data()), image.width(), image.height(),
                   image.width() * 4, QImage::Format_RGB32);
  image_ = vue.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  update();
}

void ApercuImage::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (image_.isNull()) p.fillRect(rect(), Qt::black);
  else p.drawImage(0, 0, image_);
}

bool TCreation::fabrication_en_cours() { return g_fabrication; }

TCreation::TCreation(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowMinimizeButtonHint) {
  setWindowTitle(QStringLiteral("Video making"));
  setFixedSize(445, 137);
  setWindowModality(Qt::ApplicationModal);
  setFocusPolicy(Qt::StrongFocus);
  const TData* data = TData::Instance();

  CtlFill1 = new CtlFill(this);
  CtlFill1->setGeometry(0, 0, 445, 137);
  fond_carrele(*CtlFill1, images::kBackground);

  auto* panneau = new QFrame(this);
  panneau->setGeometry(8, 8, 161, 121);
  panneau->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panneau->setLineWidth(1);
  panneau->setAutoFillBackground(true);
  QPalette noir = panneau->palette();
  noir.setColor(QPalette::Window, Qt::black);
  panneau->setPalette(noir);
  Image_video = new ApercuImage(panneau);
  Image_video->setGeometry(1, 1, 159, 119);

  // The background picture carries the program's name in large letters: the
  // texts and the gauge sit on a plain plate over it.
  auto* plaque = new QFrame(this);
  plaque->setGeometry(174, 4, 267, 102);
  plaque->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  plaque->setLineWidth(1);
  plaque->setAutoFillBackground(true);
  QPalette clair = plaque->palette();
  clair.setColor(QPalette::Window, QColor(232, 238, 248));
  plaque->setPalette(clair);

  auto etiquette = [this](int y, const QString& texte) {
    auto* l = new CtlSimpleLabel(this);
    l->setGeometry(180, y, 257, 18);
    l->setFont(police_etiquette());
    l->SetCaption(texte);
    return l;
  };
  CtlLabelprogression1 = etiquette(8, QStringLiteral("Creation + Coding video"));
  Ctl_typecodec = etiquette(26, {});
  CtlLabelprogression = etiquette(44, {});
  CtlLabelprogression3 = etiquette(62, {});

  Gauge1 = new CtlProgress(this);
  Gauge1->setGeometry(180, 82, 257, 20);
  Gauge1->SetStyle(pgBar);
  Gauge1->SetOptionsText(toPercent);
  Gauge1->SetColor(clWhite);
  Gauge1->SetBarColor(clNavy);
  Gauge1->Bevel().SetStyleOuter(bvLowered);
  Gauge1->Bevel().SetWidthOuter(1);
  Gauge1->SetPosition(0);

  Button_cancel = new CtlButton(this);
  Button_cancel->setGeometry(262, 108, 97, 24);
  Button_cancel->setText(QStringLiteral("Cancel"));
  Button_cancel->setToolTip(QStringLiteral("Create a video until the current frame"));
  Button_cancel->setFocusPolicy(Qt::NoFocus);  // keys go to the window, where Escape is read
  Button_cancel->setAutoDefault(false);
  if (data) Button_cancel->SetGlyph(data->ImageList.GetImage(images::kSmallIcons, images::iconCancel));
  connect(Button_cancel, &QPushButton::clicked, this, &TCreation::Button_cancelClick);

  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TCreation::Timer1Timer);
  handle_ = platform::register_window([](const platform::Message&) { return false; });
}

TCreation::~TCreation() { platform::unregister_window(handle_); }

void TCreation::init_creation(const Param_video& p, const std::string& dossier_programme, const TMyPalette* palette,
                              Tmatrice* terrain, int numero_video) {
  numero_ = numero_video;
  numeros_images = false;
  palette_ = palette;
  dossier_programme_ = dossier_programme;
  video_ = p;
  type_ = p.type_video;
  // The frame size stays within what the bitmap and the layer take.
  largeur_ = std::clamp(p.largeur_image, 16, 4095);
  hauteur_ = std::clamp(p.hauteur_image, 16, 4095);
  vue_ = p.vue;
  // The video's own zoom, whatever the view part it carries was made with
  // (a remade video keeps the view part of its first making).
  vue_.zoom = std::clamp(p.zoom_video, kZoomMin, kZoomMax);
  vue_ = render::vue_image_video(vue_, largeur_, hauteur_);
  mode_fichiers_ = largeur_ > 320;
  terrain_ = terrain;
  debut_phase_ = -1;
}

void TCreation::effacer_fichiers(const std::string& motif) {
  namespace fs = std::filesystem;
  std::error_code ec;
  std::vector<std::string> noms;
  const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(Q(motif)));
  for (const auto& e : fs::directory_iterator(dossier_temp(), ec)) {
    const std::string nom = e.path().filename().string();
    if (re.match(Q(nom)).hasMatch()) noms.push_back(nom);
  }
  std::sort(noms.begin(), noms.end());
  for (const std::string& nom : noms) fs::remove(dossier_temp() + nom, ec);
}

void TCreation::traiter_evenements(bool toujours) {
  if (!toujours && traitement_fait_ && dernier_traitement_.elapsed() < kIntervalleTraitement) return;
  traitement_fait_ = true;
  dernier_traitement_.start();
  QCoreApplication::processEvents();
}

void TCreation::temps_restant() {
  const std::int32_t faites = courante_ - plage_.premiere;
  CtlLabelprogression->SetCaption(QStringLiteral("Frame n° %1 / %2").arg(faites + 1).arg(plage_.nombre - 1));
  if (faites > 2 && debut_phase_ >= 0) {
    const std::int64_t reste = estimer_temps_restant(maintenant() - debut_phase_, faites, plage_.nombre);
    if (reste > 0) {
      Gauge1->SetPosition(Round(double(faites) * 100 / plage_.nombre));
      CtlLabelprogression3->SetCaption(Q("Time left estimated :" + texte_duree(reste)));
    }
  }
}

std::int64_t TCreation::maintenant() const {
  if (horloge) return horloge();
  return horloge_.isValid() ? horloge_.elapsed() : 0;
}

void TCreation::creer_image(bool sauver) {
  if (fini_ || courante_ < plage_.premiere || courante_ > plage_.derniere) {
    fini_ = true;
    return;
  }
  if (courante_ == plage_.derniere && video_.nombre_images > plage_.derniere) {
    fini_ = true;  // a range that stops before the path's end
    return;
  }
  rendre_suivante_ = false;
  temps_restant();
  enregistrement_camera rec{};
  if (cameras_ && std::size_t(courante_) < cameras_->size()) rec = (*cameras_)[std::size_t(courante_)];
  render::RenderOptions options;
  options.traiter_messages = [this] { traiter_evenements(false); };
  if (terrain_ && palette_) {
    // A frame's record sets the terrain's target altitude; the document's
    // own, which its views and its next camera path start from, is kept.
    const double altitude_cible = terrain_->cible.hauteur;
    fenetres::calculer_image(*terrain_, handle_, *palette_, image_, {}, vue_, largeur_, hauteur_, nullptr, nullptr, 0,
                            0, 0, 0, 1, rec, options);
    terrain_->cible.hauteur = altitude_cible;
  }
  Image_video->montrer(image_);
  if (numeros_images) {
    QImage sur(reinterpret_cast<uchar*>(image_.row(0)), image_.width(), image_.height(), image_.width() * 4,
               QImage::Format_RGB32);
    QPainter p(&sur);
    QFont f(QStringLiteral("Sans Serif"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(10, 10, image_.width(), image_.height()), Qt::AlignLeft | Qt::AlignTop,
               QString::number(courante_ + 1 - plage_.premiere));
  }
  repaint();
  if (sauver) render::ecrire_jpeg(dossier_temp() + "file_" + std::to_string(courante_ + 10000) + ".jpg", image_, 90);
  emit image_rendue(courante_);
  ++courante_;
  pret_ = true;
}

void TCreation::source_video(vcv::Handle source, int index) {
  if (mode_fichiers_) {
    if (fini_) {
      vcv::src_finished(source);
      return;
    }
    if (auto nom = vcv::list_get_name(liste_, index)) vcv::src_set_file(source, *nom);
    else vcv::src_finished(source);
    return;
  }
  // Image mode: the frame asked for is rendered here when none waits.
  if (!fini_ && !pret_) creer_image(false);
  if (pret_ && !fini_) {
    vcv::dib_to_img(img_, {image_.pixels().data(), image_.width(), image_.height(), image_.width()});
    vcv::src_set_img(source, img_);
    pret_ = false;
  } else {
    vcv::src_finished(source);
  }
}

void TCreation::progression_video(int kind, int valeur) {
  if (kind == 3) {
    if (mode_fichiers_) courante_ = valeur + plage_.premiere;
    else rendre_suivante_ = true;
  }
  traiter_evenements(false);
}

void TCreation::Timer1Timer() {
  if (mode_fichiers_) temps_restant();
}

void TCreation::encoder_video(bool details, const std::vector<enregistrement_camera>* cameras) {
  film_sortie.clear();
  informations = {};
  if (g_fabrication || !terrain_ || !palette_) return;
  Fabrication fabrication;
  OperationLongue operation;
  en_cours_ = true;
  struct Fin {
    TCreation* c;
    ~Fin() {
      c->Timer1.stop();
      c->en_cours_ = false;
      c->image_.reset(0, 0);
    }
  } fin{this};
  cameras_ = cameras;
  const auto codec = codec_video(type_);
  if (codec && !vcv::codec_available(codec->conteneur, codec->codec)) {
    const vcv::Handle essai = vcv::alloc();
    vcv::set_codec(essai, codec->conteneur, codec->codec);
    vcv::free(essai);
    warn(vcv::last_error_text(), "Video ");
    return;
  }
  image_.reset(largeur_, hauteur_);
  plage_ = plage_images(video_.nombre_images, video_.premiere_image, video_.derniere_image);
  video_.nombre_images = std::clamp(video_.nombre_images, 200, 9999);
  courante_ = plage_.premiere;
  pret_ = fini_ = rendre_suivante_ = false;
  traitement_fait_ = false;
  horloge_.start();
  debut_phase_ = maintenant();
  Ctl_typecodec->SetCaption({});
  std::filesystem::create_directories(dossier_temp());
  effacer_fichiers("file_*.jpg");
  // What a making the program could not end left of its movies.
  for (const std::string& x : extensions_films())
    vcv::remove_work_files(film_numero(x));
  if (codec) Ctl_typecodec->SetCaption(QString::fromLatin1(codec->ligne));
  if (!mode_fichiers_) {
    CtlLabelprogression1->SetCaption(QStringLiteral("Creation + video encoding"));
    creer_image(details);
  } else {
    CtlLabelprogression1->SetCaption(QStringLiteral("1 - Frame Creation "));
    for (int k = 0; k < plage_.nombre; ++k) {
      creer_image(true);
      traiter_evenements(false);
    }
  }
  // File mode: the encoding is a second run over the frames, timed apart.
  if (mode_fichiers_) debut_phase_ = maintenant();
  // File mode: the frames saved before a cancel are still encoded. Image mode
  // keeps a cancel made while the first frame rendered.
  if (mode_fichiers_) fini_ = false;

  Poignees poignees{conv_, img_, liste_};
  conv_ = vcv::alloc();
  img_ = vcv::img_alloc();
  vcv::assign_video_source(conv_, [this](vcv::Handle s, int index) { source_video(s, index); });
  vcv::assign_progress(conv_, [this](vcv::Handle, int kind, int valeur, int) { progression_video(kind, valeur); });
  vcv::assign_error(conv_, [](vcv::Handle, int, int& reponse) { reponse = 2; });
  liste_ = vcv::list_alloc();
  vcv::list_add(liste_, dossier_temp() + "file_*.jpg", 1);
  vcv::set_frame_rate(conv_, 30.0);
  vcv::set_resolution(conv_, largeur_, hauteur_);
  if (codec) vcv::set_codec(conv_, codec->conteneur, codec->codec);
  const std::string extension = extension_film(type_);
  const std::string film = film_numero(extension);
  vcv::set_output_file(conv_, film, 0);
  vcv::set_byte_rate(conv_, vcv::kContainerAvi, 600);
  vcv::set_byte_rate(conv_, vcv::kContainerMpeg, 600);
  vcv::set_dithering(conv_, 1);
  if (details && vcv::output_dlg(conv_, liste_, "Video file parameters", -1) == 0) return;
  if (mode_fichiers_) {
    CtlLabelprogression1->SetCaption(QStringLiteral("2 - Video encoding"));
    Timer1.start(1000);
  }
  vcv::force_compatibility(conv_, -1);
  const bool fait = vcv::convert(conv_);
  Timer1.stop();
  if (!fait) {
    // A cancel before the first frame makes no movie and needs no message.
    if (vcv::check_error() != vcv::kNoFrame)
      warn("The movie could not be made: " + vcv::last_error_text(), "Video ");
    return;
  }
  // The earlier movie of the other kind goes only once the new one is complete.
  for (const std::string& x : extensions_films()) {
    if (x != extension) std::remove(film_numero(x).c_str());
  }
  film_sortie = film;
  if (!numeros_images) {
    vcv::FileInfo info;
    if (vcv::get_file_info(film, 0, info)) informations = lignes_informations(info);
  }
}

void TCreation::Button_cancelClick() {
  CtlLabelprogression3->SetCaption(QStringLiteral("Handle Cancellation, please wait"));
  fini_ = true;
}

void TCreation::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    Button_cancelClick();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TCreation::closeEvent(QCloseEvent* e) {
  fini_ = true;
  // The window goes once the making has ended; its caller closes it then.
  if (en_cours_) e->ignore();
  else QDialog::closeEvent(e);
}
