#include "app/carte.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "app/table_commandes.h"
#include "model/interfaces.h"
#include "fenetres/aide_enfants.h"
#include "fenetres/donnees_images.h"
#include "fenetres/fonds.h"
#include "fenetres/page_de_code_qt.h"
#include "controls/checkbox.h"
#include "controls/panelfill.h"
#include "controls/shapebutton.h"

QString texte_date(const QDateTime& d) {
  static const char* const mois[] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
  static const char* const jours[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  const QDate j = d.date();
  return QString("%1 %2, %3, %4").arg(mois[j.month() - 1]).arg(j.day()).arg(j.year()).arg(jours[j.dayOfWeek() - 1]);
}

QString texte_heure(const QDateTime& d) {
  const int h = d.time().hour();
  int h12 = h % 12;
  if (h12 == 0) h12 = 12;
  return QString("%1:%2 %3")
      .arg(h12, 2, 10, QChar('0'))
      .arg(d.time().minute(), 2, 10, QChar('0'))
      .arg(h < 12 ? "am" : "pm");
}

QString texte_maillage(int degre, bool deformation, int vues) {
  QString t = "-   Mesh size=" + QString::number(degre);
  if (deformation) t += QString(" ") + " Horizontal Distorsion";
  if (vues > 0) t += "   ( " + QString::number(vues) + "  Relief=" + (vues > 1 ? "s" : "") + " ) ";
  return t;
}

QDateTime TMatricewindow::date_locale(long long secondes) { return QDateTime::fromSecsSinceEpoch(secondes); }

TMatricewindow::TMatricewindow(QWidget* parent) : CarteMontagne(parent) {
  resize(544, 151);
  const TData* data = TData::Instance();
  Panneau = new CtlPanelFill(this);
  Panneau->setGeometry(0, 0, 544, 151);
  Panneau->Bevel().SetStyleOuter(bvRaised);
  fond_carrele(*Panneau, images::kCardTile);
  // A click on the card's body brings it forward; the keyboard stays where it was in it.
  Panneau->setFocusPolicy(Qt::NoFocus);
  Label1 = new QLabel(Panneau);
  Label1->move(8, 2);
  Label2 = new QLabel(Panneau);
  Label2->move(104, 32);
  auto bouton = [this](const char* texte, const char* indication, QRect r) {
    auto* b = new CtlShapeButton(Panneau);
    b->setGeometry(r);
    b->Shape().SetShape(stRoundRect);
    b->Shape().SetRoundPercent(100);
    b->Shape().Shadow.SetDepth(2);
    b->Shape().Bevel.SetWidth(1);
    b->Colors().SetUp(CtlRgb(224, 220, 200));
    b->Colors().SetMouseOver(CtlRgb(240, 236, 160));
    b->Colors().SetDown(CtlRgb(200, 196, 176));
    b->Colors().SetOptionSet(CtlRgb(200, 196, 176));
    b->Recalc();
    b->SetCaption(texte);
    b->setToolTip(indication);
    return b;
  };
  BitBtn1 = bouton("&Memo", "To type a memo text", QRect(16, 24, 81, 23));
  BitBtn2 = bouton("&OK", "Save the text", QRect(16, 24, 81, 23));
  BitBtn2->hide();
  BitBtn3 = bouton("&Edition", "Open an edition window", QRect(448, 24, 81, 23));
  Memo1 = new QPlainTextEdit(Panneau);
  Memo1->setGeometry(9, 56, 528, 89);
  Memo1->installEventFilter(this);
  connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { memo_change_ = true; });
  checkbox_photo = new CtlCheckBox(Panneau);
  checkbox_photo->SetCaption("Picture");
  checkbox_photo->setToolTip("Allows to display imported aerial picture");
  checkbox_photo->setGeometry(450, 3, 80, 17);
  checkbox_photo->SetColor(clNone);
  if (data) checkbox_photo->SetImageList(&data->GlyphsList, 0, 0);
  connect(BitBtn1, &CtlBaseGraphicButton::clicked, this, &TMatricewindow::BitBtn1Click);
  connect(BitBtn2, &CtlBaseGraphicButton::clicked, this, &TMatricewindow::BitBtn2Click);
  connect(BitBtn3, &CtlBaseGraphicButton::clicked, this, [this] {
    code_commande = 16;
    requete_fenetre();
  });
  // Only a user's change reaches here: setting Checked from code raises nothing.
  connect(checkbox_photo, &CtlCheckBox::changed, this, [this] {
    modifie = 1;
    parametres().photo_aerienne = checkbox_photo->Checked() ? 1 : 0;
  });

  menu_ = new QMenu(this);
  for (const ElementSurgissant& e : menu_surgissant_carte()) {
    QAction* a = menu_->addAction(QString::fromStdString(texte_surgissant(e)));
    if (const std::uint16_t code = e.requete)
      connect(a, &QAction::triggered, this, [this, code] {
        code_commande = code;
        requete_fenetre();
      });
    if (const int sujet = e.sujet) connect(a, &QAction::triggered, this, [sujet] { afficher_sujet_aide(sujet); });
    if (e.separateur_apres) menu_->addSeparator();
  }
}

