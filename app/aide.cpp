#include "app/aide.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Headings of the contents page, in their order.
constexpr const char* kGroupes[] = {"Getting started", "Commands of the main window", "Windows",
                                    "Mountain dialogs", "View options", "Map editor"};

QString titre(int n) { return QString::fromUtf8(help_topics().at(n).title); }

QString texte_brut(int n) {
  return QTextDocumentFragment::fromHtml(QString::fromUtf8(help_topics().at(n).text)).toPlainText();
}

void trier_par_titre(std::vector<int>& sujets) {
  std::stable_sort(sujets.begin(), sujets.end(),
                   [](int a, int b) { return titre(a).compare(titre(b), Qt::CaseInsensitive) < 0; });
}

}  // namespace

const char* help_group(int n) {
  if (n == 4040 || n == 5014) return kGroupes[0];
  if ((n > 5000 && n < 5100 && n != 5010) || n == 4016) return kGroupes[1];
  if (n >= 200 && n < 300) return kGroupes[3];
  if (n >= 300 && n < 400) return kGroupes[4];
  if (n == 4008 || n == 4009 || (n >= 4020 && n < 4050)) return kGroupes[5];
  return kGroupes[2];
}

std::vector<int> find_help_topics(const QString& text) {
  const QString mot = text.trimmed();
  std::vector<int> dans_titre, dans_texte;
  for (const auto& [n, t] : help_topics()) {
    if (titre(n).contains(mot, Qt::CaseInsensitive)) dans_titre.push_back(n);
    else if (texte_brut(n).contains(mot, Qt::CaseInsensitive)) dans_texte.push_back(n);
  }
  trier_par_titre(dans_titre);
  trier_par_titre(dans_texte);
  dans_titre.insert(dans_titre.end(), dans_texte.begin(), dans_texte.end());
  return dans_titre;
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle("Quorvel Help");
  resize(560, 460);
  contents_btn_ = new QPushButton("&Contents");
  index_btn_ = new QPushButton("&Index");
  back_btn_ = new QPushButton("&Back");
  for (QPushButton* b : {contents_btn_, index_btn_, back_btn_}) b->setAutoDefault(false);
  contents_btn_->setToolTip("The list of every topic, by subject");
  index_btn_->setToolTip("Find a topic by its title or by a word it uses");
  back_btn_->setToolTip("The page shown before this one");
  connect(contents_btn_, &QPushButton::clicked, this, &HelpViewer::ShowContents);
  connect(index_btn_, &QPushButton::clicked, this, &HelpViewer::ShowFinder);
  connect(back_btn_, &QPushButton::clicked, this, &HelpViewer::Back);
  auto* boutons = new QHBoxLayout;
  boutons->setContentsMargins(6, 6, 6, 0);
  boutons->addWidget(contents_btn_);
  boutons->addWidget(index_btn_);
  boutons->addWidget(back_btn_);
  boutons->addStretch();

  stack_ = new QStackedWidget(this);
  browser_ = new QTextBrowser;
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
    bool ok = false;
    const int n = url.toString().toInt(&ok);
    if (ok) ShowTopic(n);
  });

  auto* finder = new QWidget;
  auto* invite = new QLabel("&Type the first letters of a topic, or a word it uses:");
  filter_ = new QLineEdit;
  filter_->setClearButtonEnabled(true);
  invite->setBuddy(filter_);
  list_ = new QListWidget;
  display_btn_ = new QPushButton("&Display");
  display_btn_->setAutoDefault(false);
  auto* fl = new QVBoxLayout(finder);
  fl->addWidget(invite);
  fl->addWidget(filter_);
  fl->addWidget(list_);
  fl->addWidget(display_btn_, 0, Qt::AlignRight);
  connect(filter_, &QLineEdit::textChanged, this, &HelpViewer::SetFilter);
  connect(filter_, &QLineEdit::returnPressed, this, &HelpViewer::DisplayFound);
  connect(display_btn_, &QPushButton::clicked, this, &HelpViewer::DisplayFound);
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* it) { ShowTopic(it->data(Qt::UserRole).toInt()); });
  // Up and Down in the search field move through the list.
  filter_->installEventFilter(this);
  stack_->addWidget(browser_);
  stack_->addWidget(finder);

  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addLayout(boutons);
  l->addWidget(stack_);
  SetFilter({});
  Refresh();
  // Escape closes the help, from the page as from the finder's field.
  auto* echap = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  echap->setContext(Qt::WindowShortcut);
  connect(echap, &QShortcut::activated, this, &QWidget::close);
}

