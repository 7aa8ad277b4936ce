// The main window's menu bar. After Alt and a title's letter, Escape closes
// the menu and leaves the bar holding the keyboard on that title until a
// second Escape (or a click elsewhere) gives it back, as desktop menu bars
// do; the bar shows that title highlighted meanwhile, where styles such as
// Fusion highlight only a title whose menu is open, and the keyboard would
// otherwise be nowhere to be seen.
#pragma once

#include <QMenuBar>

class BarreMenus : public QMenuBar {
  Q_OBJECT
 public:
  using QMenuBar::QMenuBar;

 protected:
  void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
};