// The fill panel covers the whole client area, whatever height the card is given.
void TMatricewindow::resizeEvent(QResizeEvent* e) {
  CarteMontagne::resizeEvent(e);
  Panneau->setGeometry(rect());
}

void TMatricewindow::hauteur(int h) {
  if (QMdiSubWindow* s = sous_fenetre()) {
    const int cadre = s->height() - height();
    s->resize(s->width(), h);
    resize(width(), h - cadre);
  } else {
    resize(width(), h);
  }
}

void TMatricewindow::initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date) {
  principale = proprietaire;
  QWidget* cadre = sous_fenetre() ? static_cast<QWidget*>(sous_fenetre()) : this;
  cadre->move(1, 70 * no_matrice + 20);
  if (a_fichier) {
    const QDateTime d = date_locale(date);
    texte_etat = "   File written on " + texte_date(d) + " at " + texte_heure(d);
  } else {
    texte_etat = "       New mountain";
  }
  if (sous_fenetre()) sous_fenetre()->resize(sous_fenetre()->width() - width() + 544, sous_fenetre()->height());
  hauteur(85);
  Memo1->clear();
  nombre_vues = 0;
  for (const std::string& l : parametres().texte) {
    if (l.empty()) break;
    Memo1->appendPlainText(fenetres::texte_du_document(l));
  }
  memo_change_ = false;  // filled from the record: nothing to take
  checkbox_photo->SetChecked(parametres().photo_aerienne != 0);
  checkbox_photo->setEnabled(parametres().photo_aerienne != 0);
  actualiser();
  update();
}

void TMatricewindow::marquer_sauvee(long long date) {
  texte_etat = "   File saved today (" + texte_heure(date_locale(date)) + " )";
  actualiser();
  update();
}

void TMatricewindow::BitBtn1Click() {
  hauteur(190);
  BitBtn1->hide();
  BitBtn2->show();
  Memo1->setFocus();
}

void TMatricewindow::BitBtn2Click() {
  BitBtn2->hide();
  BitBtn1->show();
  hauteur(85);
}

void TMatricewindow::montrer_terrain(int degre, bool deformation) {
  degre_terrain_ = degre;
  deformation_terrain_ = deformation;
  actualiser();
}

// The mesh size is the terrain's own: the record may already hold the degree
// chosen for the next regeneration.
void TMatricewindow::actualiser() {
  if (fermeture_commencee) return;
  const bool terrain = degre_terrain_ > 0;
  const QString l1 = texte_maillage(terrain ? degre_terrain_ : parametres().maillage,
                                    terrain ? deformation_terrain_ : parametres().deformation != 0, nombre_vues);
  if (Label1->text() != l1) {
    Label1->setText(l1);
    Label1->adjustSize();
  }
  if (Label2->text() != texte_etat) {
    Label2->setText(texte_etat);
    Label2->adjustSize();
  }
}

