// The print-preview component: units, paper table, page list, sheet, layout,
// keyboard and mouse, and printing.
#include "components/apercu.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTemporaryFile>
#include <algorithm>
#include <utility>

#include "controls/ctlobject.h"
#include "controls/paintkit.h"
#include "model/aleatoire.h"
#include "platform/fichiers.h"

namespace components {

const LignePapier kPapiers[kNombrePapiers] = {
    {1, 2159, 2794},  {2, 2159, 2794},  {3, 2794, 4318},  {4, 4318, 2794},   {5, 2159, 3556},
    {6, 1397, 2159},  {7, 1842, 2667},  {8, 2970, 4200},  {9, 2100, 2970},   {10, 2100, 2970},
    {11, 1480, 2100}, {12, 2500, 3540}, {13, 1820, 2570}, {14, 2159, 3302},  {15, 2150, 2750},
    {16, 2540, 3556}, {17, 2794, 4318}, {18, 2159, 2794}, {19, 984, 2254},   {20, 1048, 2413},
    {21, 1143, 2635}, {22, 1207, 2794}, {23, 1270, 2921}, {24, 4318, 5588},  {25, 5588, 8636},
    {26, 8636, 11176}, {27, 1100, 2200}, {28, 1620, 2290}, {29, 3240, 4580}, {30, 2290, 3240},
    {31, 1140, 1620}, {32, 1140, 2290}, {33, 2500, 3530}, {34, 1760, 2500},  {35, 1760, 1250},
    {36, 1100, 2300}, {37, 984, 1905},  {38, 920, 1651},  {39, 3778, 2794},  {40, 2159, 3048},
    {41, 2159, 3302}, {42, 2500, 3530}, {43, 1000, 1480}, {44, 2286, 2794},  {45, 2540, 2794},
    {46, 3810, 2794}, {47, 2200, 2200}, {50, 2355, 3048}, {51, 2355, 3810},  {52, 2969, 4572},
    {53, 2354, 3223}, {54, 2101, 2794}, {55, 2100, 2970}, {56, 2355, 3048},  {57, 2270, 3560},
    {58, 3050, 4870}, {59, 2159, 3223}, {60, 2100, 3300}, {61, 1480, 2100},  {62, 1820, 2570},
    {63, 3220, 4450}, {64, 1740, 2350}, {65, 2010, 2760}, {66, 4200, 5940},  {67, 2970, 4200},
    {68, 3220, 4450}};

namespace {

const char* const kPasDeMemoire = "Not enough memory to create a new page";

int par_pouce(TUnits u, int dpi) {
  switch (u) {
    case mmPixel: return dpi;
    case mmLoMetric: return 254;
    case mmHiMetric: return 2540;
    case mmLoEnglish: return 10;
    case mmHiEnglish: return 100;
    case mmTWIPS: return 1440;
  }
  return 0;
}

}  // namespace

int ConvertUnitsDPI(int value, int dpi, TUnits from, TUnits to) {
  if (from == to || from > mmTWIPS || to > mmTWIPS) return value;
  if (from == mmLoMetric && to == mmHiMetric) return value * 10;
  if (from == mmLoEnglish && to == mmHiMetric) return value * 254;
  if (from == mmLoEnglish && to == mmHiEnglish) return value * 10;
  if (from == mmHiMetric && to == mmLoMetric) return value / 10;
  if (from == mmHiMetric && to == mmLoEnglish) return value / 254;
  if (from == mmHiEnglish && to == mmLoEnglish) return value / 10;
  return MulDiv(value, par_pouce(to, dpi), par_pouce(from, dpi));
}

// ---------------------------------------------------------------- options

template <class T>
void TPaperPreviewOptions::changer(T& champ, T valeur) {
  if (champ == valeur) return;
  champ = valeur;
  if (OnChange) OnChange();
}

void TPaperPreviewOptions::SetPaperColor(QColor c) { changer(paper_, c); }
void TPaperPreviewOptions::SetBorderColor(QColor c) { changer(bordure_, c); }
void TPaperPreviewOptions::SetBorderWidth(int w) { changer(largeur_bordure_, w); }
void TPaperPreviewOptions::SetShadowColor(QColor c) { changer(ombre_, c); }
void TPaperPreviewOptions::SetShadowWidth(int w) { changer(largeur_ombre_, w); }
void TPaperPreviewOptions::SetCursor(Qt::CursorShape c) { changer(curseur_, c); }
void TPaperPreviewOptions::SetDragCursor(Qt::CursorShape c) { changer(curseur_glisse_, c); }
void TPaperPreviewOptions::SetPopupMenu(QMenu* m) { changer(menu_, m); }

void TPaperPreviewOptions::Assign(const TPaperPreviewOptions& o) {
  SetPaperColor(o.paper_);
  SetBorderColor(o.bordure_);
  SetBorderWidth(o.largeur_bordure_);
  SetShadowColor(o.ombre_);
  SetShadowWidth(o.largeur_ombre_);
  SetCursor(o.curseur_);
  SetDragCursor(o.curseur_glisse_);
  SetPopupMenu(o.menu_);
}

// ---------------------------------------------------------------- sheet

TPaperPreview::TPaperPreview(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
  resize(Outer(105), Outer(148));
}

int TPaperPreview::PaperWidth() const { return width() - (2 * BorderSize + ShadowSize); }
int TPaperPreview::PaperHeight() const { return height() - (2 * BorderSize + ShadowSize); }
void TPaperPreview::SetPaperWidth(int w) { resize(Outer(w), height()); }
void TPaperPreview::SetPaperHeight(int h) { resize(width(), Outer(h)); }

QRect TPaperPreview::PageRect() const {
  return QRect(QPoint(BorderSize, BorderSize),
               QPoint(width() - BorderSize - ShadowSize - 1, height() - BorderSize - ShadowSize - 1));
}

void TPaperPreview::Prepare() {
  const int w = std::max(1, width()), h = std::max(1, height());
  const int s = ShadowSize, b = BorderSize;
  picture_ = QPixmap(w, h);
  const QColor fond = palette().color(QPalette::Window);
  picture_.fill(fond);
  QPainter p(&picture_);
  if (b > 0) {  // a frame of width b inside (0, 0)-(w - s, h - s)
    const QRect cadre(0, 0, w - s, h - s);
    p.fillRect(cadre.x(), cadre.y(), cadre.width(), b, BorderColor);
    p.fillRect(cadre.x(), cadre.bottom() - b + 1, cadre.width(), b, BorderColor);
    p.fillRect(cadre.x(), cadre.y(), b, cadre.height(), BorderColor);
    p.fillRect(cadre.right() - b + 1, cadre.y(), b, cadre.height(), BorderColor);
  }
  if (s > 0) {
    p.fillRect(QRect(QPoint(w - s, s), QPoint(w - 1, h - 1)), ShadowColor);
    p.fillRect(QRect(QPoint(s, h - s), QPoint(w - 1, h - 1)), ShadowColor);
    p.fillRect(QRect(QPoint(w - s, 0), QPoint(w - 1, s - 1)), fond);
    p.fillRect(QRect(QPoint(0, h - s), QPoint(s - 1, h - 1)), fond);
  }
  const QRect page = PageRect();
  p.fillRect(page, PaperColor);
  if (OnPaint && page.isValid()) {
    p.save();
    p.setClipRect(page);
    OnPaint(p, page);
    p.restore();
  }
  p.end();
  update();
}

void TPaperPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, picture_);
}

