#include "fenetres/elements_pages.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <algorithm>

#include "fenetres/rendu.h"
#include "controls/mirror.h"

namespace fenetres {

// ---------------------------------------------------------------- scroll codes

AdaptateurDefilement::AdaptateurDefilement(QScrollBar* barre) : QObject(barre), barre_(barre) {
  barre->installEventFilter(this);
  connect(barre, &QAbstractSlider::actionTriggered, this, &AdaptateurDefilement::action);
  connect(barre, &QAbstractSlider::sliderReleased, this, [this] {
    pas_en_cours_ = false;
    emit defilement(kPouceLache, barre_->value());
    emit defilement(kFinDefilement, barre_->value());
  });
}

void AdaptateurDefilement::action(int a) {
  // The slider position already holds the new place; the value follows after.
  const int p = barre_->sliderPosition();
  int code = -1;
  switch (a) {
    case QAbstractSlider::SliderSingleStepSub: code = kLigneHaut; break;
    case QAbstractSlider::SliderSingleStepAdd: code = kLigneBas; break;
    case QAbstractSlider::SliderPageStepSub: code = kPageHaut; break;
    case QAbstractSlider::SliderPageStepAdd: code = kPageBas; break;
    case QAbstractSlider::SliderToMinimum: code = kDebut; break;
    case QAbstractSlider::SliderToMaximum: code = kFin; break;
    case QAbstractSlider::SliderMove: code = kPouceBouge; break;
    default: return;
  }
  if (code == kPouceBouge && !barre_->isSliderDown()) {
    // The wheel moves the bar in one go: a step and its end.
    roue_ = true;
    emit defilement(p < barre_->value() ? kLigneHaut : kLigneBas, p);
    emit defilement(kFinDefilement, p);
    roue_ = false;
    return;
  }
  if (code != kPouceBouge) pas_en_cours_ = true;
  emit defilement(code, p);
}

void AdaptateurDefilement::fin_pas() {
  if (!pas_en_cours_) return;
  pas_en_cours_ = false;
  emit defilement(kFinDefilement, barre_->value());
}

bool AdaptateurDefilement::eventFilter(QObject*, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease) fin_pas();
  if (e->type() == QEvent::KeyRelease && !static_cast<QKeyEvent*>(e)->isAutoRepeat()) fin_pas();
  return false;
}

QScrollBar* barre_defilement(QWidget* parent, Qt::Orientation sens, int min, int max, int ligne, int page,
                             AdaptateurDefilement** adaptateur) {
  auto* b = new QScrollBar(sens, parent);
  b->setRange(min, max);
  b->setSingleStep(ligne);
  b->setPageStep(page);
  auto* a = new AdaptateurDefilement(b);
  if (adaptateur) *adaptateur = a;
  return b;
}

// ---------------------------------------------------------------- PreviewBox

PreviewBox::PreviewBox(QWidget* parent, int largeur, int hauteur) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(largeur, hauteur);
  image_.reset(largeur, hauteur, render::pixel_rgb(255, 255, 255));
  minuterie_.setSingleShot(true);
  minuterie_.setInterval(0);
  connect(&minuterie_, &QTimer::timeout, this, &PreviewBox::calculer);
}

void PreviewBox::invalidate() {
  sale_ = true;
  if (!minuterie_.isActive()) minuterie_.start();
}

void PreviewBox::calculer() {
  if (!sale_) return;
  sale_ = false;
  minuterie_.stop();
  if (image_.width() != width() || image_.height() != height())
    image_.reset(width(), height(), render::pixel_rgb(255, 255, 255));
  if (rendu_) rendu_(image_);
  update();
}

void PreviewBox::resizeEvent(QResizeEvent*) {
  if (image_.width() != width() || image_.height() != height()) invalidate();
}

void PreviewBox::paintEvent(QPaintEvent*) {
  MarqueurPeinture marqueur;
  QPainter p(this);
  if (image_.empty()) return;
  const QImage vue(reinterpret_cast<const uchar*>(image_.surface().row(0)), image_.width(), image_.height(),
                   int(image_.surface().stride * 4), QImage::Format_RGB32);
  p.drawImage(0, 0, vue);
}

// ---------------------------------------------------------------- OngletsPlats