void TMatricewindow::marquer_sans_fichier() {
  texte_etat = "       New mountain";
  actualiser();
  update();
}

QString message_memo_remplaces(const QString& remplaces) {
  QStringList c;
  for (const char32_t u : remplaces.toUcs4()) c << QString::fromUcs4(&u, 1);
  return "These characters cannot be written in a document and were replaced by \"?\": " + c.join(' ');
}

namespace {

// Puts "?" in place of each character of the block that a document cannot
// hold, from the end so that the positions still to come stay valid; the
// user's cursor follows the text around it.
void remplacer_dans_le_bloc(const QTextBlock& b) {
  const QString t = b.text();
  QTextCursor c(b);
  c.beginEditBlock();
  for (qsizetype i = t.size(); i-- > 0;) {
    if (fenetres::tenu_par_le_document(t.at(i))) continue;
    const qsizetype fin = i + 1;
    if (t.at(i).isLowSurrogate() && i > 0 && t.at(i - 1).isHighSurrogate()) --i;
    c.setPosition(b.position() + static_cast<int>(i));
    c.setPosition(b.position() + static_cast<int>(fin), QTextCursor::KeepAnchor);
    c.insertText(QStringLiteral("?"));
  }
  c.endEditBlock();
}

}  // namespace

// Memo lines 0 to 10 become the comment lines; the card is modified only when
// one of them changed. What the document cannot hold turns into "?" in the
// memo as well, so that the memo shows what will be saved, and the user is
// told once.
void TMatricewindow::prendre_memo() {
  QTextDocument* d = Memo1->document();
  QString remplaces;
  bool change = false;
  for (int k = 0; k < 11; ++k) {
    const QTextBlock b = d->findBlockByNumber(k);
    QString r;
    std::string ligne = b.isValid() ? fenetres::octets_du_document(b.text(), &r) : "";
    std::string& texte = parametres().texte[static_cast<std::size_t>(k)];
    if (ligne != texte) {
      texte = std::move(ligne);
      change = true;
    }
    if (r.isEmpty()) continue;
    remplacer_dans_le_bloc(b);
    for (const char32_t u : r.toUcs4())
      if (!remplaces.contains(QString::fromUcs4(&u, 1))) remplaces += QString::fromUcs4(&u, 1);
  }
  memo_change_ = false;  // the "?" put in above is the text just taken
  if (change) modifie = 1;
  if (!remplaces.isEmpty()) warn(message_memo_remplaces(remplaces).toStdString(), "Memo");
}

void TMatricewindow::prendre_saisie() {
  if (memo_change_) prendre_memo();
}

// The memo is its window's focus child, which gets the keyboard back when the
// window is active again. The application's focus would not do: it is nobody
// while another program is active, and a box's control while a box is up.
bool TMatricewindow::saisie_en_cours() const {
  return !BitBtn2->isHidden() && Memo1->window()->focusWidget() == Memo1;
}

// Every key released in the memo takes its text; a key that changed nothing
// (F3 that saved it, an arrow) changes nothing.
bool TMatricewindow::eventFilter(QObject* o, QEvent* e) {
  if (o == Memo1 && e->type() == QEvent::KeyRelease) prendre_saisie();
  return CarteMontagne::eventFilter(o, e);
}

void TMatricewindow::closeEvent(QCloseEvent* e) {
  fermeture_commencee = 1;
  CarteMontagne::closeEvent(e);
  if (!fermeture_autorisee) fermeture_commencee = 0;
}

void TMatricewindow::reprendre_fermeture() {
  CarteMontagne::reprendre_fermeture();
  fermeture_commencee = 0;
  actualiser();
}

void TMatricewindow::contextMenuEvent(QContextMenuEvent* e) { menu_->popup(e->globalPos()); }

void TMatricewindow::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_F1) {
    afficher_sujet_aide(4006);
    return;
  }
  CarteMontagne::keyPressEvent(e);
}

void TMatricewindow::mousePressEvent(QMouseEvent* e) {
  if (aide_contextuelle) afficher_sujet_aide(4006);
  CarteMontagne::mousePressEvent(e);
}