void TPaperPreview::resizeEvent(QResizeEvent*) {
  Prepare();
  if (OnResize) OnResize();
}

void TPaperPreview::mousePressEvent(QMouseEvent* e) {
  if (OnMousePress) OnMousePress(e);
}
void TPaperPreview::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(e);
}
void TPaperPreview::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseRelease) OnMouseRelease(e);
}
void TPaperPreview::mouseDoubleClickEvent(QMouseEvent* e) {
  if (OnDoubleClick) OnDoubleClick(e);
}

// ---------------------------------------------------------------- page list

namespace {

// Each page: its byte count (64 bits), its pixel width and height (32 bits
// each), then the QPicture's data.
constexpr int kTeteEnregistrement = 16;

void ecrire_entier(QByteArray& b, std::int64_t v, int octets) {
  for (int i = 0; i < octets; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::int64_t lire_entier(const QByteArray& b, int debut, int octets) {
  std::uint64_t v = 0;
  for (int i = octets - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[debut + i]);
  if (octets == 4) return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
  return static_cast<std::int64_t>(v);
}

}  // namespace

TMetaFileList::~TMetaFileList() { liberer_flux(); }

std::unique_ptr<QIODevice> TMetaFileList::nouveau_flux(bool temporaire) {
  if (!temporaire) {
    auto b = std::make_unique<QBuffer>();
    b->open(QIODevice::ReadWrite);
    return b;
  }
  auto f = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/TMPXXXXXX");
  f->setAutoRemove(true);
  if (!f->open()) throw PreviewError(kPasDeMemoire);
  nom_temporaire_ = f->fileName();
  return f;
}

void TMetaFileList::liberer_flux() {
  if (!flux_) return;
  flux_->close();
  const bool temporaire = dynamic_cast<QTemporaryFile*>(flux_.get()) != nullptr;
  flux_.reset();  // a temporary file is removed with it
  if (temporaire && !nom_temporaire_.isEmpty() && QFile::exists(nom_temporaire_)) QFile::remove(nom_temporaire_);
}

int TMetaFileList::Add(const QPicture& page) {
  if (!flux_) flux_ = nouveau_flux(fichier_temporaire_);
  const std::int64_t position = flux_->size();
  QByteArray enregistrement;
  ecrire_entier(enregistrement, page.size(), 8);
  ecrire_entier(enregistrement, page.boundingRect().width(), 4);
  ecrire_entier(enregistrement, page.boundingRect().height(), 4);
  enregistrement.append(page.data(), page.size());
  if (!flux_->seek(position) || flux_->write(enregistrement) != enregistrement.size())
    throw PreviewError(kPasDeMemoire);
  positions_.push_back(position);
  if (OnChange) OnChange();
  return Count() - 1;
}

const QPicture& TMetaFileList::GetMetaFile(int index) {
  cache_ = QPicture();
  if (index < 0 || index >= Count() || !flux_) return cache_;
  const std::int64_t position = positions_[index];
  if (!flux_->seek(position)) return cache_;
  const QByteArray tete = flux_->read(kTeteEnregistrement);
  if (tete.size() != kTeteEnregistrement) return cache_;
  const std::int64_t taille = lire_entier(tete, 0, 8);
  const int w = static_cast<int>(lire_entier(tete, 8, 4)), h = static_cast<int>(lire_entier(tete, 12, 4));
  if (taille <= 0 || taille > flux_->size() - position - kTeteEnregistrement || w < 1 || h < 1) return cache_;
  const QByteArray donnees = flux_->read(taille);
  if (donnees.size() != taille) return cache_;
  cache_.setData(donnees.constData(), static_cast<uint>(donnees.size()));
  cache_.setBoundingRect(QRect(0, 0, w, h));
  return cache_;
}

void TMetaFileList::Clear() {
  positions_.clear();
  liberer_flux();
  nom_temporaire_.clear();
  cache_ = QPicture();
  if (OnChange) OnChange();
}

void TMetaFileList::SetUseTempFile(bool v) {
  if (v == fichier_temporaire_) return;
  if (flux_) {
    const QString ancien_nom = nom_temporaire_;
    std::unique_ptr<QIODevice> nouveau = nouveau_flux(v);
    flux_->seek(0);
    const QByteArray tout = flux_->readAll();
    if (nouveau->write(tout) != tout.size()) {
      if (v) nom_temporaire_ = ancien_nom;  // the new file goes with `nouveau`
      throw PreviewError(kPasDeMemoire);
    }
    if (!v) nom_temporaire_ = ancien_nom;
    liberer_flux();
    flux_ = std::move(nouveau);
  }
  fichier_temporaire_ = v;
  if (!v) nom_temporaire_.clear();
}

// ---------------------------------------------------------------- component

TPrintPreview::TPrintPreview(QWidget* parent) : QScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setWidgetResizable(false);
  fond_ = new QWidget;
  feuille_ = new TPaperPreview(fond_);
  feuille_->hide();
  setWidget(fond_);
  if (const QScreen* ecran = QGuiApplication::primaryScreen()) ppp_ = std::max(1, Round(ecran->logicalDotsPerInch()));
  Font = QFont("Arial");
  Font.setPixelSize(260);
  taille_standard();
  calculer_pixels();
  pages_.OnChange = [this] { pages_changees(); };
  options_.OnChange = [this] { appliquer_options(); };
  feuille_->OnPaint = [this](QPainter& p, const QRect& r) { PaintPage(p, r); };
  feuille_->OnMousePress = [this](QMouseEvent* e) { souris_pressee(e); };
  feuille_->OnMouseMove = [this](QMouseEvent* e) { souris_bougee(e); };
  appliquer_options();
}

TPrintPreview::~TPrintPreview() {
  if (canevas_ && canevas_->isActive()) canevas_->end();
  pages_.OnChange = nullptr;
}

int TPrintPreview::ConvertUnits(int value, TUnits from, TUnits to) const {
  return ConvertUnitsDPI(value, ppp_, from, to);
}

int TPrintPreview::ScreenToUnits(int pixels) const {
  return ConvertUnits(ConvertUnits(pixels, mmPixel, mmHiEnglish), mmHiEnglish, units_);
}

void TPrintPreview::SetScreenPixelsPerInch(int ppp) {
  if (ppp < 1 || ppp == ppp_) return;
  ppp_ = ppp;
  calculer_pixels();
  UpdateZoom();
}

void TPrintPreview::calculer_pixels() {
  largeur_pixels_ = std::max(1, ConvertUnits(largeur_, units_, mmPixel));
  hauteur_pixels_ = std::max(1, ConvertUnits(hauteur_, units_, mmPixel));
}

// The table size of a standard type in Units, swapped in landscape.
void TPrintPreview::taille_standard() {
  if (type_ == pCustom) return;
  const LignePapier& l = kPapiers[type_];
  largeur_ = ConvertUnits(l.largeur, mmLoMetric, units_);
  hauteur_ = ConvertUnits(l.hauteur, mmLoMetric, units_);
  if (orientation_ == poLandscape) std::swap(largeur_, hauteur_);
}

void TPrintPreview::SetUnits(TUnits u) {
  if (u == units_ || u > mmTWIPS) return;
  const TUnits ancienne = units_;
  if (type_ == pCustom) {
    largeur_ = ConvertUnits(largeur_, ancienne, u);
    hauteur_ = ConvertUnits(hauteur_, ancienne, u);
  } else {
    units_ = u;
    taille_standard();
  }
  Font.setPixelSize(std::max(1, ConvertUnits(Font.pixelSize(), ancienne, u)));
  units_ = u;
  if (canevas_) {
    SetCanvasMapping();
    QFont f = canevas_->font();
    if (f.pixelSize() > 0) f.setPixelSize(std::max(1, ConvertUnits(f.pixelSize(), ancienne, u)));
    canevas_->setFont(f);
    QPen pen = canevas_->pen();
    pen.setWidth(ConvertUnits(pen.width(), ancienne, u));
    canevas_->setPen(pen);
  }
}

void TPrintPreview::SetPaperType(TPaperType t) {
  if (etat_ == psCreating || t == type_ || t > pCustom) return;
  type_ = t;
  if (t == pCustom) return;
  taille_standard();
  calculer_pixels();
  UpdateZoom();
}

void TPrintPreview::cote_papier(int& cote, int v) {
  v = std::clamp(v, 1, 32767);
  if (etat_ == psCreating || v == cote) return;
  type_ = pCustom;
  cote = v;
  calculer_pixels();
  UpdateZoom();
}

void TPrintPreview::SetPaperWidth(int v) { cote_papier(largeur_, v); }

void TPrintPreview::SetPaperHeight(int v) { cote_papier(hauteur_, v); }

void TPrintPreview::SetOrientation(TPrinterOrientation o) {
  if (etat_ == psCreating || o == orientation_) return;
  orientation_ = o;
  std::swap(largeur_, hauteur_);
  std::swap(largeur_pixels_, hauteur_pixels_);
  UpdateZoom();
}

void TPrintPreview::SetZoom(int z) {
  z = std::max(1, z);
  if (z == zoom_ && etat_zoom_ == zsZoomOther) return;
  zoom_ = z;
  etat_zoom_ = zsZoomOther;
  UpdateZoom();
}

void TPrintPreview::SetZoomState(TZoomState z) { if (CtlStore(etat_zoom_, z)) UpdateZoom(); }

// ---------------------------------------------------------------- layout

QSize TPrintPreview::CalcPaperSize(int w, int h) const {
  const TPaperPreview& f = *feuille_;
  const int bords = f.Outer(0);
  auto par_largeur = [&] {
    const int page = std::max(0, MulDiv(std::max(0, w - bords), hauteur_pixels_, largeur_pixels_));
    return QSize(w, f.Outer(page));
  };
  auto par_hauteur = [&] {
    const int page = std::max(0, MulDiv(std::max(0, h - bords), largeur_pixels_, hauteur_pixels_));
    return QSize(f.Outer(page), h);
  };
  switch (etat_zoom_) {
    case zsZoomOther:
      return QSize(f.Outer(std::max(0, MulDiv(largeur_pixels_, zoom_, 100))),
                   f.Outer(std::max(0, MulDiv(hauteur_pixels_, zoom_, 100))));
    case zsZoomToWidth: return par_largeur();
    case zsZoomToHeight: return par_hauteur();
    case zsZoomToFit:
      if (w <= 0 || static_cast<double>(h) / w <= static_cast<double>(hauteur_pixels_) / largeur_pixels_)
        return par_hauteur();
      return par_largeur();
  }
  return QSize(w, h);
}

void TPrintPreview::UpdateZoom() {
  if (!feuille_) return;
  // The area without scroll bars, less the margins.
  int w = contentsRect().width() - 2 * kMarge, h = contentsRect().height() - 2 * kMarge;
  if (w <= 0 || h <= 0) return;
  QScrollBar* hb = horizontalScrollBar();
  QScrollBar* vb = verticalScrollBar();
  int pct_h = 0, pct_v = 0;
  if (ZoomSavePos) {
    pct_h = std::max(0, MulDiv(hb->value(), 100, hb->maximum()));
    pct_v = std::max(0, MulDiv(vb->value(), 100, vb->maximum()));
  }
  hb->setValue(0);
  vb->setValue(0);
  QSize taille = CalcPaperSize(w, h);
  defile_h_ = taille.width() > w;
  defile_v_ = taille.height() > h;
  // A scroll bar takes its room off the area; the sheet is sized again for
  // what is left and the other direction tested against that new size.
  const int barre = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  if (defile_h_) {
    h -= barre;
    taille = CalcPaperSize(w, std::max(1, h));
    defile_v_ = taille.height() > h;
    if (defile_v_) w -= barre;
  } else if (defile_v_) {
    w -= barre;
    taille = CalcPaperSize(std::max(1, w), h);
    defile_h_ = taille.width() > w;
    if (defile_h_) h -= barre;
  }
  if (defile_h_ || defile_v_) taille = CalcPaperSize(std::max(1, w), std::max(1, h));
  setHorizontalScrollBarPolicy(defile_h_ ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(defile_v_ ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int gauche = kMarge + (defile_h_ ? 0 : (w - taille.width()) / 2);
  const int haut = kMarge + (defile_v_ ? 0 : (h - taille.height()) / 2);
  const QSize contenu(defile_h_ ? taille.width() + 2 * kMarge : w + 2 * kMarge,
                      defile_v_ ? taille.height() + 2 * kMarge : h + 2 * kMarge);
  fond_->resize(contenu);
  feuille_->setGeometry(gauche, haut, taille.width(), taille.height());
  // The ranges as the scroll area sets them once it has seen the new size.
  hb->setRange(0, std::max(0, contenu.width() - (w + 2 * kMarge)));
  vb->setRange(0, std::max(0, contenu.height() - (h + 2 * kMarge)));
  if (ZoomSavePos) {
    if (defile_h_) hb->setValue(MulDiv(pct_h, hb->maximum(), 100));
    if (defile_v_) vb->setValue(MulDiv(pct_v, vb->maximum(), 100));
  }
  feuille_->setCursor(defile_h_ || defile_v_ ? options_.DragCursor() : options_.Cursor());
}

void TPrintPreview::resizeEvent(QResizeEvent* e) {
  QScrollArea::resizeEvent(e);
  UpdateZoom();
}

void TPrintPreview::appliquer_options() {
  feuille_->PaperColor = options_.PaperColor();
  feuille_->BorderColor = options_.BorderColor();
  feuille_->BorderSize = options_.BorderWidth();
  feuille_->ShadowColor = options_.ShadowColor();
  feuille_->ShadowSize = options_.ShadowWidth();
  feuille_->setContextMenuPolicy(options_.PopupMenu() ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
  QObject::disconnect(feuille_, &QWidget::customContextMenuRequested, nullptr, nullptr);
  if (QMenu* m = options_.PopupMenu())
    QObject::connect(feuille_, &QWidget::customContextMenuRequested, m,
                     [this, m](const QPoint& pos) { m->popup(feuille_->mapToGlobal(pos)); });
  UpdateZoom();
  feuille_->Prepare();
}

// ---------------------------------------------------------------- pages

void TPrintPreview::pages_changees() {
  if (TotalPages() == 0) {
    page_courante_ = 0;
    feuille_->hide();
  } else if (page_courante_ == 0) {
    page_courante_ = 1;
    feuille_->show();
  }
  feuille_->Prepare();
  if (OnChange) OnChange();
}

void TPrintPreview::SetCurrentPage(int p) {
  if (TotalPages() == 0) return;
  p = std::clamp(p, 1, TotalPages());
  if (!CtlStore(page_courante_, p)) return;
  feuille_->Prepare();
  if (OnChange) OnChange();
}

namespace {

// Draws a recorded page stretched into `cible`. A QPicture plays itself back
// enlarged by the ratio of the device's resolution to its own; the scale
// takes that ratio off. False when the page is empty.
bool rejouer_page(QPainter& p, const QPicture& page, const QRect& cible) {
  const QRect b = page.boundingRect();
  const QPaintDevice* d = p.device();
  if (page.isNull() || b.width() < 1 || b.height() < 1 || !d || d->logicalDpiX() < 1 || d->logicalDpiY() < 1)
    return false;
  p.save();
  p.translate(cible.topLeft());
  p.scale(static_cast<double>(cible.width()) / b.width() * page.logicalDpiX() / d->logicalDpiX(),
          static_cast<double>(cible.height()) / b.height() * page.logicalDpiY() / d->logicalDpiY());
  p.drawPicture(0, 0, page);
  p.restore();
  return true;
}

}  // namespace

void TPrintPreview::PaintPage(QPainter& p, const QRect& r) {
  if (page_courante_ < 1 || page_courante_ > TotalPages()) return;
  rejouer_page(p, pages_.GetMetaFile(page_courante_ - 1), r);
}

// ---------------------------------------------------------------- recording

void TPrintPreview::SetCanvasMapping() {
  canevas_->setWindow(0, 0, largeur_, hauteur_);
  canevas_->setViewport(0, 0, largeur_pixels_, hauteur_pixels_);
}

void TPrintPreview::CreateMetafileCanvas() {
  page_ = std::make_unique<QPicture>();
  canevas_ = std::make_unique<QPainter>();
  if (!canevas_->begin(page_.get())) {
    canevas_.reset();
    page_.reset();
    throw PreviewError(kPasDeMemoire);
  }
  SetCanvasMapping();
  canevas_->setFont(Font);
}

void TPrintPreview::DestroyMetafileCanvas() {
  const bool fini = canevas_->end();
  canevas_.reset();
  if (!fini) {
    page_.reset();
    throw PreviewError(kPasDeMemoire);
  }
  page_->setBoundingRect(QRect(0, 0, largeur_pixels_, hauteur_pixels_));
}

void TPrintPreview::BeginDoc() {
  if (etat_ == psCreating) return;
  pages_.Clear();
  interrompu_ = false;
  etat_ = psCreating;
  if (OnBeginDoc) OnBeginDoc();
  NewPage();
}

void TPrintPreview::NewPage() {
  if (etat_ != psCreating) return;
  if (canevas_) {
    DestroyMetafileCanvas();
    std::unique_ptr<QPicture> page = std::move(page_);
    pages_.Add(*page);
  }
  CreateMetafileCanvas();
  if (OnNewPage) OnNewPage();
}

void TPrintPreview::EndDoc() {
  if (etat_ != psCreating) return;
  if (canevas_) {
    DestroyMetafileCanvas();
    std::unique_ptr<QPicture> page = std::move(page_);
    pages_.Add(*page);
  }
  if (OnEndDoc) OnEndDoc();
  etat_ = psReady;
}

QPainter* TPrintPreview::GetCanvas() {
  if (etat_ == psCreating && canevas_) return canevas_.get();
  return canevas_impression_;
}

// ---------------------------------------------------------------- keyboard and mouse

void TPrintPreview::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers m =
      e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool ctrl = m == Qt::ControlModifier;
  if (m != Qt::NoModifier && !ctrl) return QScrollArea::keyPressEvent(e);
  QScrollBar* hb = horizontalScrollBar();
  QScrollBar* vb = verticalScrollBar();
  switch (e->key()) {
    case Qt::Key_Home: (ctrl ? vb : hb)->setValue(0); break;
    case Qt::Key_End: (ctrl ? vb : hb)->setValue((ctrl ? vb : hb)->maximum()); break;
    case Qt::Key_Left: hb->setValue(hb->value() - (ctrl ? viewport()->width() : hb->singleStep())); break;
    case Qt::Key_Right: hb->setValue(hb->value() + (ctrl ? viewport()->width() : hb->singleStep())); break;
    case Qt::Key_Up: vb->setValue(vb->value() - (ctrl ? viewport()->height() : vb->singleStep())); break;
    case Qt::Key_Down: vb->setValue(vb->value() + (ctrl ? viewport()->height() : vb->singleStep())); break;
    case Qt::Key_PageDown: SetCurrentPage(ctrl ? TotalPages() : CurrentPage() + 1); break;
    case Qt::Key_PageUp: SetCurrentPage(ctrl ? 1 : CurrentPage() - 1); break;
    default: return QScrollArea::keyPressEvent(e);
  }
  e->accept();
}

void TPrintPreview::souris_pressee(QMouseEvent* e) {
  if (!hasFocus() && focusPolicy() != Qt::NoFocus && isEnabled()) setFocus(Qt::MouseFocusReason);
  appui_ = e->position().toPoint();
}

// Dragging the sheet scrolls by the mouse's displacement from the press.
void TPrintPreview::souris_bougee(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  const QPoint d = e->position().toPoint() - appui_;
  if (defile_h_) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - d.x());
  if (defile_v_) verticalScrollBar()->setValue(verticalScrollBar()->value() - d.y());
}

// ---------------------------------------------------------------- printing

namespace {

bool imprimante_disponible(const QPrinter* p) {
  if (!p) return false;
  return p->outputFormat() == QPrinter::PdfFormat || !QPrinterInfo::availablePrinterNames().isEmpty();
}

}  // namespace

void TPrintPreview::SetPrinterOptions() {
  if (!imprimante_disponible(imprimante_)) return;
  if (imprimante_->outputFormat() == QPrinter::NativeFormat && !imprimante_->isValid())
    imprimante_->setPrinterName(QPrinterInfo::defaultPrinterName());
  int l, h;  // portrait, in 0.1 mm
  QPageSize::PageSizeId id = QPageSize::Custom;
  if (type_ != pCustom) {
    l = kPapiers[type_].largeur;
    h = kPapiers[type_].hauteur;
    id = QPageSize::id(kPapiers[type_].code);
  } else {
    l = ConvertUnits(largeur_, units_, mmLoMetric);
    h = ConvertUnits(hauteur_, units_, mmLoMetric);
    if (orientation_ == poLandscape) std::swap(l, h);
  }
  const QPageSize taille = id != QPageSize::Custom
                               ? QPageSize(id)
                               : QPageSize(QSizeF(std::max(1, l) / 10.0, std::max(1, h) / 10.0),
                                           QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
  imprimante_->setPageSize(taille);
  imprimante_->setPageOrientation(orientation_ == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void TPrintPreview::DoProgress(int page, int done, int total) {
  bool abandon = interrompu_;
  if (OnPrintProgress) OnPrintProgress(page, MulDiv(100, done, total), abandon);
  QCoreApplication::processEvents();
  if (abandon || (imprimante_ && imprimante_->printerState() == QPrinter::Aborted)) {
    interrompu_ = true;
    throw EAbortPrint();
  }
}

void TPrintPreview::imprimer_page(QPainter& p, int page, const QRect& cible) {
  const QPicture& image = pages_.GetMetaFile(page - 1);
  const QRect b = image.boundingRect();
  if (image.isNull() || b.width() < 1 || b.height() < 1) throw PreviewError("A recorded page cannot be read back");
  if (FastPrint) {
    rejouer_page(p, image, cible);
    return;
  }
  QImage bitmap(b.size(), QImage::Format_RGB32);
  bitmap.fill(Qt::white);
  QPainter pb(&bitmap);
  rejouer_page(pb, image, b);
  pb.end();
  p.drawImage(cible, bitmap);
}

void TPrintPreview::signaler(const QString& message) {
  if (OnPrintError) OnPrintError(message);
  else QMessageBox::warning(this, QApplication::applicationName(), message);
}

// Opens the document on the printer and prints pages from..to over the whole sheet.
void TPrintPreview::imprimer_pages(QPainter& p, int from, int to) {
  imprimante_->setDocName(PrintJobTitle);
  if (!p.begin(imprimante_)) throw PreviewError("The printer cannot start the document");
  canevas_impression_ = &p;
  const int res = imprimante_->resolution();
  const QRect dessin = imprimante_->pageLayout().paintRectPixels(res);
  const QRect feuille = imprimante_->pageLayout().fullRectPixels(res);
  const QRect cible(-dessin.left(), -dessin.top(), feuille.width(), feuille.height());
  const int total = to - from + 1;
  for (int page = from; page <= to; ++page) {
    DoProgress(page, page - from, total);
    imprimer_page(p, page, cible);
    DoProgress(page, page - from + 1, total);
    if (page < to) imprimante_->newPage();
  }
}

// A PDF is written to a temporary file first and copied over its target only
// when the run completes, so an aborted or failed run leaves the target as it
// was; a target that may not be written is refused before anything is made.
QString TPrintPreview::pdf_provisoire(const QString& cible) {
  const Echec refus = refus_ecriture(QFile::encodeName(cible).toStdString());
  if (!refus.empty()) throw PreviewError("The PDF file cannot be written: " + refus);
  QTemporaryFile f(QDir::tempPath() + "/quorvel-print-XXXXXX.pdf");
  f.setAutoRemove(false);
  if (!f.open()) throw PreviewError("No temporary file for the printed pages");
  imprimante_->setOutputFileName(f.fileName());
  return f.fileName();
}

void TPrintPreview::terminer_pdf(const QString& provisoire, const QString& cible) {
  imprimante_->setOutputFileName(cible);
  if (provisoire.isEmpty()) return;
  if (!interrompu_) {
    const Echec e =
        copier_fichier(QFile::encodeName(provisoire).toStdString(), QFile::encodeName(cible).toStdString());
    if (!e.empty()) {
      interrompu_ = true;
      signaler("The PDF file cannot be written: " + QString::fromStdString(e));
    }
  }
  QFile::remove(provisoire);
}

void TPrintPreview::PrintPages(int from, int to) {
  const int total_pages = TotalPages();
  if (etat_ != psReady || total_pages == 0 || !imprimante_disponible(imprimante_)) return;
  from = std::clamp(from, 1, total_pages);
  to = std::clamp(to, 1, total_pages);
  if (from > to) return;
  etat_ = psPrinting;
  interrompu_ = false;
  const bool pdf = imprimante_->outputFormat() == QPrinter::PdfFormat;
  const QString cible_pdf = imprimante_->outputFileName();
  QString provisoire;
  QPainter p;
  try {
    if (OnBeforePrint) OnBeforePrint();
    SetPrinterOptions();
    if (pdf) provisoire = pdf_provisoire(cible_pdf);
    imprimer_pages(p, from, to);
  } catch (const EAbortPrint&) {
    interrompu_ = true;
  } catch (const std::exception& e) {
    interrompu_ = true;
    signaler(QString::fromUtf8(e.what()));
  }
  if (interrompu_ && p.isActive()) imprimante_->abort();
  if (p.isActive()) p.end();
  canevas_impression_ = nullptr;
  if (pdf) terminer_pdf(provisoire, cible_pdf);
  if (interrompu_ && OnAbort) OnAbort();
  if (!interrompu_ && OnAfterPrint) OnAfterPrint();
  imprimante_->setDocName(QString());
  etat_ = psReady;
}

}  // namespace components