bool HelpViewer::eventFilter(QObject* o, QEvent* e) {
  if (o == filter_ && e->type() == QEvent::KeyPress) {
    const int touche = static_cast<QKeyEvent*>(e)->key();
    if (touche == Qt::Key_Down || touche == Qt::Key_Up || touche == Qt::Key_PageDown || touche == Qt::Key_PageUp) {
      QCoreApplication::sendEvent(list_, e);
      return true;
    }
  }
  return QWidget::eventFilter(o, e);
}

void HelpViewer::PlaceOver(QWidget* owner) {
  place_over_ = owner;
  placing_ = true;
  QScreen* ecran = owner && owner->screen() ? owner->screen() : screen();
  const QRect zone = ecran ? ecran->availableGeometry() : QRect(0, 0, 800, 600);
  // The frame the window manager adds counts: the whole window stays inside.
  const QSize cadre = frameGeometry().size() - geometry().size();
  const QSize taille = size().boundedTo(zone.size() - cadre);
  resize(taille);
  const QRect sur = owner ? owner->window()->frameGeometry() : zone;
  const QSize tout = taille + cadre;
  QPoint p = sur.center() - QPoint(tout.width() / 2, tout.height() / 2);
  p.setX(std::clamp(p.x(), zone.left(), zone.right() + 1 - tout.width()));
  p.setY(std::clamp(p.y(), zone.top(), zone.bottom() + 1 - tout.height()));
  move(p);
}

void HelpViewer::Present() {
  show();
  if (placing_) {
    PlaceOver(place_over_);
    placing_ = false;
  }
  raise();
  activateWindow();
}

void HelpViewer::Go(int page) {
  if (page_ != kNone && page_ != page) history_.push_back(page_);
  Show(page);
}

void HelpViewer::Show(int page) {
  if (page == kFinder) {
    page_ = kFinder;
    filter_->clear();
    stack_->setCurrentIndex(1);
    filter_->setFocus();
  } else if (page == kContents) {
    QString html = "<h3>Contents</h3>";
    for (const char* g : kGroupes) {
      html += QString("<p><b>%1</b></p><ul>").arg(g);
      std::vector<int> sujets;
      for (const auto& [n, t] : help_topics())
        if (help_group(n) == g) sujets.push_back(n);
      if (g != kGroupes[0]) trier_par_titre(sujets);
      for (int n : sujets) html += QString("<li><a href=\"%1\">%2</a></li>").arg(n).arg(titre(n).toHtmlEscaped());
      html += "</ul>";
    }
    ShowHtml(html, kContents);
  } else {
    const HelpTopic& t = help_topics().at(page);
    ShowHtml(QString("<h3>%1</h3>%2").arg(QString::fromUtf8(t.title).toHtmlEscaped(), QString::fromUtf8(t.text)),
             page);
  }
  Refresh();
  Present();
}

void HelpViewer::ShowHtml(const QString& html, int page) {
  page_ = page;
  browser_->setHtml(html);
  stack_->setCurrentWidget(browser_);
}

void HelpViewer::Refresh() {
  back_btn_->setEnabled(!history_.empty());
  contents_btn_->setEnabled(page_ != kContents);
  index_btn_->setEnabled(page_ != kFinder);
}

void HelpViewer::ShowTopic(int context) {
  if (!help_topics().count(context)) return ShowUnknown(context);
  Go(context);
}

void HelpViewer::ShowUnknown(int context) {
  Go(kContents);
  browser_->setHtml(QString("<p>There is no help topic number %1.</p>").arg(context) + browser_->toHtml());
}

void HelpViewer::ShowContents() { Go(kContents); }

void HelpViewer::ShowFinder() { Go(kFinder); }

void HelpViewer::Back() {
  if (history_.empty()) return;
  const int page = history_.back();
  history_.pop_back();
  Show(page);
}

void HelpViewer::SetFilter(const QString& text) {
  list_->clear();
  for (int n : find_help_topics(text)) {
    auto* it = new QListWidgetItem(titre(n), list_);
    it->setData(Qt::UserRole, n);
  }
  if (list_->count()) list_->setCurrentRow(0);
  display_btn_->setEnabled(list_->count() > 0);
}

void HelpViewer::DisplayFound() {
  QListWidgetItem* it = list_->currentItem();
  if (!it && list_->count()) it = list_->item(0);
  if (it) ShowTopic(it->data(Qt::UserRole).toInt());
}

QStringList HelpViewer::FinderTitles() const {
  QStringList out;
  for (int i = 0; i < list_->count(); ++i) out << list_->item(i)->text();
  return out;
}

QString HelpViewer::Text() const { return browser_->toPlainText(); }

void HelpViewer::closeEvent(QCloseEvent* e) {
  // A new reading starts with an empty history.
  history_.clear();
  page_ = kNone;
  QWidget::closeEvent(e);
}

void HelpViewer::Quit() { close(); }
