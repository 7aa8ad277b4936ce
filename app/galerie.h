// The view gallery "Collection": up to 16 view documents shown as thumbnails
// of their saved pictures with their mesh degree, picture size and file date.
// A double click hands the chosen document to the main window, which opens it
// as a view.
#pragma once

#include <QDateTime>
#include <QImage>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "fenetres/fenetres.h"

class QLabel;
class QScrollArea;
class Entree;

// The integer of a key line from the reader's position on: the first line
// whose first 20 bytes equal `cle`, column 21 blank, columns 22 to 33; 0 when
// the key is missing, its line is the file's last, or the value is unusable.
std::int32_t lire_cle_fichier(Entree& e, const std::string& cle);
// " of Mar 05,2024 at 02:07 pm"
QString texte_date_galerie(const QDateTime& d);

class TForm_galerie : public QWidget {
  Q_OBJECT
 public:
  // What the main window reads and writes: the chosen document, and the
  // window's help mode and closing flag (it is modeless, not an MDI child).
  std::uint8_t vue_choisie = 0;
  std::string fichier_choisi;
  std::uint8_t aide_contextuelle = 0;
  std::uint8_t fermeture = 0;  // raised by the window's own close
  platform::WindowHandle principale = 0;
  bool fermee() const { return fermeture != 0; }

  static constexpr int kEmplacements = 16;
  struct Emplacement {
    std::int32_t maillage = 0, largeur = 0, hauteur = 0, genre = 0;
    QString titre;
    QString date;
    QImage vignette;
    bool image = false;
  };

  explicit TForm_galerie(QWidget* parent = nullptr);
  void charger_vues(platform::WindowHandle proprietaire, const std::vector<std::string>& noms);

  const Emplacement& emplacement(int k) const { return emplacements_[std::size_t(k)]; }
  int nombre() const { return nombre_; }
  int choisie() const { return choisie_; }
  const std::vector<std::string>& liste() const { return liste_; }
  QString description() const;
  QWidget* boite(int k) const { return boites_[std::size_t(k)]; }
  QWidget* panneau(int k) const { return panneaux_[std::size_t(k)]; }

  void PaintBox_0Click(int k);
  void PaintBox_0DblClick(int k);
  void ScrollBox_photosClick();

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void Image_paint(int k, QWidget* boite);

  std::array<Emplacement, kEmplacements> emplacements_{};
  std::array<QWidget*, kEmplacements> panneaux_{};
  std::array<QWidget*, kEmplacements> boites_{};
  std::array<QLabel*, kEmplacements> noms_{};
  QScrollArea* ScrollBox_photos = nullptr;
  QLabel* Panel_fichier = nullptr;
  std::vector<std::string> liste_;
  int nombre_ = 0;
  int choisie_ = -1;
};
