// The main window's caption and its pop-up menu (the window menu that the
// desktop's title bar would give: restore, move, size, minimise, maximise, close).
#include "app/legende_principale.h"

#include <QMainWindow>
#include <QMenu>
#include <QTimer>

#include "components/legende.h"

components::TRxGradientCaption* poser_legende_principale(QMainWindow* fenetre) {
  using namespace components;
  if (TRxGradientCaption::SystemMoveAvailable()) fenetre->setWindowFlag(Qt::FramelessWindowHint);
  auto* legende = new TRxGradientCaption(fenetre);
  legende->SetFormBorderStyle(bsSizeable);
  legende->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  QFont police;
  // Where the desktop lacks the font, the plain bold sans reads better than
  // whatever the font matcher would put in its place.
  police.setFamilies({"Comic Sans MS", "DejaVu Sans", "Sans Serif"});
  police.setPixelSize(11);
  police.setBold(true);
  legende->SetFont({police, clYellow});
  legende->SetFontInactiveColor(clInactiveCaption);
  legende->SetStartColor(clGreen);
  // The text last: the strip is drawn again at each setting, and measured
  // only once there is a text (the desktop's title font is then never looked up).
  legende->SetFormCaption("Quorvel v3.1");

  auto* menu = new QMenu(fenetre);
  QAction* restaurer = menu->addAction("&Restore", fenetre, &QWidget::showNormal);
  // Move and Size hand the window to the window manager's keyboard move and
  // size once the menu has gone, as the desktop's window menu does.
  QAction* deplacer = menu->addAction("&Move", legende, [legende] {
    QTimer::singleShot(0, legende, [legende] { legende->StartKeyboardMove(); });
  });
  QAction* dimensionner = menu->addAction("&Size", legende, [legende] {
    QTimer::singleShot(0, legende, [legende] { legende->StartKeyboardSize(); });
  });
  menu->addAction("Mi&nimize", fenetre, &QWidget::showMinimized);
  QAction* agrandir = menu->addAction("Ma&ximize", fenetre, &QWidget::showMaximized);
  menu->addSeparator();
  menu->addAction("&Close", fenetre, &QWidget::close);
  QObject::connect(menu, &QMenu::aboutToShow, fenetre, [fenetre, restaurer, deplacer, dimensionner, agrandir] {
    const bool agrandie = fenetre->isMaximized();
    restaurer->setEnabled(agrandie);
    deplacer->setEnabled(!agrandie);
    dimensionner->setEnabled(!agrandie);
    agrandir->setEnabled(!agrandie);
  });
  legende->SetPopupMenu(menu);
  fenetre->setWindowTitle(legende->FormCaption());
  return legende;
}