OngletsPlats::OngletsPlats(QWidget* parent)
    : QWidget(parent), barre_(new QWidget(this)), pile_(new QStackedWidget(this)) {
  // Shortcuts of the window: an edit or a list with the focus keeps its own
  // keys and lets these through.
  const std::pair<QKeyCombination, int> touches[] = {{Qt::CTRL | Qt::Key_Tab, 1},
                                                     {Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, -1},
                                                     {Qt::CTRL | Qt::Key_PageDown, 1},
                                                     {Qt::CTRL | Qt::Key_PageUp, -1}};
  for (const auto& [touche, pas] : touches) {
    auto* raccourci = new QShortcut(QKeySequence(touche), this);
    raccourci->setContext(Qt::WindowShortcut);
    connect(raccourci, &QShortcut::activated, this, [this, p = pas] { voisin(p); });
  }
}

QWidget* OngletsPlats::ajouter_page(int code, const QString& titre) {
  auto* b = new QToolButton(barre_);
  b->setText(titre);
  b->setAutoRaise(true);
  b->setFocusPolicy(Qt::NoFocus);
  connect(b, &QToolButton::clicked, this, [this, code] { choisir(code); });
  auto* page = new QWidget;
  pile_->addWidget(page);
  codes_.push_back(code);
  onglets_[code] = b;
  pages_[code] = page;
  disposer();
  return page;
}

QWidget* OngletsPlats::page(int code) const {
  auto it = pages_.find(code);
  return it == pages_.end() ? nullptr : it->second;
}

QToolButton* OngletsPlats::onglet(int code) const {
  auto it = onglets_.find(code);
  return it == onglets_.end() ? nullptr : it->second;
}

bool OngletsPlats::surligne(int code) const { return code == actif_ && onglet(code); }

void OngletsPlats::montrer(int code) {
  if (!page(code)) return;
  actif_ = code;
  pile_->setCurrentWidget(page(code));
  for (auto& [c, b] : onglets_) {
    QFont f = b->font();
    f.setBold(c == code);
    b->setFont(f);
    b->setStyleSheet(c == code ? "background-color: #ffffc0; color: #800000;" : "");
  }
}

void OngletsPlats::choisir(int code) {
  montrer(code);
  emit change(code);
}

void OngletsPlats::voisin(int pas) {
  const auto n = static_cast<std::ptrdiff_t>(codes_.size());
  std::ptrdiff_t i = std::find(codes_.begin(), codes_.end(), actif_) - codes_.begin();
  std::ptrdiff_t autres = n - 1;
  if (i == n) {  // no page shown yet: every tab from the first (or the last) is a candidate
    i = pas > 0 ? -1 : n;
    autres = n;
  }
  for (std::ptrdiff_t k = 1; k <= autres; ++k) {
    const int code = codes_[std::size_t(((i + k * pas) % n + n) % n)];
    const QToolButton* b = onglet(code);
    if (b->isEnabled() && !b->isHidden()) return choisir(code);
  }
}

void OngletsPlats::resizeEvent(QResizeEvent*) { disposer(); }

void OngletsPlats::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::LayoutDirectionChange) disposer();
}

void OngletsPlats::disposer() {
  const int h = 22;
  int x = 0;
  for (int c : codes_) {
    QToolButton* b = onglets_[c];
    const int w = b->fontMetrics().horizontalAdvance(b->text()) + 24;
    // Read right to left, the first tab stands at the right.
    b->setGeometry(isRightToLeft() ? CtlMirroredLeft(width(), x, w) : x, 0, w, h);
    x += w;
  }
  barre_->setGeometry(0, 0, width(), h);
  pile_->setGeometry(0, h, width(), std::max(0, height() - h));
}

// ---------------------------------------------------------------- HautBas

HautBas::HautBas(QWidget* parent) : QWidget(parent), haut_(new QToolButton(this)), bas_(new QToolButton(this)) {
  haut_->setArrowType(Qt::UpArrow);
  bas_->setArrowType(Qt::DownArrow);
  connect(haut_, &QToolButton::clicked, this, [this] { pas(1); });
  connect(bas_, &QToolButton::clicked, this, [this] { pas(-1); });
}

void HautBas::fixer_bornes(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
}

void HautBas::fixer_position(int p) { position_ = std::clamp(p, min_, max_); }

void HautBas::pas(int d) {
  if (!isEnabled()) return;
  position_ = std::clamp(position_ + d, min_, max_);
  emit clic(position_);
}

void HautBas::resizeEvent(QResizeEvent*) {
  const int h = height() / 2;
  haut_->setGeometry(0, 0, width(), h);
  bas_->setGeometry(0, h, width(), height() - h);
}

}  // namespace fenetres
