// The mountain card: the small child window that stands for one open
// mountain (mesh size, distortion, number of views, file status, memo and the
// aerial-picture box); its pop-up menu and buttons send requests to the main
// window. The labels are written when the data changes, never in a paint.
#pragma once

#include <QDateTime>
#include <QString>

#include "fenetres/fenetres.h"

class CtlCheckBox;
class CtlPanelFill;
class CtlShapeButton;
class QLabel;
class QMenu;
class QPlainTextEdit;

// "March 5, 2024, Tue" and "02:07 pm": English names whatever the locale.
QString texte_date(const QDateTime& d);
QString texte_heure(const QDateTime& d);
// The first line of the card.
QString texte_maillage(int degre, bool deformation, int vues);
// The warning shown when typed or pasted characters could not be kept.
QString message_memo_remplaces(const QString& remplaces);

class TMatricewindow : public CarteMontagne {
  Q_OBJECT
 public:
  explicit TMatricewindow(QWidget* parent = nullptr);
  void initialiser_fiche(platform::WindowHandle proprietaire, bool a_fichier, long long date) override;
  void marquer_sauvee(long long date) override;
  void marquer_sans_fichier() override;
  void montrer_terrain(int degre, bool deformation) override;
  void prendre_saisie() override;
  bool saisie_en_cours() const override;
  void reprendre_fermeture() override;
  void BitBtn1Click();  // shows the memo
  void BitBtn2Click();  // hides it

  std::uint8_t fermeture_commencee = 0;
  QString texte_etat;

  CtlPanelFill* Panneau;
  QLabel *Label1, *Label2;
  CtlShapeButton *BitBtn1, *BitBtn2, *BitBtn3;
  QPlainTextEdit* Memo1;
  CtlCheckBox* checkbox_photo;
  QMenu* menu() const { return menu_; }
  // How the card's clock reads a date (seconds since the epoch); tests replace it.
  static QDateTime date_locale(long long secondes);

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void hauteur(int h);
  void prendre_memo();
  // Writes the two labels from the record, the terrain and the status text.
  void actualiser();
  QMenu* menu_;
  bool memo_change_ = false;  // the memo's text changed since it was last taken
  int degre_terrain_ = 0;  // 0: no terrain seen yet, the record's degree is shown
  bool deformation_terrain_ = false;
};
